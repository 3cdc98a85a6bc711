#pragma once
#include <array>
#include <string>
#include <vector>

#include "ledger/ItemGrid.h"
#include "ledger/ItemTables.h"
#include "ledger/PayrollRecords.h"

// Which items the slip layout of each pay type holds, in the terms the salary and
// bonus calculations ask: by record amount and by grid row. Deciding that means
// resolving every layout code to its user label and comparing labels; doing it
// once per layout instead of once per employee and item is what keeps a
// recalculation of 80 employees quick.
namespace ledger {

struct Ledger;

struct PayTypeItemUse {
    // Whether the layout holds the item each amount belongs to (the salary or the
    // bonus meaning of the amount, by the kind resolved for). Amounts no item
    // stands for (totals, その他) are false.
    std::array<bool, kPaymentAmounts> payment{};
    std::array<bool, kDeductionAmounts> deduction{};
    // IsGridItemUsed of each grid row (row 0 and rows past the end: false).
    std::vector<bool> gridRow;

    bool gridRowUsed(int row) const {
        return row >= 0 && row < int(gridRow.size()) && gridRow[std::size_t(row)];
    }
};

// The use for one pay type (anything but 1..3 holds nothing) and period kind.
PayTypeItemUse ResolveItemUse(const Ledger& ledger, int payType, SlipKind kind);

// The use of all three pay types, resolved again only when the layout, the item
// tables, the labels, the grid rows or the kind differ from the last resolution.
class ItemUseCache {
public:
    // [pay type]: index 0 (and any pay type outside 1..3) holds nothing.
    const PayTypeItemUse& of(int payType) const {
        return use_[payType >= 1 && payType <= kPayTypes ? std::size_t(payType) : 0];
    }
    // Brings the resolution up to date with the ledger.
    void refresh(const Ledger& ledger, SlipKind kind);

private:
    // Everything the resolution reads.
    struct Inputs {
        SlipKind kind = SlipKind::Salary;
        std::array<std::string, 15> attendanceLabels;
        std::array<std::string, 11> paymentLabels;
        std::array<std::string, 15> freeLabels;
        std::vector<std::string> codes;  // every layout code, pay type by pay type
        std::vector<bool> uses;          // every item table entry's Use flags
        std::vector<GridItem> gridItems;
        bool operator==(const Inputs&) const = default;
    };
    static void readInputs(const Ledger& ledger, SlipKind kind, Inputs& in);

    bool valid_ = false;
    Inputs inputs_, scratch_;
    std::array<PayTypeItemUse, kPayTypes + 1> use_;
};

}  // namespace ledger
