#pragma once

// The period selection as the main window uses it: shown at the start, and again
// when the return command asks for it.
namespace ledger {

struct Ledger;

class PeriodChooser {
public:
    virtual ~PeriodChooser() = default;
    // Lets the user choose a period; true when one was chosen (ledger.CurData
    // names it), false on cancel.
    virtual bool choose(Ledger& ledger) = 0;
    // Whether the return command asked to go back to the selection.
    virtual bool returnRequested() const = 0;
};

// Stands in until the selection dialog exists: chooses the current month of
// today's year file without asking.
class CurrentMonthChooser : public PeriodChooser {
public:
    bool choose(Ledger& ledger) override;
    bool returnRequested() const override { return false; }
};

}  // namespace ledger
