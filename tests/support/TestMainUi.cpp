#include <gtest/gtest.h>
#include <QApplication>
#include <cstdlib>

#include "platform/ui/EnterPressesButton.h"

// Dialog tests need one QApplication for the whole program, on the offscreen
// platform so that no test ever needs a display.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // As the programs' application object does.
    platform::ui::installEnterPressesButton(app);
    return RUN_ALL_TESTS();
}
