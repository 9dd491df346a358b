#include "core/profile.h"

#include <array>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "testutil.h"

using namespace lumaris;
using test::writeFile;

TEST(Profile, ReaderRulesSectionNamesAndCache) {
    const std::string v300(300, 'x'), v254(254, 'x');
    // Names in any case (ASCII only); one outer pair of like quotes goes; values
    // cut at 254 bytes and at a NUL; the first repeated key or section wins.
    // clang-format off
    const std::array<std::string, 4> rows[] = { // file, section, key, value
        {"[mAIN]\r\n \t vER \t=  v w  \r\n", "MAIN", "ver", "v w"},
        {"[S]\nk=\"a b\"\n", "S", "k", "a b"},      {"[S]\nk= 'a' \n", "S", "k", "a"},
        {"[S]\nk=\"a'\n", "S", "k", "\"a'"},       {"[S]\nk=\"\n", "S", "k", "\""},
        {"[S]\nk=\"\"a\"\"\n", "S", "k", "\"a\""}, {"[S]\nk\nk=1\n", "S", "k", "1"},
        {"[S]\nk=a=b\n", "S", "k", "a=b"},         {"[S]\nk=1\n", "T", "k", ""},
        {"k=1\n[S]\n", "S", "k", ""},              {"[S]\nk=" + v300, "S", "k", v254},
        {"[S]\nk=\"" + v300 + "\"", "S", "k", v254}, {"[S]\nk=\"" + v254 + "\"", "S", "k", v254},
        {std::string("[S]\nk=ab\0cd\n", 12), "S", "k", "ab"},
        {"[S]\rk=1\rj=2\r", "S", "j", "2"},        {"[S]\r\nk=last", "S", "k", "last"},
        {"[S]\nk=1\nK=2\n", "S", "k", "1"},        {"[S]\nk=1\n[s]\nk=2\nj=3\n", "S", "j", ""},
        {"[ Page ] x\nk=1\n", "Page", "k", "1"},   {"[S]\n[x=1\n", "S", "[x", "1"},
        {"[S]\nk=\xD4\xDA\n", "S", "k", "\xD4\xDA"}, {"[S]\n\xE1=1\n", "S", "\xC1", ""}};
    // clang-format on
    test::ScratchDir dir;
    const std::string path = dir.file("rules.ini"); // too new to be kept: read afresh
    for (const auto& [ini, section, key, expected] : rows) {
        writeFile(path, ini);
        EXPECT_EQ(readProfileString(path, section, key), expected) << ini;
    }

    writeFile(path, "junk\r\n[Main]\r\n[CTL_002]\r\n[page]\r\n[MAIN]\r\n[CTL_001]\r\n");
    EXPECT_EQ(profileSectionNames(path),
              (std::vector<std::string>{"Main", "CTL_002", "page", "CTL_001"}));

    // Once a parse is kept (the file a second old), cp -p shows in the change time only.
    writeFile(path, "[Main]\r\nVer=1\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(readProfileString(path, "Main", "Ver"), "1");
    const auto mtime = std::filesystem::last_write_time(path);
    writeFile(path, "[Main]\r\nVer=2\r\n");
    std::filesystem::last_write_time(path, mtime);
    EXPECT_EQ(readProfileString(path, "Main", "Ver"), "2");
    std::remove(path.c_str());
    EXPECT_EQ(readProfileString(path, "Main", "Ver"), "");
}

TEST(Profile, BadAndHugeInputs) {
    test::ScratchDir dir;
    const std::string path = dir.file("long.ini"), fifo = dir.file("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0); // must neither block nor be read
    for (const std::string& bad : {dir.file("missing.ini"), dir.path.string(), std::string(), fifo})
        EXPECT_EQ(readProfileString(bad, "S", "k"), "") << bad;

    // A section name too long to keep still ends the section before it.
    writeFile(path, "[S]\r\nbig=" + std::string(1 << 20, 'a') + "\r\n" + std::string(200000, 'k') +
                        "=1\r\n  =" + std::string(100000, ' ') + "far\r\n[" +
                        std::string(70000, 'n') + "]\r\nFontSize=72\r\n" + "[T]\r\nafter=yes\r\n");
    EXPECT_EQ(readProfileString(path, "S", "big"), std::string(254, 'a'));
    EXPECT_EQ(readProfileString(path, "S", ""), "far");
    EXPECT_EQ(readProfileString(path, "S", "FontSize"), "");
    EXPECT_EQ(profileSectionNames(path), (std::vector<std::string>{"S", "T"}));

    // What lies past the 32 MiB budget of parsed entries reads as missing.
    std::string ini = "[S]\n";
    for (int i = 0; i < 600000; ++i)
        ini += "k" + std::to_string(i) + "=v\n";
    writeFile(path, ini + "[T]\nlast=1\n");
    EXPECT_EQ(readProfileString(path, "S", "k100000"), "v");
    EXPECT_EQ(readProfileString(path, "T", "last"), "");

    // A sparse terabyte is not read to its end.
    writeFile(path, "[S]\nk=1\n");
    ASSERT_EQ(::truncate(path.c_str(), off_t{1} << 40), 0);
    EXPECT_EQ(readProfileString(path, "S", "k"), "1");
}
