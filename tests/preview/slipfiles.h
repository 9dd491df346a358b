#pragma once
// Slip files for the window tests, in code page 1256 with CR LF line ends.

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "core/cp1256.h"
#include "platform/twips.h"

namespace lumaris::test {

using Keys = std::map<std::string, std::string>;
using Str = const std::string&;

struct SlipDir {
    QString write(const QString& name, const std::string& utf8Text) const {
        const QByteArray crlf = QByteArray::fromStdString(utf8Text).replace("\n", "\r\n");
        QFile f(path(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(QByteArray::fromStdString(utf8ToCp1256(crlf.toStdString())));
        return path(name);
    }
    QString path(const QString& name) const { return tempDir.filePath(name); }
    QTemporaryDir tempDir;
};

// A [Main] and [Page] head; an empty ver or a count of "-" leaves the key out.
inline std::string slipHead(Str ver, Str count, int widthMm = 210, int heightMm = 297,
                            int orientation = 1, int size = 9) {
    auto n = [](int v) { return std::to_string(v); };
    return "[Main]\n" + (ver.empty() ? "" : "  Ver=" + ver + "\n") + "  FormNum=1\n" +
           (count == "-" ? "" : "  CTL_Count=" + count + "\n") + "[Page]\n  Size=" + n(size) +
           "\n  Width=" + n(widthMm) + "\n  Height=" + n(heightMm) +
           "\n  Orientation=" + n(orientation) + "\n";
}
inline std::string slipHead(Str ver, int count, int widthMm = 210, int heightMm = 297,
                            int orientation = 1, int size = 9) {
    return slipHead(ver, std::to_string(count), widthMm, heightMm, orientation, size);
}

inline std::string section(Str name, const Keys& keys) {
    std::string s = "[" + name + "]\n";
    for (const auto& [key, value] : keys)
        s += "  " + key + "=" + value + "\n";
    return s;
}

// "Key=value|Key=value" as keys.
inline Keys kv(Str list) {
    Keys keys;
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, '|');)
        keys[item.substr(0, item.find('='))] = item.substr(item.find('=') + 1);
    return keys;
}

// A text box with every key a writer puts in, changes taking precedence.
inline Keys textBox(Str left, Str top, Str width, Str height, const Keys& changes = {}) {
    Keys keys = changes;
    keys.merge(kv("Text=نص|Field=0|Type=1|Alignment=1|VAlignment=0|Border=False|FontBold=False|"
                  "FontItalic=False|FontName=Arial (Arabic)|FontUnderline=False|FontSize=10|"
                  "BackStyle=False|BackColor=16777215|ForeColor=0|Wordwrap=False|Left=" +
                  left + "|Top=" + top + "|Width=" + width + "|Height=" + height));
    return keys;
}

inline Keys logo(Str left, Str top, Str width, Str height, Str border = "False") {
    return kv("Text=شعار|Field=0|Type=3|FilePath=|Border=" + border + "|Left=" + left +
              "|Top=" + top + "|Width=" + width + "|Height=" + height);
}

// A widget stands where its twips say, edge by edge, at 15 twips a pixel.
inline bool followsTwips(const QWidget* w) {
    const QRectF t = platform::twipsRect(w);
    auto px = [](double twips) { return int(std::nearbyint(twips / 15.0)); };
    const int x = px(t.left()), y = px(t.top());
    return w->geometry() == QRect(x, y, qMax(0, px(t.right()) - x), qMax(0, px(t.bottom()) - y));
}

inline void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace lumaris::test
