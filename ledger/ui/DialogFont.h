#pragma once
#include <QFont>

#include "platform/ui/Fonts.h"

namespace ledger::ui {

// The font of the small dialogs: ＭＳ Ｐゴシック 9 pt, through its stand-in.
inline QFont dialogFont() {
    return QFont(platform::ui::familyFor(QStringLiteral("ＭＳ Ｐゴシック")), 9);
}

}  // namespace ledger::ui
