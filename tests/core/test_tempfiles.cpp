#include "core/tempfiles.h"

#include "core/slipdoc.h"

#include <cstdlib>
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
    void SetUp() override { ::setenv("TMPDIR", scratch_.path.c_str(), 1); }
    void TearDown() override {
        deleteRecordedTempFiles();
        saved_.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", saved_.c_str(), 1);
    }

    const std::string saved_ = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
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

TEST_F(TempFilesTest, RefusesWhatOthersCouldPlant) {
    // A symlink to a folder of our own is still refused: it could be swapped.
    fs::create_directory(scratch_.path / "elsewhere");
    fs::create_directory_symlink(scratch_.path / "elsewhere", folder_);
    EXPECT_FALSE(tempFolder());
    EXPECT_EQ(makeTempFile("tmp"), "");
    fs::remove(folder_);
    test::writeFile(folder_.string(), "not a folder");
    EXPECT_FALSE(tempFolder());
    fs::remove(folder_);
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a folder to another user needs root";
    ASSERT_EQ(::mkdir(folder_.c_str(), 0700), 0);
    ASSERT_EQ(::chown(folder_.c_str(), 65534, 65534), 0);
    EXPECT_FALSE(tempFolder());
}
