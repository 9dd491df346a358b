#include "preview/reportfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "core/cp1256.h"
#include "core/fileio.h"
#include "core/hexblock.h"
#include "core/profile.h"
#include "core/slipdoc.h"
#include "core/values.h"

namespace lumaris {

namespace {

// A field value may hold line breaks; written as they are, its later lines
// would stand in the section as lines of their own (or even as keys).
std::string joinLines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "||";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace

ReportText buildReportText(const std::string& slipPath, const FieldValueArray& values) {
    const ProfilePin pin(slipPath);
    ReportText report;
    std::string& out = report.text;
    auto value = [&](std::string_view section, std::string_view key) {
        return readProfileString(slipPath, section, key);
    };
    auto line = [&](std::string_view text) {
        out += text;
        out += "\r\n";
    };
    auto copied = [&](std::string_view section, std::string_view key) {
        out += "  ";
        out += key;
        out += "= ";
        out += value(section, key);
        out += "\r\n";
    };

    line("[Main]");
    for (const char* key : {"Ver", "FormNum", "CTL_Count"})
        copied("Main", key);
    line("");
    line("[Page]");
    for (const char* key : {"Size", "Width", "Height", "Orientation"})
        copied("Page", key);

    const double count = leadingNumber(value("Main", "CTL_Count"));
    for (long long number : existingControlNumbers(slipPath, count)) {
        const std::string section = controlSection(number);
        const double type = leadingNumber(value(section, "Type"));
        if (type == 0)
            continue;
        line("");
        line("[" + section + "]");
        for (const char* key : {"Id", "Border", "Left", "Top", "Width", "Height", "IgnorePrint"})
            copied(section, key);
        if (type == 1 || type == 2) {
            // A data field becomes a text box holding its value.
            line("  Type= 1");
            line("  Field= 0");
            std::string text = colonRule(value(section, "Text"));
            if (type == 2) {
                const long long field = roundHalfEven(leadingNumber(value(section, "Field")));
                if (field >= 0 && field <= kMaxField)
                    text = utf8ToCp1256(values[size_t(field)]);
            }
            line("  Text=" + joinLines(text));
            for (const char* key :
                 {"Alignment", "VAlignment", "FontName", "FontSize", "FontBold", "FontItalic",
                  "FontUnderline", "BackColor", "ForeColor", "Wordwrap", "BackStyle"})
                copied(section, key);
        } else {
            line("  Type= 3");
            line("  Field= LOGO");
            report.hasLogo = true;
        }
    }
    line("");
    return report;
}

QString withReportExtension(const QString& path) {
    if (path.contains(QLatin1Char('.')))
        return path;
    return QString::fromStdString(trimmed(path.toStdString())) + QStringLiteral(".Dqmx");
}

bool writeReportFile(const std::string& path, const std::string& text,
                     const std::string& logoFile) {
    std::string bytes = text;
    struct stat st {};
    if (!logoFile.empty() && ::stat(logoFile.c_str(), &st) == 0) {
        const std::optional<std::string> logo = readWholeFile(logoFile);
        if (!logo)
            return false;
        bytes += hexBlockText(*logo, "Logo");
    }
    return replaceFileAtomically(path, bytes);
}

} // namespace lumaris
