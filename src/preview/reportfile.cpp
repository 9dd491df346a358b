#include "preview/reportfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "core/cp1256.h"
#include "core/hexblock.h"
#include "core/profile.h"
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

bool writeAll(int fd, const std::string& data) {
    for (size_t done = 0; done < data.size();) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

bool syncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    return (::close(fd) == 0) && ok;
}

} // namespace

std::vector<long long> reportControlNumbers(const std::string& slipPath, double count) {
    std::set<long long> numbers;
    for (const std::string& name : profileSectionNames(slipPath)) {
        std::string upper = name;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
        if (upper.size() < 7 || upper.size() > 22 || upper.compare(0, 4, "CTL_") != 0)
            continue;
        const std::string digits = upper.substr(4);
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        const long long n = std::stoll(digits);
        // The reader finds "CTL_001" for control 1, never "CTL_0001" or "CTL_1".
        if (n >= 1 && double(n) <= count && controlSection(n) == upper)
            numbers.insert(n);
    }
    return {numbers.begin(), numbers.end()};
}

ReportText buildReportText(const std::string& slipPath, const FieldValueArray& values) {
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
    for (long long number : reportControlNumbers(slipPath, count)) {
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
    qsizetype first = 0;
    qsizetype last = path.size();
    while (first < last && path[first] == QLatin1Char(' '))
        ++first;
    while (last > first && path[last - 1] == QLatin1Char(' '))
        --last;
    return path.mid(first, last - first) + QStringLiteral(".Dqmx");
}

bool writeReportFile(const std::string& path, const std::string& text,
                     const std::string& logoFile) {
    if (path.empty())
        return false;
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = ::realpath(path.c_str(), nullptr);
        if (real == nullptr)
            return false;
        target = real;
        std::free(real);
    }
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))
        return false;

    std::random_device random;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + ".~" + std::to_string(random() % 1000000000u);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;

    bool ok = writeAll(fd, text);
    if (ok && exists)
        ok = ::fchmod(fd, st.st_mode & 07777) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && appendFileAsHexBlock(logoFile, temp, "Logo");
    ok = ok && syncFile(temp);
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

} // namespace lumaris
