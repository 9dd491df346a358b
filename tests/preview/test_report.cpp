// The report file: its text part, the extension rule, and replacing the file.

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "core/cp1256.h"
#include "core/hexblock.h"
#include "preview/reportfile.h"
#include "slipfiles.h"

using lumaris::utf8ToCp1256;
using lumaris::test::slipHead;

namespace {

// A control section with every key the slip writer puts in.
std::string section(int n, const std::string& type, const std::string& field,
                    const std::string& text) {
    return "[CTL_00" + std::to_string(n) + "]\n  Id=1\n  Text=" + text + "\n  Field=" + field +
           "\n  Type=" + type +
           "\n  Alignment=1\n  VAlignment=0\n  Border=True\n  FontBold=False\n"
           "  FontItalic=False\n  FontName=Arial (Arabic)\n  FontUnderline=False\n"
           "  FontSize=12\n  Left=600\n  Top=700\n  Width=2400\n  Height=400\n"
           "  BackStyle=False\n  BackColor=16777215\n  ForeColor=255\n  IgnorePrint=False\n"
           "  FilePath=\n  Wordwrap=False\n";
}

lumaris::ReportText reportOf(const std::string& slip, const lumaris::FieldValueArray& values) {
    lumaris::test::SlipDir dir;
    return lumaris::buildReportText(dir.write("s.slp", slip).toStdString(), values);
}

std::string readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<missing>";
}

} // namespace

// A text box, a data field turned into a text box, a Type 0 slot, a missing
// section and a logo.
TEST(ReportText, WholeTextOfASlip) {
    lumaris::FieldValueArray values;
    values[7] = "123";
    const auto report = reportOf(slipHead("2", 5) + section(1, "1", "0", ":  التاريخ  ") +
                                     section(2, "2", "7", "جدول") + section(3, "0", "0", "free") +
                                     section(5, "3", "0", "شعار"),
                                 values);
    const std::string box = "  Id= 1\r\n  Border= True\r\n  Left= 600\r\n  Top= 700\r\n"
                            "  Width= 2400\r\n  Height= 400\r\n  IgnorePrint= False\r\n";
    const std::string style = "  Alignment= 1\r\n  VAlignment= 0\r\n  FontName= Arial (Arabic)\r\n"
                              "  FontSize= 12\r\n  FontBold= False\r\n  FontItalic= False\r\n"
                              "  FontUnderline= False\r\n  BackColor= 16777215\r\n"
                              "  ForeColor= 255\r\n  Wordwrap= False\r\n  BackStyle= False\r\n";
    EXPECT_EQ(report.text,
              "[Main]\r\n  Ver= 2\r\n  FormNum= 1\r\n  CTL_Count= 5\r\n\r\n"
              "[Page]\r\n  Size= 9\r\n  Width= 210\r\n  Height= 297\r\n  Orientation= 1\r\n"
              "\r\n[CTL_001]\r\n" +
                  box + "  Type= 1\r\n  Field= 0\r\n" + utf8ToCp1256("  Text=التاريخ:\r\n") +
                  style + "\r\n[CTL_002]\r\n" + box + "  Type= 1\r\n  Field= 0\r\n  Text=123\r\n" +
                  style + "\r\n[CTL_005]\r\n" + box + "  Type= 3\r\n  Field= LOGO\r\n\r\n");
}

// How one control's text reaches the report.
TEST(ReportText, TextRules) {
    lumaris::FieldValueArray values;
    values[6] = "v6";
    values[7] = ":x ";
    values[2] = "a\r\nb\nc\rd";
    struct Row {
        const char* why;
        std::string type, field, text, line;
    } rows[] = {
        {"a leading colon moves to the end", "1", "0", ":  abc  ", "  Text=abc:"},
        {"a colon elsewhere stays", "1", "0", "abc :", "  Text=abc :"},
        {"a data value is neither colon-ruled nor trimmed", "2", "7", "t", "  Text=:x "},
        {"6.5 rounds to the even 6", "2", "6.5", "t", "  Text=v6"},
        {"out of range, the text is colon-ruled", "2", "201", ":t", "  Text=t:"},
        {"line breaks become ||", "2", "2", "t", "  Text=a||b||c||d"},
        {"another type is a logo", "4", "0", "t", "  Field= LOGO"},
    };
    for (const Row& row : rows) {
        const std::string text =
            reportOf(slipHead("2", 1) + section(1, row.type, row.field, row.text), values).text;
        EXPECT_NE(text.find("\r\n" + row.line + "\r\n"), std::string::npos) << row.why;
    }
}

// Only a path without any "." gets the extension, a folder's "." included.
TEST(ReportText, ExtensionRule) {
    EXPECT_EQ(lumaris::withReportExtension("  /home/u/report  "), "/home/u/report.Dqmx");
    EXPECT_EQ(lumaris::withReportExtension("/home/u.v/report"), "/home/u.v/report");
    EXPECT_EQ(lumaris::withReportExtension("report."), "report.");
}

// The logo goes after the text as a hex block; a failed save leaves the old
// file whole, and nothing is left beside it.
TEST(ReportFileWrite, ReplacesInOneStep) {
    lumaris::test::SlipDir dir;
    const QString target = dir.path("r.Dqmx");
    ASSERT_TRUE(lumaris::writeReportFile(target.toStdString(), "new\r\n",
                                         dir.write("logo.bin", "\x01\x02").toStdString()));
    EXPECT_EQ(readAll(target), "new\r\n>--> Logo >-->\r\n0102\r\n<--< Logo <--<\r\n");

    // The kernel refuses to read this file from its start: the logo fails to
    // embed after the text has gone to the fresh file.
    if (lumaris::appendFileAsHexBlock("/proc/self/mem", dir.path("probe").toStdString(), "L"))
        GTEST_SKIP() << "/proc/self/mem readable here";
    EXPECT_FALSE(lumaris::writeReportFile(target.toStdString(), "half\r\n", "/proc/self/mem"));
    EXPECT_EQ(readAll(target), "new\r\n>--> Logo >-->\r\n0102\r\n<--< Logo <--<\r\n");
    EXPECT_EQ(QDir(dir.path("")).entryList(QDir::Files | QDir::Hidden).join(' '),
              "logo.bin r.Dqmx");
}
