#include "ledger/MainLifecycle.h"

#include <exception>
#include <string>

namespace ledger {

bool MainLifecycle::attempt(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        prompter_.error(e.what());
    }
    return false;
}

void MainLifecycle::FormActivate() {
    // Marked before anything runs: a step that fails below must not bring the
    // password prompt and the period selection back at the next activation.
    if (activated_) return;
    activated_ = true;

    if (tablesLoaded < 3) {
        prompter_.error(std::string(kTablesMissing));
        hooks_.closeWindow();
        return;
    }
    attempt(hooks_.restorePlacement);
    placementRestored_ = true;

    if (!hooks_.passwordGate()) {
        hooks_.closeWindow();
        return;
    }
    const bool chosen = hooks_.selectPeriod();
    if (chosen && attempt(hooks_.openPeriod)) noPeriodYet = false;
    // The start counts also when the selection was cancelled; a log that cannot
    // be written is reported and changes nothing else.
    attempt(hooks_.logStart);
    if (!chosen) hooks_.closeWindow();
}

bool MainLifecycle::FormCloseQuery() {
    if (noPeriodYet || skipClosePrompts) return true;
    for (;;) {
        const SaveAnswer answer = hooks_.checkModified();
        if (answer == SaveAnswer::Cancel) return false;
        if (answer == SaveAnswer::No) break;
        // A save that failed keeps the window, with the changes still in it.
        if (!attempt(hooks_.save)) return false;
    }
    if (hooks_.returnRequested()) {
        if (hooks_.selectPeriod()) {
            attempt(hooks_.openPeriod);
            return false;
        }
        return true;
    }
    return prompter_.confirm(std::string(kExitQuestion));
}

}  // namespace ledger
