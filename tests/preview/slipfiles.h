#pragma once
// Slip files for window tests, written as code page 1256 text.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <string>

#include "core/cp1256.h"

namespace lumaris::test {

class SlipDir {
  public:
    // Writes UTF-8 text (LF line ends become CR LF) as code page 1256.
    QString write(const QString& name, const std::string& utf8Text) const {
        std::string crlf;
        for (char c : utf8Text) {
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
    QString path(const QString& name) const { return mDir.filePath(name); }

  private:
    QTemporaryDir mDir;
};

// A [Main] and [Page] head; controls are appended by the caller.
inline std::string slipHead(const std::string& ver, int ctlCount, int widthMm = 210,
                            int heightMm = 297, int orientation = 1, int size = 9) {
    std::string s = "[Main]\n";
    if (!ver.empty())
        s += "  Ver=" + ver + "\n";
    s += "  FormNum=1\n  CTL_Count=" + std::to_string(ctlCount) + "\n";
    s += "[Page]\n  Size=" + std::to_string(size) + "\n  Width=" + std::to_string(widthMm) +
         "\n  Height=" + std::to_string(heightMm) +
         "\n  Orientation=" + std::to_string(orientation) + "\n";
    return s;
}

} // namespace lumaris::test
