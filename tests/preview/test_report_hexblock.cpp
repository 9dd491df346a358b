// The hex block that carries a report's logo: its writer and its tolerant reader.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
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
// already holds, and every byte value comes back through the reader.
TEST(ReportHexBlock, WriterLinesAndRoundTrip) {
    QTemporaryDir dir;
    const QString source = dir.filePath("src.bin");
    const QString target = dir.filePath("target.txt");
    const QString back = dir.filePath("back.bin");
    const std::string line64 = "F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF000102030405060708090A0B0C0D0E0F"
                               "101112131415161718191A1B1C1D1E1F202122232425262728292A2B2C2D2E2F";
    struct Row {
        size_t count;
        std::string digitLines;
    } rows[] = {{0, ""}, {64, line64 + "\r\n"}, {65, line64 + "\r\n30\r\n"}, {1300, ""}};
    for (const Row& row : rows) {
        // From 0xF0 upward, wrapping: uppercase letters and leading zeros both show.
        const std::string bytes = bytesFrom(0xF0, row.count);
        writeAll(source, bytes);
        writeAll(target, "text part\r\n");
        ASSERT_TRUE(appendFileAsHexBlock(native(source), native(target), "Logo"));
        const std::string text = readAll(target);
        if (row.count <= 65) {
            EXPECT_EQ(text,
                      "text part\r\n>--> Logo >-->\r\n" + row.digitLines + "<--< Logo <--<\r\n");
        }
        // An earlier file at the target is replaced, not appended to.
        writeAll(back, "stale");
        ASSERT_TRUE(extractHexBlock(native(target), native(back), "logo"));
        EXPECT_EQ(readAll(back), bytes) << row.count;
    }

    // No source, nothing appended: the target is neither created nor changed;
    // a folder is not a file to embed either.
    const QString fresh = dir.filePath("fresh.txt");
    EXPECT_TRUE(appendFileAsHexBlock(native(dir.filePath("none")), native(fresh), "Logo"));
    EXPECT_TRUE(appendFileAsHexBlock(native(dir.path()), native(fresh), "Logo"));
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_TRUE(extractHexBlock(native(dir.filePath("none")), native(back), "Logo"));
    EXPECT_EQ(readAll(back), bytesFrom(0xF0, 1300));
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
