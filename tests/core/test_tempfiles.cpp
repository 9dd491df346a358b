#include "core/tempfiles.h"

#include "core/slipdoc.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "testutil.h"

using namespace lumaris;
namespace fs = std::filesystem;

class TempFilesTest : public ::testing::Test {
  protected:
    test::TmpdirScope scratch_;
    const fs::path folder_ = scratch_.path / ("lumaris-" + std::to_string(::geteuid()));
};

TEST_F(TempFilesTest, PrivateFolderAndFilesRecordedAndDeleted) {
    EXPECT_EQ(tempFolder(), folder_);
    ASSERT_EQ(::chmod(folder_.c_str(), 0777), 0); // a wide mode on our own folder is narrowed
    const std::string a = makeTempFile("tmp"), b = makeTempFile("tmp"), c = makeTempFile("slp");
    EXPECT_EQ(fs::symlink_status(folder_).permissions(), fs::perms::owner_all);
    EXPECT_TRUE(fs::path(a).parent_path() == folder_ && a != b && c.ends_with(".slp"));
    unrecordTempFile(b); // taken off the list: survives the cleanup
    EXPECT_EQ(recordedTempFiles(), a + "|" + c);
    // Opening a slip clears away the temporary files of the last one, not itself.
    test::writeFile(c, "[Main]\r\n  CTL_Count=0\r\n");
    ASSERT_TRUE(OpenSlipFile(c));
    EXPECT_TRUE(!fs::exists(a) && fs::exists(b) && fs::exists(c) && recordedTempFiles().empty());
    EXPECT_EQ(makeTempFile("x/../../y"), ""); // an extension cannot lead out of the folder
    // The runtime folder comes first, when it is private to the user.
    const fs::path runtime = scratch_.path / "run";
    fs::create_directory(runtime);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    for (const mode_t mode : {0700, 0750}) {
        ASSERT_EQ(::chmod(runtime.c_str(), mode), 0);
        EXPECT_EQ(tempFolder(), mode == 0700 ? runtime / "lumaris" : folder_) << mode;
    }
    // An empty TMPDIR names no folder: /tmp stands for it, not the working folder.
    ::unsetenv("XDG_RUNTIME_DIR"), ::setenv("TMPDIR", "", 1);
    EXPECT_EQ(tempFolder().value_or("").parent_path(), "/tmp");
}

// A folder others could have planted is refused, left alone, and replaced for the run.
TEST_F(TempFilesTest, RefusedFolderGivesTheRunItsOwn) {
    const fs::path elsewhere = scratch_.path / "elsewhere";
    fs::create_directory(elsewhere);
    for (const std::string why : {"symbolic link", "not a folder", "another user"}) {
        if (why == "symbolic link") // to a folder of our own, still: it could be swapped
            fs::create_directory_symlink(elsewhere, folder_);
        else if (why == "not a folder")
            test::writeFile(folder_.string(), "");
        else if (::geteuid() != 0 || ::mkdir(folder_.c_str(), 0700) != 0 ||
                 ::chown(folder_.c_str(), 65534, 65534) != 0)
            continue; // giving a folder to another user needs root
        ::testing::internal::CaptureStderr();
        const fs::path run = fs::path(makeTempFile("tmp")).parent_path();
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(run.parent_path() == scratch_.path && run != folder_ &&
                    fs::is_empty(elsewhere));
        EXPECT_TRUE(std::ranges::count(said, '\n') == 1 && said.find(why) != said.npos) << said;
        cleanUpTempFiles();
        EXPECT_FALSE(fs::exists(run)) << why;
        fs::remove(folder_);
    }
}
