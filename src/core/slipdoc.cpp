#include "core/slipdoc.h"

#include "core/fileio.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>

#include "core/catalogues.h"
#include "core/cp1256.h"
#include "core/profile.h"
#include "core/tempfiles.h"
#include "core/values.h"

namespace lumaris {

std::array<CtlRecord, kMaxControls + 1> gCtl;
PageSetup gPage;
int gFormNum = 0;
int gCtlCount = 0;
std::string gFileName;
bool gSlipOpen = false;
bool gModified = false;

namespace {

int toInt(std::string_view value) {
    return static_cast<int>(
        std::clamp<long long>(roundHalfEven(leadingNumber(value)), INT_MIN, INT_MAX));
}

float toTwips(std::string_view value) {
    return static_cast<float>(std::clamp<double>(leadingNumber(value), -FLT_MAX, FLT_MAX));
}

bool isFalseWord(std::string_view value) {
    return upperAscii(trimmed(value)) == "FALSE";
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
        text.replace(pos, from.size(), to);
}

// A control of a type this program knows; anything else is a free slot.
bool isControl(const CtlRecord& c) {
    return c.Type >= 1 && c.Type <= 3;
}

CtlRecord readControl(const std::string& path, int number, bool utf8Text) {
    const std::string section = controlSection(number);
    const auto key = [&](std::string_view name) { return readProfileString(path, section, name); };

    CtlRecord c;
    c.Type = toInt(key("Type"));
    if (!isControl(c))
        return {}; // a free slot, also for a type this program does not know
    c.Id = toInt(key("Id"));
    // Blanks that the 254-byte cut or the removal of quotes brings to an end
    // go too, as the renderers' caption rule does.
    std::string text = trimmed(key("Text"));
    text = utf8Text ? validUtf8(text) : cp1256ToUtf8(text);
    replaceAll(text, "||", "\r\n");
    replaceAll(text, "\\n", "\r\n");
    c.Text = std::move(text);
    c.Field = toInt(key("Field"));
    c.Alignment = toInt(key("Alignment"));
    c.VAlignment = toInt(key("VAlignment"));
    c.FontName = cp1256ToUtf8(key("FontName"));
    c.FontSize = toInt(key("FontSize"));
    c.FontItalic = isTrueFlag(key("FontItalic"));
    c.FontBold = isTrueFlag(key("FontBold"));
    c.FontUnderline = isTrueFlag(key("FontUnderline"));
    c.Left = toTwips(key("Left"));
    c.Top = toTwips(key("Top"));
    c.Width = toTwips(key("Width"));
    c.Height = toTwips(key("Height"));
    c.Border = isTrueFlag(key("Border"));
    c.Order = number;
    c.BackColor = toInt(key("BackColor"));
    c.ForeColor = toInt(key("ForeColor"));
    c.IgnorePrint = isTrueFlag(key("IgnorePrint"));
    c.BackStyle = isTrueFlag(key("BackStyle"));
    c.FilePath = cp1256ToUtf8(key("FilePath"));
    c.Wordwrap = !isFalseWord(key("Wordwrap")); // older files have no such key
    return c;
}

// A value as one line of the file. Line breaks become "||", which the reader
// turns back into breaks; in a one-line value (a name, a path) they cannot be
// kept and are dropped, as is NUL. A value that begins and ends with the same
// quote would lose both to the reader, so it gets a pair of its own.
std::string fileValue(std::string_view text, bool keepBreaks) {
    std::string v;
    v.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (keepBreaks)
                v += "||";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c != '\0') {
            v += c;
        }
    }
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = '"' + v + '"';
    return v;
}

// Shortest text that reads back as the same float; never an exponent, which
// the number reader stops at.
std::string twipsText(float value) {
    if (!std::isfinite(value))
        return "0";
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

const char* word(bool value) {
    return value ? "True" : "False";
}

void addKey(std::string& out, std::string_view key, std::string_view value) {
    out += "  ";
    out += key;
    out += '=';
    out += value;
    out += "\r\n";
}

void addKey(std::string& out, std::string_view key, long long value) {
    addKey(out, key, std::to_string(value));
}

// The control at each number the writer gives, 0 for none. A control is
// written under its stacking place (1 = front-most) so that the reader stacks
// the slip as designed; the places of deleted controls stay free. Stacking
// that is unset, out of range or repeated cannot say this: the array order
// stands then.
std::array<int, kMaxControls + 1> writtenOrder(int count) {
    std::array<int, kMaxControls + 1> byNumber{};
    bool stacked = true;
    for (int i = 1; i <= count && stacked; ++i) {
        const CtlRecord& c = gCtl[i];
        if (!isControl(c))
            continue;
        stacked = c.Order >= 1 && c.Order <= kMaxControls && byNumber[size_t(c.Order)] == 0;
        if (stacked)
            byNumber[size_t(c.Order)] = i;
    }
    if (stacked)
        return byNumber;
    byNumber.fill(0);
    for (int i = 1; i <= count; ++i)
        if (isControl(gCtl[i]))
            byNumber[size_t(i)] = i;
    return byNumber;
}

} // namespace

void resetSlip() {
    gCtl.fill(CtlRecord{});
    gPage = PageSetup{};
    gFormNum = 0;
    gCtlCount = 0;
    gFileName.clear();
    gSlipOpen = false;
    gModified = false;
}

bool OpenSlipFile(const std::string& path) {
    // Every key below comes from this one reading of the file.
    const ProfilePin pin(path);
    if (!pin.snapshot())
        return false;
    // Opening a slip clears away the temporary files of the last one; the
    // file being opened may be one of them and must stay.
    unrecordTempFile(path);
    deleteRecordedTempFiles();
    resetSlip();
    gFormNum = toInt(readProfileString(path, "Main", "FormNum"));
    gCtlCount = std::clamp(toInt(readProfileString(path, "Main", "CTL_Count")), 0, kMaxControls);
    gPage.Size = toInt(readProfileString(path, "Page", "Size"));
    gPage.Orientation = toInt(readProfileString(path, "Page", "Orientation"));

    std::string pageCode = upperAscii(readProfileString(path, "Main", "PageCode"));
    std::erase(pageCode, ' ');
    const bool utf8Text = pageCode == "UTF-8";

    for (int i = 1; i <= gCtlCount; ++i)
        gCtl[i] = readControl(path, i, utf8Text);

    gFileName = path;
    gSlipOpen = true;
    gModified = false;
    return true;
}

std::string slipText() {
    const int count = std::clamp(gCtlCount, 0, kMaxControls);
    const std::array<int, kMaxControls + 1> byNumber = writtenOrder(count);
    // Positions: the array's, or as many as the back-most control's number needs.
    int positions = count;
    for (int n = count + 1; n <= kMaxControls; ++n)
        if (byNumber[size_t(n)])
            positions = n;
    const bool knownPaper = gPage.Size >= 0 && gPage.Size < static_cast<int>(gPaper.size());
    const PaperSize paper = knownPaper ? gPaper[gPage.Size] : PaperSize{};

    std::string out = "[Main]\r\n";
    addKey(out, "Ver", 2);
    addKey(out, "FormNum", gFormNum);
    addKey(out, "CTL_Count", positions);
    out += "[Page]\r\n";
    addKey(out, "Size", gPage.Size);
    addKey(out, "Width", paper.widthMm);
    addKey(out, "Height", paper.heightMm);
    addKey(out, "Orientation", gPage.Orientation);

    for (int i = 1; i <= positions; ++i) {
        if (!byNumber[size_t(i)])
            continue;
        const CtlRecord& c = gCtl[size_t(byNumber[size_t(i)])];
        out += "[" + controlSection(i) + "]\r\n";
        addKey(out, "Id", i);
        addKey(out, "Text", fileValue(c.Text, true));
        addKey(out, "Field", c.Field);
        addKey(out, "Type", c.Type);
        addKey(out, "Alignment", c.Alignment);
        addKey(out, "VAlignment", c.VAlignment);
        addKey(out, "Border", word(c.Border));
        addKey(out, "FontBold", word(c.FontBold));
        addKey(out, "FontItalic", word(c.FontItalic));
        addKey(out, "FontName", fileValue(c.FontName, false));
        addKey(out, "FontUnderline", word(c.FontUnderline));
        addKey(out, "FontSize", c.FontSize);
        addKey(out, "Left", twipsText(c.Left));
        addKey(out, "Top", twipsText(c.Top));
        addKey(out, "Width", twipsText(c.Width));
        addKey(out, "Height", twipsText(c.Height));
        addKey(out, "BackStyle", word(c.BackStyle));
        addKey(out, "BackColor", c.BackColor);
        addKey(out, "ForeColor", c.ForeColor);
        addKey(out, "IgnorePrint", word(c.IgnorePrint));
        addKey(out, "FilePath", fileValue(c.FilePath, false));
        addKey(out, "Wordwrap", word(c.Wordwrap));
    }
    return utf8ToCp1256(out);
}

std::vector<long long> controlNumbers(const std::vector<std::string>& sectionNames, double count) {
    std::vector<long long> numbers;
    if (!(count >= 1))
        return numbers;
    const double last = std::floor(count);
    for (const std::string& name : sectionNames) {
        const std::string upper = upperAscii(name);
        // "CTL_" and at most 18 digits: beyond that no count can reach it.
        if (upper.size() < 7 || upper.size() > 22 || upper.compare(0, 4, "CTL_") != 0)
            continue;
        if (!std::all_of(upper.begin() + 4, upper.end(),
                         [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        const long long n = std::stoll(upper.substr(4));
        if (n >= 1 && double(n) <= last && controlSection(n) == upper)
            numbers.push_back(n);
    }
    // "ctl_003" and "CTL_003" are one section to the reader.
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

std::vector<long long> existingControlNumbers(const std::string& path, double count) {
    return controlNumbers(profileSectionNames(path), count);
}

bool WriteSlipFile(const std::string& path) {
    return replaceFileAtomically(path, slipText());
}

} // namespace lumaris
