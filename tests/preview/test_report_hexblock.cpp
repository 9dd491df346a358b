// The hex block that carries a report's logo: its writer and its tolerant reader.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <string>

#include "core/hexblock.h"

using lumaris::appendFileAsHexBlock;
using lumaris::decodeHexBlock;
using lumaris::extractHexBlock;

namespace {

std::string readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll().toStdString();
}

void writeAll(const QString& path, const std::string& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.data(), qint64(bytes.size()));
}

std::string native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string bytesFrom(unsigned char first, size_t count) {
    std::string s;
    for (size_t i = 0; i < count; ++i)
        s.push_back(char(first + i));
    return s;
}

} // namespace

// 64 bytes make exactly one line of 128 digits; the 65th starts a second line;
// an empty file has no digit line at all. The block goes after what the target
// already holds.
TEST(ReportHexBlock, WriterLines) {
    QTemporaryDir dir;
    struct Row {
        size_t count;
        std::string digitLines;
    } rows[] = {
        {0, ""},
        {1, "F0\r\n"},
        {64, std::string(128, '?') + "\r\n"},
        {65, std::string(128, '?') + "\r\n" + "30\r\n"},
    };
    for (const Row& row : rows) {
        const QString source = dir.filePath("src.bin");
        const QString target = dir.filePath("target.txt");
        // Bytes from 0xF0 upward wrap to 0x00: uppercase letters and leading zeros both show.
        writeAll(source, bytesFrom(0xF0, row.count));
        writeAll(target, "text part\r\n");
        ASSERT_TRUE(appendFileAsHexBlock(native(source), native(target), "Logo"));

        const std::string text = readAll(target);
        const std::string head = "text part\r\n>--> Logo >-->\r\n";
        const std::string tail = "<--< Logo <--<\r\n";
        ASSERT_EQ(text.substr(0, head.size()), head) << row.count;
        ASSERT_EQ(text.substr(text.size() - tail.size()), tail) << row.count;
        const std::string digits =
            text.substr(head.size(), text.size() - head.size() - tail.size());
        ASSERT_EQ(digits.size(), row.digitLines.size()) << row.count;
        for (size_t i = 0; i < digits.size(); ++i) {
            if (row.digitLines[i] != '?') {
                EXPECT_EQ(digits[i], row.digitLines[i]) << row.count << " at " << i;
            }
        }
        if (row.count >= 64) {
            EXPECT_EQ(digits.substr(0, 8), "F0F1F2F3");
            EXPECT_EQ(digits.substr(30, 4), "FF00");
        }
    }
}

// No source, nothing appended: the target is neither created nor changed.
TEST(ReportHexBlock, MissingSourceLeavesTargetAlone) {
    QTemporaryDir dir;
    const QString target = dir.filePath("t.txt");
    EXPECT_TRUE(appendFileAsHexBlock(native(dir.filePath("none.bmp")), native(target), "Logo"));
    EXPECT_FALSE(QFile::exists(target));
    // A folder is not a file to embed either.
    EXPECT_TRUE(appendFileAsHexBlock(native(dir.path()), native(target), "Logo"));
    EXPECT_FALSE(QFile::exists(target));

    writeAll(target, "old");
    EXPECT_TRUE(extractHexBlock(native(dir.filePath("none.txt")), native(target), "Logo"));
    EXPECT_EQ(readAll(target), "old");
}

// Every byte value, and a block several lines long, come back as they went in.
TEST(ReportHexBlock, RoundTrip) {
    QTemporaryDir dir;
    std::string bytes = bytesFrom(0, 256);
    std::mt19937 random(7);
    for (int i = 0; i < 1000; ++i)
        bytes.push_back(char(random()));
    const QString source = dir.filePath("logo.bmp");
    const QString report = dir.filePath("r.Dqmx");
    const QString target = dir.filePath("out.bmp");
    writeAll(source, bytes);
    writeAll(report, "[Main]\r\n  Ver= 2\r\n\r\n");
    ASSERT_TRUE(appendFileAsHexBlock(native(source), native(report), "Logo"));
    // An earlier file at the target is replaced, not appended to.
    writeAll(target, "stale stale stale");
    ASSERT_TRUE(extractHexBlock(native(report), native(target), "logo"));
    EXPECT_EQ(readAll(target), bytes);
}

// The reader is tolerant of how a block was written by hand or by other tools.
TEST(ReportHexBlock, ReaderTolerance) {
    struct Row {
        const char* why;
        std::string text;
        std::string bytes;
    } rows[] = {
        {"markers in any case, lower-case digits", ">--> LOGO >-->\r\nab0f\r\n<--< logo <--<\r\n",
         "\xAB\x0F"},
        {"lines before the start are ignored", "41\r\n[Main]\r\n>--> Logo >-->\r\n42\r\n", "B"},
        {"an odd line ends with a one-digit byte", ">--> Logo >-->\r\nABC\r\n", "\xAB\x0C"},
        {"a pair is read as far as it holds hex digits", ">--> Logo >-->\r\n1GG1\r\n",
         std::string("\x01\x00", 2)},
        {"blanks around a digit line are dropped", ">--> Logo >-->\r\n   4142   \r\n", "AB"},
        {"the start line may have blanks around it", "  >--> Logo >-->  \r\n43\r\n", "C"},
        // Trimmed, the line is "<--< Logo <--<": seven pairs without a hex
        // digit in front, so seven zero bytes; the real end line follows.
        {"an end line with a blank after it is data",
         ">--> Logo >-->\r\n41\r\n<--< Logo <--< \r\n42\r\n<--< Logo <--<\r\n44\r\n",
         std::string("A") + std::string(7, '\0') + "B"},
        {"an end line with a blank before it is data",
         ">--> Logo >-->\r\n <--< Logo <--<\r\n<--< Logo <--<\r\n", std::string(7, '\0')},
        {"a missing end line runs to the end of the file", ">--> Logo >-->\r\n41\r\n42", "AB"},
        {"no start line, no bytes", "4142\r\n<--< Logo <--<\r\n", ""},
        {"another block's name does not start it", ">--> Other >-->\r\n41\r\n<--< Other <--<\r\n",
         ""},
        {"only the first block counts",
         ">--> Logo >-->\r\n41\r\n<--< Logo <--<\r\n>--> Logo >-->\r\n42\r\n", "A"},
        {"LF and CR alone end lines too", ">--> Logo >-->\n41\r42\n<--< Logo <--<\n43", "AB"},
        {"empty lines inside the block add nothing", ">--> Logo >-->\r\n\r\n41\r\n\r\n", "A"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(decodeHexBlock(row.text, "Logo"), row.bytes) << row.why;
}

// The file reader sees what the text decoder sees, also when a line end falls
// between two reads of a large file.
TEST(ReportHexBlock, ExtractFromFile) {
    QTemporaryDir dir;
    const QString source = dir.filePath("r.Dqmx");
    const QString target = dir.filePath("out.bmp");

    writeAll(source, "[Main]\r\n  Ver= 2\r\n");
    writeAll(target, "stale");
    EXPECT_TRUE(extractHexBlock(native(source), native(target), "Logo"));
    EXPECT_EQ(readAll(target), "") << "no start line gives an empty target";

    // Pad so that a CR LF straddles the 64 KiB reads.
    std::string text = std::string(65535 - 16, 'x') + "\r\n>--> Logo >-->\r\n";
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        text += "00FF7a\r\n";
        expected += std::string("\x00\xFF\x7A", 3);
    }
    text += "<--< Logo <--<\r\nFFFF\r\n";
    writeAll(source, text);
    EXPECT_TRUE(extractHexBlock(native(source), native(target), "LOGO"));
    EXPECT_EQ(readAll(target), expected);
    EXPECT_EQ(decodeHexBlock(text, "Logo"), expected);
}
