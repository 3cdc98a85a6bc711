#pragma once
#include <string>

#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "withholding/WithholdingFile.h"

namespace testing_support {

// A year open for the record editors: three employees of 令和6, the first with
// computed figures, the second in 乙欄.
struct EditorFixture {
    ledger::FixedClock clock{{2024, 12, 20, 9, 0, 0}};
    ledger::Ledger ledger{clock};
    withholding::WithholdingData data;

    EditorFixture() {
        ledger.CurData = {"令和6年給与･賞与.dat", "令和", 6, 12};
        for (int slot = 1; slot <= 3; ++slot) {
            ledger.Employee(slot).Key.set("k" + std::to_string(slot));
            ledger.Employee(slot).Name.set("社員" + std::to_string(slot));
            ledger.Employee(slot).Dept.set("総務部");
        }
        data.Record(1).PaidAmount = 3456789;
        data.Record(1).AnnualTax = 45600;
        data.Record(1).Status = withholding::kStatusComputed;
        data.Record(2).PersonFlags[withholding::kPersonOtsu] = 1;
    }
};

}  // namespace testing_support
