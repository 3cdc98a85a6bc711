#pragma once

// The period selection as the main window uses it: shown at the start, and again
// when the return command asks for it.
//
// The main window and the selection share two marks:
// - the return mark (the selection's Tag): the main window's return command sets it
//   with requestReturn(); every OK of the selection clears it;
// - ShowSettingsOnOpen: set when the user declined to refer to earlier data, so the
//   new period has no company record; the main window opens the settings dialog
//   right after opening the period while it is set. Every OK that passes its
//   checks clears it first.
namespace ledger {

struct Ledger;

struct PeriodChoiceMarks {
    int Tag = 0;  // 1 = return to the selection requested
    bool ShowSettingsOnOpen = false;
};

class PeriodChooser {
public:
    virtual ~PeriodChooser() = default;
    // Lets the user choose a period; true when one was chosen (ledger.CurData
    // names it and memory holds it), false on cancel.
    virtual bool choose(Ledger& ledger) = 0;

    // Whether the return command asked to go back to the selection.
    bool returnRequested() const { return marks.Tag == 1; }
    void requestReturn() { marks.Tag = 1; }
    bool showSettingsOnOpen() const { return marks.ShowSettingsOnOpen; }

    PeriodChoiceMarks marks;
};

// Chooses the current month of today's year file without asking (tests of the
// main window and of the start-up).
class CurrentMonthChooser : public PeriodChooser {
public:
    bool choose(Ledger& ledger) override;
};

}  // namespace ledger
