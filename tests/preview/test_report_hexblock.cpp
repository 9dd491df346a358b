// The hex block that carries a report's logo: its writer and its tolerant reader.

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

#include "core/hexblock.h"

using lumaris::decodeHexBlock;

namespace {

std::string readAll(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<missing>";
}

void writeAll(const std::string& path, const std::string& bytes) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.data(), qint64(bytes.size()));
}

} // namespace

// 64 bytes fill one line of 128 digits, the 65th starts a second, an empty file
// none; the block goes after what the target holds. The reader gives every byte
// back, even when the start line's CR LF straddles its two 64 KiB reads.
TEST(ReportHexBlock, WriterLinesAndRoundTrip) {
    QTemporaryDir dir;
    const std::string source = dir.filePath("s").toStdString(), target = source + ".txt";
    const std::string line64 = "F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF000102030405060708090A0B0C0D0E0F"
                               "101112131415161718191A1B1C1D1E1F202122232425262728292A2B2C2D2E2F";
    const std::pair<size_t, std::string> rows[] = {
        {0, ""}, {64, line64 + "\r\n"}, {65, line64 + "\r\n30\r\n"}};
    for (const auto& [count, digitLines] : rows) {
        std::string bytes; // from 0xF0 up, wrapping: capitals and leading zeros show
        for (size_t i = 0; i < count; ++i)
            bytes.push_back(char(0xF0 + i));
        writeAll(source, bytes);
        const std::string before = std::string(65519, 'x') + "\r\n";
        writeAll(target, before);
        ASSERT_TRUE(lumaris::appendFileAsHexBlock(source, target, "Logo"));
        EXPECT_TRUE(readAll(target) ==
                    before + ">--> Logo >-->\r\n" + digitLines + "<--< Logo <--<\r\n")
            << count;
        writeAll(source, "stale");
        ASSERT_TRUE(lumaris::extractHexBlock(target, source, "logo"));
        EXPECT_EQ(readAll(source), bytes) << count;
    }
}

// The reader takes blocks written by hand or by other tools.
TEST(ReportHexBlock, ReaderTolerance) {
    struct Row {
        const char* why;
        std::string text, bytes;
    } rows[] = {
        {"markers in any case, lower-case digits", ">--> LOGO >-->\r\nab0f\r\n<--< logo <--<\r\n",
         "\xAB\x0F"},
        {"an odd line ends with a one-digit byte", ">--> Logo >-->\r\nABC\r\n", "\xAB\x0C"},
        {"blanks around lines are dropped", "  >--> Logo >-->  \r\n   4142   \r\n", "AB"},
        // Trimmed, "<--< Logo <--<" is seven pairs with no hex digit in front:
        // seven zero bytes.
        {"an end line with a blank after it is data",
         ">--> Logo >-->\r\n41\r\n<--< Logo <--< \r\n42\r\n<--< Logo <--<\r\n44\r\n",
         std::string("A") + std::string(7, '\0') + "B"},
        {"a missing end line runs to the end", ">--> Logo >-->\r\n41\r\n42", "AB"},
        {"another block's name does not start it", ">--> Other >-->\r\n41\r\n", ""},
        {"LF and CR alone end lines too", ">--> Logo >-->\n41\r42\n<--< Logo <--<\n43", "AB"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(decodeHexBlock(row.text, "Logo"), row.bytes) << row.why;
}
