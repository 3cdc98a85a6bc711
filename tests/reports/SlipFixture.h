#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ledger/Era.h"
#include "ledger/ItemTables.h"
#include "ledger/Ledger.h"
#include "platform/Sjis.h"
#include "reports/PaySlip.h"
#include "reports/PrnCanvas.h"
#include "reports/RecordingSurface.h"
#include "support/TempDir.h"

// A ledger with one realistic monthly-paid employee in slot 1 and a second one
// in slot 2, the default slip layouts, and a canvas at 100 dots per millimetre
// recording what the slip drawers draw, so a device position reads as
// hundredths of a millimetre.
namespace slip_test {

using ledger::ItemGroup;

inline int dots(double mm) {
    return int(std::lround(mm * 100));
}

struct SlipFixture : ::testing::Test {
    ledger::FixedClock clock{ledger::DateTime{2026, 4, 1}};
    ledger::Ledger l{clock};
    testing_support::TempDir dir;
    reports::RecordingSurface rec;
    reports::PrnCanvas c;
    reports::SlipOptions options;

    SlipFixture() {
        l.CurData.FileName = dir / "給与08.dat";
        l.CurData.Era = "令和";
        l.CurData.Year = 8;
        l.CurData.Period = 4;
        l.BasicInfo().CorpName.set("株式会社トルヴァン商事");
        l.BasicInfo().PayDay = 25;
        useLayout(ledger::SlipKind::Salary);
        l.sysOption.prnRuikei = false;  // the year-to-date tests switch it on

        reports::TargetMetrics m;
        m.DotsPerMmX = m.DotsPerMmY = 100;
        m.ThinPenWidth = 2;
        m.ThickPenWidth = 5;
        c.prepare(m, &rec);
        c.PrintEra = "令和  8";
        c.PrintMonth = " 4";
        c.PrintDay = "25";

        salaryEmployee(1);
        auto& e2 = l.Employee(2);
        e2.Key.set("260402_100000");
        e2.Code.set("0002");
        e2.Name.set("佐藤花子");
        e2.Kind = 4;
        e2.PayForm = 2;
        e2.PayMethod = 1;
        l.Payment(2).Amounts[ledger::kPayBase] = 96000;
        l.Payment(2).Amounts[ledger::kPayTotal] = 96000;
    }

    void useLayout(ledger::SlipKind kind) {
        ledger::ResetItemTables(l.itemTables, kind);
        l.PrnLayout = ledger::BuildPrnLayout(l.itemTables, kind);
    }
    // Switches an item on or off for a pay type, as the slip item dialog does.
    void setUse(ItemGroup group, int slotIndex, int payType, bool on,
                ledger::SlipKind kind = ledger::SlipKind::Salary) {
        l.itemTables.items(group)[std::size_t(slotIndex)].Use[std::size_t(payType)] = on;
        l.PrnLayout = ledger::BuildPrnLayout(l.itemTables, kind);
    }

    // 月給, transfer, 甲欄 with two dependants; April figures.
    void salaryEmployee(int slot) {
        auto& e = l.Employee(slot);
        e.Key.set("260401_090000");
        e.Code.set("0001");
        e.Name.set("山田太郎");
        e.Dept.set("営業部");
        e.Kind = 2;
        e.PayForm = 1;
        e.Status = 1;
        e.TaxColumn = 0;
        e.PayMethod = 0;
        e.Dependants = 2;

        double* a = l.Attendance(slot).Values;
        a[ledger::kAttScheduledDays] = 20;
        a[ledger::kAttDaysWorked] = 19;
        a[ledger::kAttPaidLeaveDays] = 1;
        a[ledger::kAttScheduledHours] = 160;
        a[ledger::kAttHoursWorked] = 152;
        a[ledger::kAttOvertime] = 7.5;
        a[ledger::kAttNightOvertime] = 2;
        a[ledger::kAttLateCount] = 1;
        a[ledger::kAttLateHours] = 0.25;
        a[ledger::kAttPaidLeaveLeft] = 9.5;

        std::int32_t* p = l.Payment(slot).Amounts;
        p[ledger::kPayBase] = 250000;
        p[ledger::kPayPost] = 20000;
        p[ledger::kPayFamily] = 10000;
        p[ledger::kPayFixed1] = 5000;
        p[ledger::kPayOvertime] = 14063;
        p[ledger::kPayNight] = 4688;
        p[ledger::kPayCommuteFree] = 12000;
        p[ledger::kPayCommuteTaxed] = 0;
        p[ledger::kPayLate] = -391;
        p[ledger::kPayTaxableTotal] = 298360;
        p[ledger::kPayTotal] = 310360;
        p[ledger::kPayOther1] = 1000;
        p[ledger::kPayOther1 + 1] = 2000;
        p[ledger::kPayOther1 + 2] = 4000;

        std::int32_t* d = l.Deduction(slot).Amounts;
        d[ledger::kDedHealth] = 14760;
        d[ledger::kDedPension] = 27450;
        d[ledger::kDedEmployment] = 1862;
        d[ledger::kDedSocialInsTotal] = 44072;
        d[ledger::kDedAfterSocialIns] = 254288;
        d[ledger::kDedIncomeTax] = 6640;
        d[ledger::kDedResidentTax] = 12300;
        d[ledger::kDedFixed1] = 3000;
        d[ledger::kDedVariable1] = 1500;
        d[ledger::kDedTotal] = 63012;
    }

    // The text of the run starting at (x, y) mm, within a dot of rounding.
    std::string at(double x, double y) const { return rec.textAt(dots(x), dots(y), 1); }
    bool hasText(std::string_view t) const { return rec.findText(t).has_value(); }
    // Every pair of text runs whose cells overlap, described for the failure
    // message; runs are laid on a fixed pitch of half the height per byte.
    std::vector<std::string> overlappingTexts() const {
        struct Box {
            int x1, y1, x2, y2;
            std::string text;
        };
        std::vector<Box> boxes;
        for (const auto& r : rec.texts()) {
            int w = int(sjis::byteLength(r.text)) * r.font.height / 2;
            boxes.push_back({r.x, r.y, r.x + w, r.y + r.font.height, r.text});
        }
        std::vector<std::string> out;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                const Box &a = boxes[i], &b = boxes[j];
                if (a.x1 < b.x2 && b.x1 < a.x2 && a.y1 < b.y2 && b.y1 < a.y2)
                    out.push_back(a.text + " / " + b.text);
            }
        return out;
    }
    // Every item of every list switched on for a pay type.
    void useEverything(int payType, ledger::SlipKind kind = ledger::SlipKind::Salary) {
        for (auto group :
             {ItemGroup::Attendance, ItemGroup::Payment, ItemGroup::Deduction, ItemGroup::Other})
            for (auto& item : l.itemTables.items(group)) item.Use[std::size_t(payType)] = true;
        l.PrnLayout = ledger::BuildPrnLayout(l.itemTables, kind);
    }
    bool hasRect(double x1, double y1, double x2, double y2) const {
        for (const auto& op : rec.ofKind(reports::RecordedOp::Rect))
            if (std::abs(op.x1 - dots(x1)) <= 1 && std::abs(op.y1 - dots(y1)) <= 1 &&
                std::abs(op.x2 - dots(x2)) <= 1 && std::abs(op.y2 - dots(y2)) <= 1)
                return true;
        return false;
    }
};

}  // namespace slip_test
