#include "platform/ui/Fonts.h"

#include <QFont>

namespace platform::ui {

QString familyFor(const QString& windowsName) {
    // Fixed-pitch names map to the fixed-pitch IPA faces, the "Ｐ" names to the
    // proportional ones.
    if (windowsName == QStringLiteral("ＭＳ 明朝")) return QStringLiteral("IPAMincho");
    if (windowsName == QStringLiteral("ＭＳ Ｐ明朝")) return QStringLiteral("IPAPMincho");
    if (windowsName == QStringLiteral("ＭＳ ゴシック")) return QStringLiteral("IPAGothic");
    if (windowsName == QStringLiteral("ＭＳ Ｐゴシック")) return QStringLiteral("IPAPGothic");
    return windowsName;
}

void installFontSubstitutions() {
    for (const char* name : {"ＭＳ 明朝", "ＭＳ Ｐ明朝", "ＭＳ ゴシック", "ＭＳ Ｐゴシック"}) {
        QString n = QString::fromUtf8(name);
        QFont::insertSubstitution(n, familyFor(n));
    }
}

}  // namespace platform::ui
