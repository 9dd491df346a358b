#pragma once
// Slip files for the page tests: a head and control sections, written as code
// page 1256 text with CR LF line ends, as the slip writer writes them.

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "core/cp1256.h"
#include "platform/twips.h"

namespace lumaris::rendertest {

using Keys = std::vector<std::pair<std::string, std::string>>;

inline std::string head(const std::string& ctlCount, int widthMm = 215, int heightMm = 297) {
    std::string s = "[Main]\n  Ver=2\n  FormNum=1\n";
    if (ctlCount != "-")
        s += "  CTL_Count=" + ctlCount + "\n";
    s += "[Page]\n  Size=50\n  Width=" + std::to_string(widthMm) +
         "\n  Height=" + std::to_string(heightMm) + "\n  Orientation=1\n";
    return s;
}

inline std::string section(const std::string& name, const Keys& keys) {
    std::string s = "[" + name + "]\n";
    for (const auto& [key, value] : keys)
        s += "  " + key + "=" + value + "\n";
    return s;
}

// A text box with everything a writer puts in, the given keys replacing the defaults.
inline Keys textBox(const std::string& left, const std::string& top, const std::string& width,
                    const std::string& height, const Keys& changes = {}) {
    Keys keys = {{"Text", "نص"},
                 {"Field", "0"},
                 {"Type", "1"},
                 {"Alignment", "1"},
                 {"VAlignment", "0"},
                 {"Border", "False"},
                 {"FontBold", "False"},
                 {"FontItalic", "False"},
                 {"FontName", "Arial (Arabic)"},
                 {"FontUnderline", "False"},
                 {"FontSize", "10"},
                 {"Left", left},
                 {"Top", top},
                 {"Width", width},
                 {"Height", height},
                 {"BackStyle", "False"},
                 {"BackColor", "16777215"},
                 {"ForeColor", "0"},
                 {"Wordwrap", "False"}};
    for (const auto& [key, value] : changes) {
        bool replaced = false;
        for (auto& kv : keys) {
            if (kv.first == key) {
                kv.second = value;
                replaced = true;
            }
        }
        if (!replaced)
            keys.emplace_back(key, value);
    }
    return keys;
}

inline Keys logo(const std::string& left, const std::string& top, const std::string& width,
                 const std::string& height, const std::string& border = "False") {
    return {{"Text", "شعار"},   {"Field", "0"},     {"Type", "3"},
            {"Border", border}, {"Left", left},     {"Top", top},
            {"Width", width},   {"Height", height}, {"FilePath", ""}};
}

class Dir {
  public:
    QString write(const QString& name, const std::string& utf8) const {
        std::string crlf;
        for (char c : utf8) {
            if (c == '\n')
                crlf += '\r';
            crlf += c;
        }
        const QString path = mDir.filePath(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(QByteArray::fromStdString(utf8ToCp1256(crlf)));
        return path;
    }

  private:
    QTemporaryDir mDir;
};

// A widget stands where its twips say, edge by edge, at 15 twips a pixel.
inline bool followsTwips(const QWidget* w) {
    const QRectF t = platform::twipsRect(w);
    auto px = [](double twips) { return int(std::nearbyint(twips / 15.0)); };
    const int x = px(t.left()), y = px(t.top());
    const QRect expected(x, y, std::max(0, px(t.left() + t.width()) - x),
                         std::max(0, px(t.top() + t.height()) - y));
    return w->geometry() == expected;
}

inline void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace lumaris::rendertest
