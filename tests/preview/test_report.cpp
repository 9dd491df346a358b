// The report file: its text part, the extension rule, and how it replaces the
// file on disk.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/cp1256.h"
#include "core/hexblock.h"
#include "preview/reportfile.h"
#include "slipfiles.h"

using lumaris::utf8ToCp1256;
using lumaris::test::SlipDir;
using lumaris::test::slipHead;

namespace {

// A control section as the slip writer writes it, with the keys given.
std::string section(int number, const std::string& keys) {
    char name[32];
    std::snprintf(name, sizeof name, "[CTL_%03d]\n", number);
    return name + keys;
}

std::string textBox(const std::string& type, const std::string& field, const std::string& text) {
    return "  Id=1\n  Text=" + text + "\n  Field=" + field + "\n  Type=" + type +
           "\n  Alignment=1\n  VAlignment=0\n  Border=True\n  FontBold=False\n"
           "  FontItalic=False\n  FontName=Arial (Arabic)\n  FontUnderline=False\n"
           "  FontSize=12\n  Left=600\n  Top=700\n  Width=2400\n  Height=400\n"
           "  BackStyle=False\n  BackColor=16777215\n  ForeColor=255\n  IgnorePrint=False\n"
           "  FilePath=\n  Wordwrap=False\n";
}

std::string native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll().toStdString();
}

// The lines of one section of a report, from its section line up to the empty
// line after it.
std::vector<std::string> sectionLines(const std::string& text, const std::string& name) {
    std::vector<std::string> lines;
    size_t at = text.find("\r\n[" + name + "]\r\n");
    if (at == std::string::npos)
        return lines;
    at += 2;
    while (at < text.size()) {
        const size_t end = text.find("\r\n", at);
        if (end == std::string::npos || end == at)
            break;
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::string textLine(const std::string& text, const std::string& name) {
    for (const std::string& line : sectionLines(text, name))
        if (line.rfind("  Text=", 0) == 0)
            return line.substr(7);
    return "<none>";
}

lumaris::FieldValueArray sampleValues() {
    lumaris::FieldValueArray values;
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = "v" + std::to_string(i);
    return values;
}

} // namespace

// The whole text part of a small slip: fixed sections, a text box, a data
// field turned into a text box, a free slot, a gap and a logo.
TEST(ReportText, WholeTextOfASlip) {
    SlipDir dir;
    const std::string slip = slipHead("2", 5) + section(1, textBox("1", "0", ":  التاريخ  ")) +
                             section(2, textBox("2", "7", "جدول القيم")) +
                             section(3, "  Id=3\n  Type=0\n  Text=free\n") +
                             section(5, textBox("3", "0", "شعار") + "  FilePath=/x/logo.bmp\n");
    auto values = sampleValues();
    values[7] = "123";
    const auto report = lumaris::buildReportText(native(dir.write("s.slp", slip)), values);

    const std::string box = "  Id= 1\r\n  Border= True\r\n  Left= 600\r\n  Top= 700\r\n"
                            "  Width= 2400\r\n  Height= 400\r\n  IgnorePrint= False\r\n";
    const std::string style = "  Alignment= 1\r\n  VAlignment= 0\r\n  FontName= Arial (Arabic)\r\n"
                              "  FontSize= 12\r\n  FontBold= False\r\n  FontItalic= False\r\n"
                              "  FontUnderline= False\r\n  BackColor= 16777215\r\n"
                              "  ForeColor= 255\r\n  Wordwrap= False\r\n  BackStyle= False\r\n";
    const std::string expected =
        "[Main]\r\n  Ver= 2\r\n  FormNum= 1\r\n  CTL_Count= 5\r\n\r\n"
        "[Page]\r\n  Size= 9\r\n  Width= 210\r\n  Height= 297\r\n  Orientation= 1\r\n"
        // The leading colon moves to the end of the trimmed rest.
        "\r\n[CTL_001]\r\n" +
        box + "  Type= 1\r\n  Field= 0\r\n" + utf8ToCp1256("  Text=التاريخ:\r\n") + style +
        // The data field's value, right after "=".
        "\r\n[CTL_002]\r\n" + box + "  Type= 1\r\n  Field= 0\r\n  Text=123\r\n" + style +
        // Type 0 and the missing section 4 are left out; the logo has only its keys.
        "\r\n[CTL_005]\r\n" + box + "  Type= 3\r\n  Field= LOGO\r\n" + "\r\n";
    EXPECT_EQ(report.text, expected);
    EXPECT_TRUE(report.hasLogo);
}

// A slip without controls gives the two fixed sections, the empty line between
// them and the one that ends the text part.
TEST(ReportText, SlipWithoutControls) {
    SlipDir dir;
    const auto report = lumaris::buildReportText(
        native(dir.write("e.slp", "[Main]\n  Ver=1\n[Page]\n  Size=50\n")), sampleValues());
    EXPECT_EQ(report.text, "[Main]\r\n  Ver= 1\r\n  FormNum= \r\n  CTL_Count= \r\n\r\n"
                           "[Page]\r\n  Size= 50\r\n  Width= \r\n  Height= \r\n"
                           "  Orientation= \r\n\r\n");
    EXPECT_FALSE(report.hasLogo);
}

// How each kind of control's text reaches the report.
TEST(ReportText, TextRules) {
    auto values = sampleValues();
    values[7] = ":x ";
    values[2] = "first\r\nsecond\nthird\rfourth";
    values[61] = "محمد علي";
    values[3] = std::string(300, '9');
    struct Row {
        const char* why;
        std::string type, field, text;
        std::string expected; // UTF-8
    } rows[] = {
        {"colon moves to the end, rest trimmed", "1", "0", ":  abc  ", "abc:"},
        {"a colon elsewhere stays", "1", "0", "abc :", "abc :"},
        {"a text box ignores its Field", "1", "7", "abc", "abc"},
        {"a data value is not colon-ruled or trimmed", "2", "7", ":t", ":x "},
        {"6.5 rounds to the even 6", "2", "6.5", "t", "v6"},
        {"7.5 rounds to the even 8", "2", "7.5", "t", "v8"},
        {"a field without a number is field 0", "2", "abc", "t", "v0"},
        {"field 201 keeps the colon-ruled text", "2", "201", ":t", "t:"},
        {"field -1 keeps the text", "2", "-1", "t", "t"},
        // The readers turn "||" back into a line break.
        {"line breaks become ||", "2", "2", "t", "first||second||third||fourth"},
        {"Arabic goes out in 1256", "2", "61", "t", "محمد علي"},
        {"a long value is written whole", "2", "3", "t", std::string(300, '9')},
    };
    SlipDir dir;
    int n = 0;
    for (const Row& row : rows) {
        const QString file =
            dir.write(QStringLiteral("t%1.slp").arg(++n),
                      slipHead("2", 1) + section(1, textBox(row.type, row.field, row.text)));
        const auto report = lumaris::buildReportText(native(file), values);
        EXPECT_EQ(textLine(report.text, "CTL_001"), utf8ToCp1256(row.expected)) << row.why;
    }
}

// Which sections are written: those from 1 to CTL_Count with a non-zero Type,
// under the name the reader finds, in ascending order, whatever the count claims.
TEST(ReportText, WhichSectionsAppear) {
    SlipDir dir;
    const std::string slip =
        slipHead("2", 2000000000) + section(9, textBox("1", "0", "nine")) +
        section(1, textBox("1", "0", "one")) + section(2, "  Id=2\n  Text=no type\n") +
        section(3, textBox("0", "0", "zero")) + section(4, textBox("abc", "0", "not a number")) +
        "[ctl_005]\n  Id=5\n  Type=4\n  Text=other type\n" +
        "[CTL_0006]\n  Id=6\n  Type=1\n  Text=not the name of 6\n" +
        "[CTL_7]\n  Id=7\n  Type=1\n  Text=nor of 7\n" +
        "[CTL_2000000001]\n  Id=8\n  Type=1\n  Text=beyond the count\n";
    const auto report = lumaris::buildReportText(native(dir.write("w.slp", slip)), sampleValues());

    std::vector<std::string> names;
    for (size_t at = report.text.find("\r\n[CTL_"); at != std::string::npos;
         at = report.text.find("\r\n[CTL_", at + 1))
        names.push_back(report.text.substr(at + 3, report.text.find(']', at) - at - 3));
    EXPECT_EQ(names, (std::vector<std::string>{"CTL_001", "CTL_005", "CTL_009"}));
    EXPECT_NE(report.text.find("  CTL_Count= 2000000000\r\n"), std::string::npos);
    // A type other than 1 and 2 is written as a logo.
    EXPECT_EQ(sectionLines(report.text, "CTL_005"),
              (std::vector<std::string>{"[CTL_005]", "  Id= 5", "  Border= ", "  Left= ", "  Top= ",
                                        "  Width= ", "  Height= ", "  IgnorePrint= ", "  Type= 3",
                                        "  Field= LOGO"}));

    // A count below the sections present cuts them off.
    const auto fewer = lumaris::buildReportText(
        native(dir.write("f.slp", slipHead("2", 8) + section(9, textBox("1", "0", "x")))),
        sampleValues());
    EXPECT_EQ(fewer.text.find("[CTL_009]"), std::string::npos);
}

// A typed path without any "." gets the extension; one with a "." anywhere,
// a folder's included, is taken as it is.
TEST(ReportText, ExtensionRule) {
    struct Row {
        QString chosen, used;
    } rows[] = {
        {"/home/u/report", "/home/u/report.Dqmx"},
        {"  /home/u/report  ", "/home/u/report.Dqmx"},
        {"/home/u/report.txt", "/home/u/report.txt"},
        {"/home/u.v/report", "/home/u.v/report"},
        {"report.", "report."},
        {"تقرير", "تقرير.Dqmx"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(lumaris::withReportExtension(row.chosen), row.used) << row.chosen.toStdString();
}

// The report replaces its target in one step: the old file's mode stays, a
// failed save leaves the old file whole, and nothing is left beside it.
TEST(ReportFileWrite, ReplacesInOneStep) {
    QTemporaryDir dir;
    const QString target = dir.filePath("r.Dqmx");
    const QString logo = dir.filePath("logo.bin");
    {
        QFile f(logo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\x01\x02", 2);
    }
    ASSERT_TRUE(lumaris::writeReportFile(native(target), "old\r\n", ""));
    ::chmod(native(target).c_str(), 0640);

    ASSERT_TRUE(lumaris::writeReportFile(native(target), "new\r\n", native(logo)));
    EXPECT_EQ(readAll(target), "new\r\n>--> Logo >-->\r\n0102\r\n<--< Logo <--<\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(native(target).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // Through a symlink the file it names is replaced; the link stays a link.
    const QString link = dir.filePath("link.Dqmx");
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(lumaris::writeReportFile(native(link), "linked\r\n", ""));
    EXPECT_EQ(readAll(target), "linked\r\n");
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    // The kernel refuses to read this regular file from its start: the logo
    // fails to embed after the text has been written to the fresh file.
    if (lumaris::appendFileAsHexBlock("/proc/self/mem", native(dir.filePath("probe")), "L"))
        GTEST_SKIP() << "/proc/self/mem readable here";
    EXPECT_FALSE(lumaris::writeReportFile(native(target), "half\r\n", "/proc/self/mem"));
    EXPECT_EQ(readAll(target), "linked\r\n");
    EXPECT_FALSE(lumaris::writeReportFile(native(dir.filePath("no/such/folder/r.Dqmx")), "x", ""));
    EXPECT_EQ(QDir(dir.path())
                  .entryList(QDir::Files | QDir::Hidden | QDir::System)
                  .join(' ')
                  .toStdString(),
              "link.Dqmx logo.bin r.Dqmx");
}
