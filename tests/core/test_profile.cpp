#include "core/profile.h"

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "testutil.h"

namespace lumaris {
namespace {

using test::ScratchDir;
using test::writeFile;

// Sets a file's modification time, so tests do not depend on the clock's
// granularity.
void setMtime(const std::string& path, time_t sec, long nsec) {
    const timespec times[2] = {{sec, nsec}, {sec, nsec}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(Profile, ReaderRules) {
    struct Row {
        const char* why;
        std::string ini;
        const char* section;
        const char* key;
        std::string expected;
    };
    const std::string v300(300, 'x');
    const Row rows[] = {
        {"plain", "[Main]\r\n  Ver=2\r\n", "Main", "Ver", "2"},
        {"names in any case", "[mAIN]\r\nvER=2\r\n", "MAIN", "ver", "2"},
        {"blanks before key and around value", "[S]\r\n \t k \t=  v w  \r\n", "S", "k", "v w"},
        {"double quotes stripped", "[S]\nk=\"a b\"\n", "S", "k", "a b"},
        {"single quotes stripped", "[S]\nk= 'a' \n", "S", "k", "a"},
        {"mixed quotes kept", "[S]\nk=\"a'\n", "S", "k", "\"a'"},
        {"a lone quote is kept", "[S]\nk=\"\n", "S", "k", "\""},
        {"empty quotes give empty", "[S]\nk=\"\"\n", "S", "k", ""},
        {"only the outer pair goes", "[S]\nk=\"\"a\"\"\n", "S", "k", "\"a\""},
        {"line without = ignored", "[S]\nk\nk=1\n", "S", "k", "1"},
        {"= inside the value", "[S]\nk=a=b\n", "S", "k", "a=b"},
        {"empty value", "[S]\nk=\n", "S", "k", ""},
        {"missing key", "[S]\nk=1\n", "S", "j", ""},
        {"missing section", "[S]\nk=1\n", "T", "k", ""},
        {"keys before any section belong to none", "k=1\n[S]\n", "S", "k", ""},
        {"300 bytes cut to 254", "[S]\nk=" + v300 + "\n", "S", "k", v300.substr(0, 254)},
        {"quoted 300 bytes: opening quote goes, cut to 254", "[S]\nk=\"" + v300 + "\"\n", "S", "k",
         v300.substr(0, 254)},
        {"quoted 254 bytes kept whole", "[S]\nk=\"" + v300.substr(0, 254) + "\"\n", "S", "k",
         v300.substr(0, 254)},
        {"NUL cuts the value", std::string("[S]\nk=ab\0cd\n", 12), "S", "k", "ab"},
        {"NUL right after =", std::string("[S]\nk=\0cd\n", 10), "S", "k", ""},
        {"CR only line ends", "[S]\rk=1\rj=2\r", "S", "j", "2"},
        {"LF only line ends", "[S]\nk=1\nj=2", "S", "j", "2"},
        {"no line end at all", "[S]\r\nk=last", "S", "k", "last"},
        {"repeated key: first wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
        {"repeated section: first wins", "[S]\nk=1\n[s]\nk=2\nj=3\n", "S", "k", "1"},
        {"keys of a repeated section are not seen", "[S]\nk=1\n[s]\nj=3\n", "S", "j", ""},
        {"blanks inside brackets", "[ Page ]\nk=1\n", "Page", "k", "1"},
        {"text after ] ignored", "[S] trailing\nk=1\n", "S", "k", "1"},
        {"[ without ] is a key line", "[S]\n[x=1\n", "S", "[x", "1"},
        {"Arabic bytes pass unchanged", "[S]\nk=\xD4\xDA\xC7\xD1\n", "S", "k", "\xD4\xDA\xC7\xD1"},
        {"upper-casing is ASCII only", "[S]\n\xE1=1\n", "S", "\xE1", "1"},
        {"empty file section name", "[]\nk=1\n", "", "k", "1"},
    };
    ScratchDir dir;
    int n = 0;
    for (const auto& row : rows) {
        const std::string path = dir.file("rules" + std::to_string(n++) + ".ini");
        writeFile(path, row.ini);
        EXPECT_EQ(readProfileString(path, row.section, row.key), row.expected) << row.why;
    }
}

TEST(Profile, UnreadablePlacesGiveEmpty) {
    ScratchDir dir;
    EXPECT_EQ(readProfileString(dir.file("missing.ini"), "S", "k"), "");
    EXPECT_EQ(readProfileString(dir.path().string(), "S", "k"), "");
    EXPECT_EQ(readProfileString("", "S", "k"), "");
    EXPECT_TRUE(profileSectionNames(dir.file("missing.ini")).empty());

    // A FIFO must neither block nor be read.
    const std::string fifo = dir.file("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(readProfileString(fifo, "S", "k"), "");
}

TEST(Profile, SectionNamesInFileOrder) {
    ScratchDir dir;
    const std::string path = dir.file("names.ini");
    writeFile(path, "junk\r\n[Main]\r\n[CTL_002]\r\n[page]\r\n[MAIN]\r\n[CTL_001]\r\n");
    const std::vector<std::string> expected = {"Main", "CTL_002", "page", "CTL_001"};
    EXPECT_EQ(profileSectionNames(path), expected);
}

TEST(Profile, CacheFollowsTheFile) {
    ScratchDir dir;
    const std::string path = dir.file("slip.ini");
    writeFile(path, "[Main]\r\nVer=1\r\n");
    setMtime(path, 1000000000, 1);
    EXPECT_EQ(readProfileString(path, "Main", "Ver"), "1");

    // Same size, same inode: only the nanoseconds of the time differ.
    writeFile(path, "[Main]\r\nVer=2\r\n");
    setMtime(path, 1000000000, 2);
    EXPECT_EQ(readProfileString(path, "Main", "Ver"), "2");

    // Replaced by another file of the same size and time: only the inode differs.
    const std::string other = dir.file("other.ini");
    writeFile(other, "[Main]\r\nVer=3\r\n");
    setMtime(other, 1000000000, 2);
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    EXPECT_EQ(readProfileString(path, "Main", "Ver"), "3");

    // A file that goes away is no longer answered from the cache.
    std::remove(path.c_str());
    EXPECT_EQ(readProfileString(path, "Main", "Ver"), "");
}

TEST(Profile, ManyFilesEvictOldOnesCorrectly) {
    ScratchDir dir;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 40; ++i) {
            const std::string path = dir.file("f" + std::to_string(i) + ".ini");
            if (round == 0)
                writeFile(path, "[S]\nk=" + std::to_string(i) + "\n");
            EXPECT_EQ(readProfileString(path, "S", "k"), std::to_string(i));
        }
    }
    clearProfileCache();
    EXPECT_EQ(readProfileString(dir.file("f7.ini"), "s", "K"), "7");
}

TEST(Profile, LongLinesAreCutNotKept) {
    ScratchDir dir;
    const std::string path = dir.file("long.ini");
    std::string ini = "[S]\r\nbig=" + std::string(1 << 20, 'a') + "\r\n";
    ini += "[" + std::string(100000, 'n') + "]\r\n";     // an absurd section name
    ini += std::string(200000, 'k') + "=1\r\n";          // an absurd key
    ini += "  =" + std::string(100000, ' ') + "far\r\n"; // value after many blanks
    ini += "[T]\r\nafter=yes\r\n";
    writeFile(path, ini);
    EXPECT_EQ(readProfileString(path, "S", "big"), std::string(254, 'a'));
    EXPECT_EQ(readProfileString(path, "T", "after"), "yes");
    EXPECT_EQ(readProfileString(path, "S", ""), "far");
}

TEST(Profile, AbsurdKeyCountsAreBounded) {
    // Millions of distinct keys would need gigabytes of tables: what lies past
    // the per-file budget (32 MiB of parsed entries) reads as missing.
    ScratchDir dir;
    const std::string path = dir.file("many.ini");
    std::string ini = "[S]\n";
    for (int i = 0; i < 600000; ++i)
        ini += "k" + std::to_string(i) + "=v\n";
    ini += "[T]\nlast=1\n";
    writeFile(path, ini);
    EXPECT_EQ(readProfileString(path, "S", "k0"), "v");
    EXPECT_EQ(readProfileString(path, "S", "k100000"), "v");
    EXPECT_EQ(readProfileString(path, "S", "k599999"), "");
    EXPECT_EQ(readProfileString(path, "T", "last"), "");

    // A sparse terabyte is not read to its end (that would take minutes).
    const std::string sparse = dir.file("sparse.ini");
    writeFile(sparse, "[S]\nk=1\n");
    ASSERT_EQ(::truncate(sparse.c_str(), off_t{1} << 40), 0);
    EXPECT_EQ(readProfileString(sparse, "S", "k"), "1");
}

} // namespace
} // namespace lumaris
