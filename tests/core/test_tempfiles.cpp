#include "core/tempfiles.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "testutil.h"

namespace lumaris {
namespace {

namespace fs = std::filesystem;

// Points TMPDIR at a scratch folder for one test and puts it back after.
class TempFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* old = std::getenv("TMPDIR"))
            saved_ = old;
        ::setenv("TMPDIR", scratch_.path().c_str(), 1);
    }
    void TearDown() override {
        deleteRecordedTempFiles();
        if (saved_)
            ::setenv("TMPDIR", saved_->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    fs::path expectedFolder() const {
        return scratch_.path() / ("lumaris-" + std::to_string(::geteuid()));
    }

    test::ScratchDir scratch_;
    std::optional<std::string> saved_;
};

TEST_F(TempFilesTest, FolderIsCreatedPrivate) {
    const auto folder = tempFolder();
    ASSERT_TRUE(folder);
    EXPECT_EQ(*folder, expectedFolder());
    struct stat st {};
    ASSERT_EQ(::lstat(folder->c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0700u);
}

TEST_F(TempFilesTest, WideModeIsNarrowedWhenOurs) {
    ASSERT_EQ(::mkdir(expectedFolder().c_str(), 0777), 0);
    ASSERT_EQ(::chmod(expectedFolder().c_str(), 0777), 0);
    ASSERT_TRUE(tempFolder());
    struct stat st {};
    ASSERT_EQ(::stat(expectedFolder().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
}

TEST_F(TempFilesTest, RefusesWhatOthersCouldPlant) {
    // A symlink to a folder of our own is still refused: it could be swapped.
    const fs::path elsewhere = scratch_.path() / "elsewhere";
    fs::create_directory(elsewhere);
    fs::create_directory_symlink(elsewhere, expectedFolder());
    EXPECT_FALSE(tempFolder());
    EXPECT_EQ(makeTempFile("tmp"), "");

    fs::remove(expectedFolder());
    test::writeFile(expectedFolder().string(), "not a folder");
    EXPECT_FALSE(tempFolder());
    fs::remove(expectedFolder());

    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a folder to another user needs root";
    ASSERT_EQ(::mkdir(expectedFolder().c_str(), 0700), 0);
    ASSERT_EQ(::chown(expectedFolder().c_str(), 65534, 65534), 0);
    EXPECT_FALSE(tempFolder());
    EXPECT_EQ(makeTempFile("tmp"), "");
}

TEST_F(TempFilesTest, FilesAreUniqueRecordedAndDeleted) {
    const std::string a = makeTempFile("tmp");
    const std::string b = makeTempFile("tmp");
    const std::string c = makeTempFile("slp");
    ASSERT_FALSE(a.empty());
    EXPECT_NE(a, b);
    EXPECT_EQ(fs::path(a).parent_path(), expectedFolder());
    EXPECT_EQ(fs::path(a).extension(), ".tmp");
    EXPECT_EQ(fs::path(c).extension(), ".slp");
    EXPECT_TRUE(fs::exists(a));
    EXPECT_EQ(fs::file_size(a), 0u);
    EXPECT_EQ(recordedTempFiles(), a + "|" + b + "|" + c);

    // A file taken off the list survives the cleanup.
    unrecordTempFile(b);
    EXPECT_EQ(recordedTempFiles(), a + "|" + c);
    deleteRecordedTempFiles();
    EXPECT_EQ(recordedTempFiles(), "");
    EXPECT_FALSE(fs::exists(a));
    EXPECT_FALSE(fs::exists(c));
    EXPECT_TRUE(fs::exists(b));
    fs::remove(b);

    // An extension cannot lead out of the folder.
    EXPECT_EQ(makeTempFile("x/../../y"), "");
    EXPECT_EQ(recordedTempFiles(), "");
}

} // namespace
} // namespace lumaris
