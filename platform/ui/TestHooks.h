#pragma once
#include <QObject>
#include <QTimer>
#include <QWidget>

// Hooks from the environment that let the test suite run a real program without
// a person, shared by both programs:
// TOLVANE_TEST_MESSAGES=<file>     every message box appends its text as one line
//                                  to the file and is answered with OK or Yes;
// TOLVANE_TEST_QUIT_AFTER_START=1  the program closes once its start sequence ran;
// TOLVANE_TEST_ACCEPT_DIALOGS=1    start-up choices take their default without
//                                  being shown;
// TOLVANE_TEST_QUIT_AT_FIRST_DIALOG=1  the process ends as soon as the first
//                                  dialog has been painted (what a start costs
//                                  until the user can act), without tearing down.
namespace platform::ui::testhooks {

// Installs the message-box responder when TOLVANE_TEST_MESSAGES is set and the
// first-dialog watch when TOLVANE_TEST_QUIT_AT_FIRST_DIALOG is.
void install();

bool acceptDialogs();
bool quitAfterStart();

// With TOLVANE_TEST_QUIT_AFTER_START, closes the window once it emits the signal.
template <typename Window, typename Signal>
void closeAfter(Window* window, Signal finished) {
    if (!quitAfterStart()) return;
    QObject::connect(window, finished, window,
                     [window] { QTimer::singleShot(0, window, &QWidget::close); });
}

}  // namespace platform::ui::testhooks
