#pragma once
#include <functional>

#include "ledger/ChangeCheck.h"
#include "ledger/Startup.h"

// The start and close steps of the payroll program's main window, free of any
// window: the window forwards its first activation and its close requests here,
// and the steps call back into the window and the other dialogs through hooks.
namespace ledger {

class MainLifecycle {
public:
    struct Hooks {
        // The start-up password; true when the program may go on.
        std::function<bool()> passwordGate;
        // The period selection, shown modally; true when it ended with OK.
        std::function<bool()> selectPeriod;
        // Whether the return command asked to go back to the period selection.
        std::function<bool()> returnRequested;
        // Opens the chosen period in the main window.
        std::function<void()> openPeriod;
        // Restores the window's placement from [Window].
        std::function<void()> restorePlacement;
        // Closes the main window, which ends the program.
        std::function<void()> closeWindow;
        // The change check of the open period, asking the save question.
        std::function<SaveAnswer()> checkModified;
        // The save command.
        std::function<void()> save;
        // Appends the start event to the event log.
        std::function<void()> logStart;
    };

    MainLifecycle(Prompter& prompter, Hooks hooks)
        : prompter_(prompter), hooks_(std::move(hooks)) {}

    // The tables loaded at creation (0..3).
    int tablesLoaded = 0;
    // Set until the first period is open; closing then asks nothing.
    bool noPeriodYet = true;
    // Set by a restore: the program ends with no question and keeps [Window].
    bool skipClosePrompts = false;

    // The one-time start sequence of the first activation; later calls do nothing.
    void FormActivate();
    // Whether the window may close now.
    bool FormCloseQuery();
    // Whether closing writes the [Window] keys: not after a restore, and not
    // before the stored placement was taken up, which would overwrite it with the
    // design size.
    bool writesPlacementOnClose() const { return !skipClosePrompts && placementRestored_; }

    bool activated() const { return activated_; }

private:
    // Runs a step; an error it throws is shown and false returned.
    bool attempt(const std::function<void()>& step);

    Prompter& prompter_;
    Hooks hooks_;
    bool activated_ = false;
    bool placementRestored_ = false;
};

}  // namespace ledger
