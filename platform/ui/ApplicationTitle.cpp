#include "platform/ui/ApplicationTitle.h"

#include <QCoreApplication>

namespace platform::ui {

void setApplicationTitle(const QString& title) {
    QCoreApplication::setApplicationName(title);
}

}  // namespace platform::ui
