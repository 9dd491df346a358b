#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

#include "core/slipdoc.h"
#include "core/tempfiles.h"
#include "platform/fonts.h"
#include "preview/PreviewSlip.h"
#include "templates/modTemplateSlips.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: lumaris FILE.slp\n       lumaris --template N   (N = 1 to 12)\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumaris"));
    lumaris::platform::installFontSubstitutes();

    const QStringList args = QApplication::arguments().mid(1);
    std::string path;
    if (args.size() == 2 && args[0] == QLatin1String("--template")) {
        bool ok = false;
        int form = args[1].toInt(&ok);
        if (!ok || form < 1 || form > 12) {
            std::fprintf(stderr, "lumaris: no built-in template %s (there are 1 to 12)\n",
                         qPrintable(args[1]));
            return 2;
        }
        lumaris::modTemplateSlips::SelectTempFile(form);
        path = lumaris::modTemplateSlips::tmpSlpPath().string();
        if (path.empty()) {
            std::fprintf(stderr, "lumaris: no private temporary folder to write the template\n");
            return 1;
        }
    } else if (args.size() == 1 && !args[0].startsWith(QLatin1String("--"))) {
        QFileInfo info(args[0]);
        if (!info.exists() || !info.isFile() || !info.isReadable()) {
            std::fprintf(stderr, "lumaris: cannot read %s: %s\n", qPrintable(args[0]),
                         !info.exists() ? "no such file" : "not a readable file");
            return 1;
        }
        path = QFile::encodeName(args[0]).toStdString();
    } else {
        return usage();
    }

    if (!lumaris::OpenSlipFile(path)) {
        std::fprintf(stderr, "lumaris: cannot open %s as a slip\n", path.c_str());
        return 1;
    }
    lumaris::PreviewSlip();
    lumaris::deleteRecordedTempFiles();
    return 0;
}
