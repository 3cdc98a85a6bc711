#include "platform/ui/QtTranslation.h"

#include <QCoreApplication>

namespace platform::ui {

QtTranslation::QtTranslation(const QString& folder) {
    if (translator_.load(QStringLiteral("qtbase_ja"), folder))
        installed_ = QCoreApplication::installTranslator(&translator_);
}

QtTranslation::~QtTranslation() {
    if (installed_) QCoreApplication::removeTranslator(&translator_);
}

}  // namespace platform::ui
