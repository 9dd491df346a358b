#include "core/tempfiles.h"

#include "core/slipdoc.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "testutil.h"

using namespace lumaris;
namespace fs = std::filesystem;

// Points TMPDIR at a scratch folder for one test and puts it back after.
class TempFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("TMPDIR", scratch_.path.c_str(), 1);
        ::unsetenv("XDG_RUNTIME_DIR");
    }
    void TearDown() override {
        cleanUpTempFiles();
        saved_.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", saved_.c_str(), 1);
        if (!savedRuntime_.empty())
            ::setenv("XDG_RUNTIME_DIR", savedRuntime_.c_str(), 1);
    }

    static std::string env(const char* name) { return std::getenv(name) ? std::getenv(name) : ""; }
    const std::string saved_ = env("TMPDIR"), savedRuntime_ = env("XDG_RUNTIME_DIR");
    test::ScratchDir scratch_;
    const fs::path folder_ = scratch_.path / ("lumaris-" + std::to_string(::geteuid()));
};

TEST_F(TempFilesTest, PrivateFolderAndFilesRecordedAndDeleted) {
    EXPECT_EQ(tempFolder(), folder_);
    ASSERT_EQ(::chmod(folder_.c_str(), 0777), 0); // a wide mode on our own folder is narrowed
    const std::string a = makeTempFile("tmp"), b = makeTempFile("tmp"), c = makeTempFile("slp");
    struct stat st {};
    ASSERT_EQ(::lstat(folder_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode, S_IFDIR | 0700u);
    ASSERT_FALSE(a.empty());
    EXPECT_NE(a, b);
    EXPECT_EQ(fs::path(a).parent_path(), folder_);
    EXPECT_EQ(fs::path(c).extension(), ".slp");
    EXPECT_TRUE(fs::exists(a) && fs::file_size(a) == 0); // created, so the name stays ours
    EXPECT_EQ(recordedTempFiles(), a + "|" + b + "|" + c);
    unrecordTempFile(b); // taken off the list: survives the cleanup
    EXPECT_EQ(recordedTempFiles(), a + "|" + c);
    deleteRecordedTempFiles();
    EXPECT_EQ(recordedTempFiles(), "");
    EXPECT_FALSE(fs::exists(a) || fs::exists(c));
    EXPECT_TRUE(fs::exists(b));
    EXPECT_EQ(makeTempFile("x/../../y"), ""); // an extension cannot lead out of the folder
    EXPECT_EQ(recordedTempFiles(), "");
}

// Opening a slip clears away the temporary files of the last one, but not the
// file it opens.
TEST_F(TempFilesTest, OpeningASlipDeletesTheOthers) {
    const std::string old = makeTempFile("tmp"), opened = makeTempFile("tmp");
    test::writeFile(opened, "[Main]\r\n  CTL_Count=0\r\n");
    ASSERT_TRUE(OpenSlipFile(opened));
    EXPECT_FALSE(fs::exists(old));
    EXPECT_TRUE(fs::exists(opened));
    EXPECT_EQ(recordedTempFiles(), "");
}

// The runtime folder comes first, when it is private to the user.
TEST_F(TempFilesTest, RuntimeFolderFirst) {
    const fs::path runtime = scratch_.path / "run";
    fs::create_directory(runtime);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    for (const mode_t mode : {0700, 0755}) {
        ASSERT_EQ(::chmod(runtime.c_str(), mode), 0);
        EXPECT_EQ(tempFolder(), mode == 0700 ? runtime / "lumaris" : folder_) << mode;
    }
}

// A folder others could have planted is refused: the run gets a fresh one of
// its own, says so once on stderr, and removes it at the end. The refused one
// is left as it is.
TEST_F(TempFilesTest, RefusedFolderGivesTheRunItsOwn) {
    const fs::path elsewhere = scratch_.path / "elsewhere";
    fs::create_directory(elsewhere);
    using Plant = std::function<void()>;
    std::vector<std::pair<const char*, Plant>> rows = {
        // A symlink to a folder of our own is still refused: it could be swapped.
        {"symbolic link", [&] { fs::create_directory_symlink(elsewhere, folder_); }},
        {"not a folder", [&] { test::writeFile(folder_.string(), "not a folder"); }},
    };
    if (::geteuid() == 0) // giving a folder to another user needs root
        rows.push_back({"another user", [&] {
                            ASSERT_EQ(::mkdir(folder_.c_str(), 0700), 0);
                            ASSERT_EQ(::chown(folder_.c_str(), 65534, 65534), 0);
                        }});
    for (const auto& [why, plant] : rows) {
        plant();
        ::testing::internal::CaptureStderr();
        const auto run = tempFolder();
        const std::string file = makeTempFile("tmp");
        const std::string said = ::testing::internal::GetCapturedStderr();
        ASSERT_TRUE(run) << why;
        EXPECT_EQ(run->parent_path(), scratch_.path) << why;
        EXPECT_TRUE(run->filename().string().starts_with(folder_.filename().string() + "-"));
        EXPECT_EQ(fs::path(file).parent_path(), *run) << why;
        EXPECT_EQ(std::ranges::count(said, '\n'), 1) << said;
        EXPECT_NE(said.find(why), std::string::npos) << said;
        EXPECT_TRUE(fs::is_empty(elsewhere)) << why;
        cleanUpTempFiles();
        EXPECT_FALSE(fs::exists(*run)) << why;
        fs::remove(folder_);
    }
}
