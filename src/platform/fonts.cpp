#include "platform/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QStringList>

namespace lumaris::platform {

namespace {

// Noto Naskh Arabic UI keeps its ink close to a Latin line (Noto Naskh's
// descenders reach half as deep again) with letters of full size, an alef of
// 0.67 em. At full width the widest built-in caption takes 1.14 times its
// label; at 88% every one fits, and 85% leaves a point to spare.
const QString kArabicFace = QStringLiteral("Noto Naskh Arabic UI");
constexpr int kArabicStretch = 85;

} // namespace

void installFontSubstitutes() {
    // Latin from a face of Arial's metrics where there is one; Arabic from the
    // stand-in, which also fills in anything the slip text sets apart.
    const QStringList sans = {QStringLiteral("Liberation Sans"),
                              QStringLiteral("Nimbus Sans"),
                              kArabicFace,
                              QStringLiteral("Noto Naskh Arabic"),
                              QStringLiteral("Noto Sans Arabic"),
                              QStringLiteral("DejaVu Sans")};
    for (const char* face : {"Arial", "Tahoma", "MS Sans Serif", "Microsoft Sans Serif"})
        QFont::insertSubstitutions(QString::fromLatin1(face), sans);
    // No magnetic-ink face is packaged: a monospaced face keeps the digits in step.
    QFont::insertSubstitutions(QStringLiteral("MICR QUILLMARO"),
                               {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Mono")});
}

ArabicStandIn arabicStandIn() {
    return {kArabicFace, kArabicStretch};
}

bool faceInstalled(const QString& family) {
    // Asked for every caption laid out: the answer is kept per face.
    static QHash<QString, bool> known;
    const auto it = known.constFind(family);
    if (it != known.constEnd())
        return *it;
    const bool installed = QFontDatabase::hasFamily(family);
    known.insert(family, installed);
    return installed;
}

} // namespace lumaris::platform
