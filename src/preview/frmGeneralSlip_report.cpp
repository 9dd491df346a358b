// The report file: saving the slip shown, filled with its values, as a .Dqmx
// file with the logo embedded, and showing such a report again.

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <unistd.h>

#include "core/cp1256.h"
#include "core/fieldvalues.h"
#include "core/fileio.h"
#include "core/hexblock.h"
#include "core/tempfiles.h"
#include "platform/mouse.h"
#include "preview/filedialogs.h"
#include "preview/frmGeneralSlip.h"
#include "preview/messages.h"
#include "preview/picturebox.h"
#include "preview/reportfile.h"

namespace lumaris {

namespace {

std::string nativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A fixed name in the private temporary folder; none when the folder is unusable.
std::optional<std::string> tempPath(const char* name, std::string* error = nullptr) {
    const auto folder = tempFolder(error);
    if (!folder)
        return std::nullopt;
    return (*folder / name).string();
}

// Says which file could not be written and why (errno of the failed call).
void reportSaveError(QWidget* owner, const QString& file) {
    showError(owner, QStringLiteral("Save"),
              QStringLiteral("Cannot save ") + QString::fromLocal8Bit(fileError(nativePath(file))));
}

} // namespace

void frmGeneralSlip::connectReport() {
    platform::onClick(labSave, [this] { labSave_Click(); });
}

void frmGeneralSlip::labSave_Click() {
    Command1_Click();
    const QString path = ShowSave(this, QStringLiteral("Vyr Slip|*.Dqmx|All files|*.*"),
                                  QStringLiteral("Save VYR Slep"), QString());
    if (path.isEmpty())
        return;
    SaveReportFile(withReportExtension(path));
}

void frmGeneralSlip::SaveReportFile(const QString& path) {
    if (mSaveFile.isEmpty() || path.isEmpty())
        return;
    // The whole text is read before the target is touched, so a report can be
    // saved over the file it is shown from.
    const ReportText report = buildReportText(nativePath(mSlipFile), gFieldValues);

    std::string logo;
    std::string error;
    if (auto bmp = tempPath("picLogo.bmp", &error)) {
        logo = *bmp;
        if (report.hasLogo) {
            // A logo that cannot be written must not leave an earlier report's
            // logo behind to be embedded in this one. A link planted at the
            // fixed name is replaced, never followed.
            const QImage picture = picBuffer ? picBuffer->picture() : QImage();
            QByteArray bytes;
            QBuffer buffer(&bytes);
            errno = 0;
            if (picture.isNull() || !buffer.open(QIODevice::WriteOnly) ||
                !picture.save(&buffer, "BMP")) {
                ::unlink(logo.c_str());
            } else if (!replaceFileAtomically(
                           logo, std::string_view(bytes.constData(), size_t(bytes.size())),
                           LinkPolicy::Replace)) {
                ::unlink(logo.c_str());
                reportSaveError(this, QFile::decodeName(logo.c_str()));
                return;
            }
        }
    } else if (report.hasLogo) {
        showError(this, QStringLiteral("Save"),
                  QStringLiteral("Cannot save the logo: %1").arg(QString::fromLocal8Bit(error)));
        return;
    }
    errno = 0;
    if (!writeReportFile(nativePath(path), report.text, logo))
        reportSaveError(this, path);
}

void frmGeneralSlip::AppendFileAsHexBlock(const QString& source, const QString& target,
                                          const QString& name) {
    appendFileAsHexBlock(nativePath(source), nativePath(target), utf8ToCp1256(name.toStdString()));
}

void frmGeneralSlip::ExtractHexBlock(const QString& source, const QString& target,
                                     const QString& name) {
    extractHexBlock(nativePath(source), nativePath(target), utf8ToCp1256(name.toStdString()));
}

void frmGeneralSlip::ShowVyrRep(const QString& repFileName, bool ShowChiled) {
    QPointer<frmGeneralSlip> self(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    mReportMode = true;

    if (auto bmp = tempPath("picLogo20000.bmp")) {
        const QString file = QFile::decodeName(bmp->c_str());
        // A file left by an interrupted run must not pass for this report's logo.
        QFile::remove(file);
        ExtractHexBlock(repFileName, file, QStringLiteral("logo"));
        QImage picture;
        if (self && picture.load(file, "BMP"))
            picBuffer->setPicture(picture);
        QFile::remove(file);
    }
    if (self)
        picLogo->setPicture(picBuffer->picture());

    QApplication::restoreOverrideCursor();
    QCoreApplication::processEvents();

    // Pending events may have closed the window meanwhile.
    if (self && isLoaded() && &instance() == this)
        ShowSlip(repFileName, false, ShowChiled);
    mReportMode = false;
}

QString frmGeneralSlip::ShowSave(QWidget* owner, const QString& filter, const QString& title,
                                 const QString& initDir) {
    return runFileDialog(FileDialogKind::Save, owner, filter, title, initDir);
}

QString frmGeneralSlip::ShowOpen(QWidget* owner, const QString& filter, const QString& title,
                                 const QString& initDir) {
    return runFileDialog(FileDialogKind::Open, owner, filter, title, initDir);
}

} // namespace lumaris
