// Writing tmp.slp: which numbers write, and what a failed write leaves.

#include "template_test_util.h"

#include <csignal>
#include <sys/resource.h>

using namespace tpltest;
namespace tpl = lumaris::modTemplateSlips;

namespace {

using TemplateWriter = TemplateFolderTest;

std::string expectedBytes(int form) {
    std::string bytes;
    for (const auto& line : tpl::templateLines(form)) {
        bytes += lumaris::utf8ToCp1256(line) + "\r\n";
    }
    return bytes;
}

TEST_F(TemplateWriter, PathIsInsideThePrivateFolder) {
    const fs::path path = tpl::tmpSlpPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.filename(), "tmp.slp");
    EXPECT_EQ(path.parent_path(), lumaris::tempFolder().value());
    EXPECT_EQ(path.parent_path().parent_path(), base_);
}

TEST_F(TemplateWriter, NumbersWithoutTemplateWriteNothing) {
    const fs::path path = tpl::tmpSlpPath();
    const fs::path folder = path.parent_path();
    // Numbers either side of the range and the extremes of the chooser's int.
    const int numbers[] = {0, 13, -1, 2147483647, -2147483647 - 1};
    for (int n : numbers) {
        EXPECT_TRUE(tpl::templateLines(n).empty()) << n;
        tpl::SelectTempFile(n);
        EXPECT_TRUE(entries(folder).empty()) << n;
    }
    writeBytes(path, "earlier slip\r\n");
    for (int n : numbers) {
        tpl::SelectTempFile(n);
        EXPECT_EQ(readBytes(path), "earlier slip\r\n") << n;
        EXPECT_EQ(entries(folder), std::vector<std::string>{"tmp.slp"}) << n;
    }
}

TEST_F(TemplateWriter, EachWriteReplacesTheWholeFile) {
    const fs::path folder = tpl::tmpSlpPath().parent_path();
    for (int n = 1; n <= 12; ++n) {
        const std::string first = writeTemplate(n);
        EXPECT_EQ(first, expectedBytes(n)) << n;
        EXPECT_EQ(writeTemplate(n), first) << "same bytes on the second write of " << n;
    }
    // The longest template, then the shortest: no tail of the longer stays.
    writeTemplate(11);
    EXPECT_EQ(writeTemplate(9).size(), 107u);
    EXPECT_EQ(entries(folder), std::vector<std::string>{"tmp.slp"});
}

TEST_F(TemplateWriter, DirectoryInTheWayIsLeftAndNothingStrays) {
    const fs::path path = tpl::tmpSlpPath();
    fs::create_directory(path);
    writeBytes(path / "inside", "kept");
    tpl::SelectTempFile(1);
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(readBytes(path / "inside"), "kept");
    EXPECT_EQ(entries(path.parent_path()), std::vector<std::string>{"tmp.slp"});

    fs::remove_all(path);
    EXPECT_EQ(writeTemplate(1), expectedBytes(1));
}

TEST_F(TemplateWriter, WriteCutShortKeepsTheEarlierTemplate) {
    const fs::path path = tpl::tmpSlpPath();
    const std::string earlier = writeTemplate(9);

    // A file size limit makes the write of the 23374-byte template fail part
    // way, as a full disk would; the process must not die of SIGXFSZ meanwhile.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    tpl::SelectTempFile(11);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(readBytes(path), earlier);
    EXPECT_EQ(entries(path.parent_path()), std::vector<std::string>{"tmp.slp"});
    EXPECT_EQ(writeTemplate(11).size(), 23374u);
}

TEST_F(TemplateWriter, LinkAtTheTargetIsReplacedNotFollowed) {
    const fs::path path = tpl::tmpSlpPath();
    const fs::path outside = base_ / "someone-elses-file";
    writeBytes(outside, "not a slip");
    fs::create_symlink(outside, path);
    tpl::SelectTempFile(9);
    EXPECT_EQ(readBytes(outside), "not a slip");
    EXPECT_FALSE(fs::is_symlink(path));
    EXPECT_EQ(readBytes(path), expectedBytes(9));
}

TEST_F(TemplateWriter, NoTemporaryFolderWritesNothing) {
    // TMPDIR names a plain file, so no private folder can be made inside it.
    const fs::path notAFolder = base_ / "plain-file";
    writeBytes(notAFolder, "x");
    ::setenv("TMPDIR", notAFolder.c_str(), 1);
    EXPECT_TRUE(tpl::tmpSlpPath().empty());
    tpl::SelectTempFile(1);
    EXPECT_EQ(readBytes(notAFolder), "x");
    EXPECT_EQ(entries(base_), std::vector<std::string>{"plain-file"});
}

} // namespace
