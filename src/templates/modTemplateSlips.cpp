#include "modTemplateSlips.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

#include "core/cp1256.h"
#include "core/fileio.h"
#include "core/slipdoc.h"
#include "core/tempfiles.h"
#include "templatedata.h"

namespace lumaris::modTemplateSlips {

namespace {

bool hasFlag(std::string_view flags, std::string_view flag) {
    while (!flags.empty()) {
        const auto blank = flags.find(' ');
        if (flags.substr(0, blank) == flag) {
            return true;
        }
        if (blank == std::string_view::npos) {
            break;
        }
        flags.remove_prefix(blank + 1);
    }
    return false;
}

std::string key(std::string_view name, std::string_view value) {
    std::string line = "  ";
    line += name;
    line += '=';
    line += value;
    return line;
}

std::string key(std::string_view name, int value) {
    return key(name, std::to_string(value));
}

std::string flagKey(std::string_view name, const CtlRow& r, std::string_view flag) {
    return key(name, hasFlag(r.flags, flag) ? "True" : "False");
}

std::string section(int id) {
    char name[16];
    std::snprintf(name, sizeof name, "[CTL_%03d]", id);
    return name;
}

const TemplateDef* findTemplate(int formNum) {
    static const TemplateDef* const all[] = {
        &kTemplet01, &kTemplet02, &kTemplet03, &kTemplet04, &kTemplet05, &kTemplet06,
        &kTemplet07, &kTemplet08, &kTemplet09, &kTemplet10, &kTemplet11, &kTemplet12,
    };
    if (formNum < 1 || formNum > 12) {
        return nullptr;
    }
    return all[formNum - 1];
}

// One name for every run of the user; the lock below keeps runs apart.
constexpr const char* kTmpSlp = "tmp.slp";

// The outcome of the last write, for SelectTempFile to hand on.
thread_local std::string tWriteError;

// Shared by all twelve writers; a failure leaves its reason in tWriteError.
void WriteTemplate(const TemplateDef& t) {
    const auto folder = tempFolder(&tWriteError);
    if (!folder) {
        return;
    }
    const std::filesystem::path path = *folder / kTmpSlp;
    std::string bytes;
    for (const std::string& line : slipLines(t)) {
        bytes += utf8ToCp1256(line);
        bytes += "\r\n";
    }
    // A link planted at tmp.slp is replaced, never followed; a reader sees the
    // earlier template or the whole new one.
    errno = 0;
    if (!replaceFileAtomically(path.string(), bytes, LinkPolicy::Replace)) {
        tWriteError = fileError(path.string());
    }
}

void Fill_Templet01() {
    WriteTemplate(kTemplet01);
}
void Fill_Templet02() {
    WriteTemplate(kTemplet02);
}
void Fill_Templet03() {
    WriteTemplate(kTemplet03);
}
void Fill_Templet04() {
    WriteTemplate(kTemplet04);
}
void Fill_Templet05() {
    WriteTemplate(kTemplet05);
}
void Fill_Templet06() {
    WriteTemplate(kTemplet06);
}
void Fill_Templet07() {
    WriteTemplate(kTemplet07);
}
void Fill_Templet08() {
    WriteTemplate(kTemplet08);
}
void Fill_Templet09() {
    WriteTemplate(kTemplet09);
}
void Fill_Templet10() {
    WriteTemplate(kTemplet10);
}
void Fill_Templet11() {
    WriteTemplate(kTemplet11);
}
void Fill_Templet12() {
    WriteTemplate(kTemplet12);
}

} // namespace

std::vector<std::string> slipLines(const TemplateDef& t) {
    std::vector<std::string> lines = {
        "[Main]",
        key("Ver", t.ver),
        key("FormNum", t.formNum),
        key("CTL_Count", t.ctlCount),
        "[Page]",
        key("Size", 9),
        key("Width", 210),
        key("Height", 297),
        key("Orientation", t.orientation),
    };
    lines.reserve(lines.size() + t.rows.size() * 23);
    for (const CtlRow& r : t.rows) {
        lines.push_back(section(r.id));
        lines.push_back(key("Id", r.id));
        lines.push_back(key("Text", r.text));
        lines.push_back(key("Field", r.field));
        lines.push_back(key("Type", r.type));
        lines.push_back(key("Alignment", r.align));
        lines.push_back(key("VAlignment", r.valign));
        lines.push_back(flagKey("Border", r, "Br"));
        lines.push_back(flagKey("FontBold", r, "B"));
        lines.push_back(flagKey("FontItalic", r, "I"));
        lines.push_back(key("FontName", r.other.font.empty() ? t.fontName : r.other.font));
        lines.push_back(flagKey("FontUnderline", r, "U"));
        lines.push_back(key("FontSize", r.size));
        lines.push_back(key("Left", r.left));
        lines.push_back(key("Top", r.top));
        lines.push_back(key("Width", r.width));
        lines.push_back(key("Height", r.height));
        lines.push_back(flagKey("BackStyle", r, "T"));
        lines.push_back(key("BackColor", r.other.back.value_or(t.backColor)));
        lines.push_back(key("ForeColor", r.other.fore.value_or(t.foreColor)));
        lines.push_back(flagKey("IgnorePrint", r, "X"));
        lines.push_back(key("FilePath", ""));
        if (t.ver >= 2) {
            lines.push_back(flagKey("Wordwrap", r, "W"));
        }
    }
    return lines;
}

bool SelectTempFile(int idx, std::string* error) {
    tWriteError.clear();
    switch (idx) {
    case 1:
        Fill_Templet01();
        break;
    case 2:
        Fill_Templet02();
        break;
    case 3:
        Fill_Templet03();
        break;
    case 4:
        Fill_Templet04();
        break;
    case 5:
        Fill_Templet05();
        break;
    case 6:
        Fill_Templet06();
        break;
    case 7:
        Fill_Templet07();
        break;
    case 8:
        Fill_Templet08();
        break;
    case 9:
        Fill_Templet09();
        break;
    case 10:
        Fill_Templet10();
        break;
    case 11:
        Fill_Templet11();
        break;
    case 12:
        Fill_Templet12();
        break;
    default:
        tWriteError = "no built-in template " + std::to_string(idx);
        break;
    }
    if (error) {
        *error = tWriteError;
    }
    return tWriteError.empty();
}

bool OpenTemplate(int idx, std::string* error) {
    const auto fail = [&](std::string why) {
        if (error) {
            *error = std::move(why);
        }
        return false;
    };
    const auto folder = tempFolder(error);
    if (!folder) {
        return false;
    }
    // tmp.slp has one name for every run of the user: the lock keeps another
    // run from replacing it between this run's write and its read.
    const std::string lockName = (*folder / "tmp.lock").string();
    const int fd = ::open(lockName.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return fail(fileError(lockName));
    }
    struct Unlock {
        int fd;
        ~Unlock() { ::close(fd); }
    } unlock{fd};
    // Bounded: a stopped run holding the lock must not hang this one.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() > deadline) {
            return fail(fileError(lockName));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!SelectTempFile(idx, error)) {
        return false;
    }
    const std::string path = (*folder / kTmpSlp).string();
    errno = 0;
    if (!OpenSlipFile(path)) {
        return fail(fileError(path));
    }
    return true;
}

std::filesystem::path tmpSlpPath() {
    const auto folder = tempFolder();
    if (!folder) {
        return {};
    }
    return *folder / kTmpSlp;
}

std::vector<std::string> templateLines(int formNum) {
    const TemplateDef* t = findTemplate(formNum);
    return t ? slipLines(*t) : std::vector<std::string>{};
}

} // namespace lumaris::modTemplateSlips
