#pragma once
#include <QString>
#include <QWidget>
#include <cstdlib>

namespace testing_support {

// With TOLVANE_SCREENSHOT_DIR set, saves the widget as <name>.png there, for a
// person to look at.
inline void screenshot(QWidget* w, const QString& name) {
    const char* dir = std::getenv("TOLVANE_SCREENSHOT_DIR");
    if (!dir || !*dir) return;
    w->grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
}

}  // namespace testing_support
