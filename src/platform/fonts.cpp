#include "platform/fonts.h"

#include <QFont>
#include <QStringList>

namespace lumaris::platform {

void installFontSubstitutes() {
    // Latin from a face of Arial's metrics where there is one; Arabic from Noto
    // Naskh, which shapes well and is the closest in width and line height to
    // the Arabic of the faces the slips were designed with.
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                              QStringLiteral("Noto Naskh Arabic"),
                              QStringLiteral("Noto Sans Arabic"), QStringLiteral("DejaVu Sans")};
    for (const char* face : {"Arial", "Tahoma", "MS Sans Serif", "Microsoft Sans Serif"})
        QFont::insertSubstitutions(QString::fromLatin1(face), sans);
    // No magnetic-ink face is packaged: a monospaced face keeps the digits in step.
    QFont::insertSubstitutions(QStringLiteral("MICR QUILLMARO"),
                               {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Mono")});
}

} // namespace lumaris::platform
