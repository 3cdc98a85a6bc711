#pragma once
#include <string>

#include "ledger/Ledger.h"
#include "reports/PrnCanvas.h"
#include "reports/RecordingSurface.h"

// A payroll state and a recording target for the list documents: 令和8 April,
// 100 dots per millimetre so recorded positions read as hundredths of a mm.
namespace reports::testing {

struct ListFixture {
    ledger::FixedClock clock{ledger::DateTime{2026, 4, 1}};
    ledger::Ledger l{clock};
    RecordingSurface rec;
    PrnCanvas c;

    ListFixture() {
        l.CurData.Era = "令和";
        l.CurData.Year = 8;
        l.CurData.Period = 4;
        l.BasicInfo().CorpName.set("有限会社テスト商会");
        TargetMetrics m;
        m.DotsPerMmX = m.DotsPerMmY = 100;
        m.ThinPenWidth = 1;
        m.ThickPenWidth = 3;
        c.prepare(m, &rec);
    }

    // Fills the next slot with an active employee paid by transfer.
    ledger::TEmployeeRec& add(const std::string& name, int netPay = 0) {
        int slot = next++;
        ledger::TEmployeeRec& e = l.Employee(slot);
        e.Key.set("260401_0000" + std::to_string(10 + slot));
        e.Code.set("A" + std::to_string(100 + slot));
        e.Name.set(name);
        e.Status = 1;
        e.Kind = 2;
        e.PayForm = 1;
        l.Payment(slot).Amounts[ledger::kPayTotal] = netPay;
        return e;
    }
    int slotOf(const ledger::TEmployeeRec& e) const { return int(&e - &l.Employee(1)) + 1; }

    // Recorded position of millimetres.
    static int at(double mm) { return int(mm * 100 + (mm >= 0 ? 0.5 : -0.5)); }
    std::string textAt(double x, double y) const { return rec.textAt(at(x), at(y), 1); }

    int next = 1;
};

}  // namespace reports::testing
