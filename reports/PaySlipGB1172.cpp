#include "reports/PaySlipGB1172.h"

#include <cstdio>
#include <string>
#include <vector>

#include "ledger/Common.h"

namespace reports {
namespace {

using ledger::ItemGroup;

constexpr float kCellWidth = 20.6f;
constexpr float kRowStartX = 17.0f;
constexpr float kValueDy = 4.2f;

void text(PrnCanvas& c, const std::string& s, float x, float y) {
    if (!s.empty()) c.DrawText(s, x, y);
}

// "令和8年4月分 給与明細書".
std::string titleGB1172(const ledger::Ledger& l) {
    const int p = l.CurData.Period;
    std::string head = l.CurData.Era + std::to_string(l.CurData.Year) + "年";
    std::string kind;
    if (p == 13)
        kind = "夏期 賞与";
    else if (p == 14)
        kind = "冬期 賞与";
    else if (p == 15)
        kind = l.sysOption.tokuSyoyo;
    else
        kind = std::to_string(p) + "月分 給与";
    return head + kind + "明細書";
}

// Fills the cells of one row from the left; a cell whose item is not on the
// employee's layout takes no place.
class CellPacker {
public:
    CellPacker(PrnCanvas& c, const ledger::Ledger& l, int payForm)
        : c_(c), l_(l), payForm_(payForm) {}

    void startRow(float y) {
        x_ = kRowStartX;
        y_ = y;
    }

    // Whether the item of the code is on the layout for the pay type; the first
    // slot holding exactly that code decides.
    bool inUse(ItemGroup group, std::string_view code) const {
        if (payForm_ < 1 || payForm_ > ledger::kPayTypes) return false;
        if (SlipItemLabel(code, l_.sysOption).empty()) return false;
        auto codes = l_.PrnLayout[payForm_].codes(group);
        auto items = l_.itemTables.items(group);
        for (std::size_t s = 0; s < codes.size(); ++s)
            if (codes[s] == code) return s < items.size() && items[s].Use[std::size_t(payForm_)];
        return false;
    }

    // Draws the cell when its item is in use; returns the amount printed (0 for
    // attendance and for a cell left out).
    std::int64_t cell(ItemGroup group, std::string_view code) {
        if (!inUse(group, code)) return 0;
        const ledger::SysOption& opt = l_.sysOption;
        std::string label = SlipItemLabel(code, opt);
        text(c_, label, x_, y_);
        std::int64_t amount = 0;
        if (group == ItemGroup::Attendance) {
            double v = SlipAttendanceByLabel(label, opt, l_.Attendance(slot_));
            text(c_, SlipAttendanceText(label, v, opt.timeStyle), x_ + 10, y_ + kValueDy);
        } else {
            amount = SlipAmountByLabel(group, label, opt, l_.Payment(slot_), l_.Deduction(slot_));
            text(c_, SlipAmountText(amount), x_ + 3.5f, y_ + kValueDy);
        }
        x_ += kCellWidth;
        return amount;
    }

    void setSlot(int slot) { slot_ = slot; }

private:
    PrnCanvas& c_;
    const ledger::Ledger& l_;
    int payForm_;
    int slot_ = 1;
    float x_ = kRowStartX;
    float y_ = 0;
};

// A fixed total: its caption, and the amount 3.5 mm in and one row lower.
void total(PrnCanvas& c, const char* caption, std::int64_t amount, float x, float y) {
    c.DrawText(caption, x, y);
    text(c, SlipAmountText(amount), x + 3.5f, y + kValueDy);
}

}  // namespace

SlipCells SlipCellsFor(int period) {
    SlipCells cells;
    if (period >= ledger::kFirstBonus) {
        cells.payment[0] = "V賞与";
        cells.payment[1] = "V役員報酬";
        cells.payment[2] = "F";
        cells.paymentCount = 9;
        cells.deduction[12] = "F";
        cells.attendance = false;
    }
    return cells;
}

void DrawSlipFrameGB1172(PrnCanvas& c) {
    c.resetFont("ＭＳ ゴシック");
    c.thinPen();
    c.DrawBox(12, 13, 95, 34);
    c.DrawBox(102, 13, 165, 34);
    c.DrawBox(182, 15, 202, 28);

    const float bandTops[3] = {45, 74.5f, 104};
    for (float y0 : bandTops) {
        for (int i = 0; i < 3; ++i)
            c.ShadeBox(16.5f, y0 + 8.4f * float(i), 202, y0 + 8.4f * float(i) + 4.2f);
        for (int j = 1; j <= 5; ++j)
            c.DrawLine(16.5f, y0 + 4.2f * float(j), 202, y0 + 4.2f * float(j));
        for (int k = 0; k <= 8; ++k)
            c.DrawLine(16.5f + kCellWidth * float(k), y0, 16.5f + kCellWidth * float(k),
                       y0 + 25.2f);
    }

    c.thickPen();
    c.DrawBox(12, 45, 202, 70.2f);
    c.DrawBox(12, 74.5f, 202, 99.7f);
    c.DrawBox(12, 104, 202, 129.2f);
    c.DrawLine(12, 120.8f, 201.5f, 120.8f);
    c.DrawBox(181.3f, 61.8f, 202, 70.2f);
    c.DrawBox(181.3f, 91.3f, 202, 99.7f);
    c.DrawBox(181.3f, 120.8f, 202, 129.2f);
}

void DrawSlipGB1172(PrnCanvas& c, const ledger::Ledger& l, const SlipOptions& options, int slot) {
    if (slot < 1 || slot > ledger::kSlots) return;
    const ledger::SysOption& opt = l.sysOption;
    const ledger::TEmployeeRec& e = l.Employee(slot);
    const ledger::TPaymentRec& pay = l.Payment(slot);
    const ledger::TDeductionRec& ded = l.Deduction(slot);
    const bool preprinted = options.FormType == 4;

    if (options.FormType >= 5 && options.FormType <= 7) DrawSlipFrameGB1172(c);

    // Captions: the pre-printed form has no room for them either, so they are
    // printed on every type.
    c.resetFont("ＭＳ ゴシック");
    c.thinPen();
    c.SetFontPoints(10);
    c.DrawText("氏名", 15, 24);
    c.DrawText("所属", 15, 28);
    const std::pair<const char*, float> bandCaptions[] = {{"支", 50},    {"給", 61},  {"控", 79.5f},
                                                          {"除", 90.5f}, {"勤", 107}, {"怠", 114},
                                                          {"他", 123}};
    for (const auto& [ch, y] : bandCaptions) c.DrawText(ch, 12.5f, y);
    if (!preprinted) {
        c.DrawLine(110, 40.5f, 163, 40.5f);
        c.DrawText("支給日", 112, 37);
        c.DrawText("年", 140, 37);
        c.DrawText("月", 149, 37);
        c.DrawText("日", 158.5f, 37);
    }

    c.resetFont("ＭＳ 明朝");
    c.SetFontPoints(12);
    text(c, titleGB1172(l), 15, 14);
    c.SetFontPoints(10);
    text(c, l.BasicInfo().CorpName.str(), 15, 20);
    text(c, SlipNameText(l, slot), 25, 24);
    text(c, SlipDeptText(l, slot), 25, 28);

    const std::vector<std::string> remark = RemarkLines(SlipRemark(l, options, slot));
    if (!remark.empty()) {
        c.thinPen();
        c.DrawBox(102, 13, 165, 34);
        for (std::size_t i = 0; i < remark.size(); ++i)
            text(c, remark[i], 103.5f, 14 + 3.8f * float(i));
    }
    if (!preprinted) {
        text(c, c.PrintEra, 124, 36.7f);
        text(c, c.PrintMonth, 144, 36.7f);
        text(c, c.PrintDay, 153, 36.7f);
    }

    c.SetFontPoints(9);
    const SlipCells cells = SlipCellsFor(l.CurData.Period);
    CellPacker pack(c, l, e.PayForm);
    pack.setSlot(slot);

    // Payments: rows start at cells 0, 9 and 18.
    for (int i = 0; i < cells.paymentCount; ++i) {
        if (i == 0) pack.startRow(45.5f);
        if (i == 9) pack.startRow(53.9f);
        if (i == 18) pack.startRow(62.3f);
        pack.cell(ItemGroup::Payment, cells.payment[std::size_t(i)]);
    }
    if (pack.inUse(ItemGroup::Payment, "F課税支給合計"))
        total(c, "課税支給合計", pay.Amounts[ledger::kPayTaxableTotal], 161.2f, 62.3f);
    total(c, "支給合計", pay.Amounts[ledger::kPayTotal], 181.8f, 62.3f);

    // Deductions: the premiums; then the free deductions taken before tax, with
    // the social-insurance totals; then the taxes and the other free deductions.
    pack.startRow(75.0f);
    for (int i = 0; i <= 4; ++i) pack.cell(ItemGroup::Deduction, cells.deduction[std::size_t(i)]);
    pack.startRow(83.4f);
    for (int i = 5; i <= 10; ++i)
        if (opt.kazeiFlag(6 + i - 5))
            pack.cell(ItemGroup::Deduction, cells.deduction[std::size_t(i)]);
    if (pack.inUse(ItemGroup::Deduction, "F社会保険料計"))
        total(c, "社会保険料計", ded.Amounts[ledger::kDedSocialInsTotal], 140.6f, 83.4f);
    if (pack.inUse(ItemGroup::Deduction, "F社保控除後計"))
        total(c, "社保控除後計", ded.Amounts[ledger::kDedAfterSocialIns], 161.2f, 83.4f);
    pack.startRow(91.8f);
    for (int i = 11; i <= 12; ++i) pack.cell(ItemGroup::Deduction, cells.deduction[std::size_t(i)]);
    for (int i = 13; i <= 18; ++i)
        if (!opt.kazeiFlag(6 + i - 13))
            pack.cell(ItemGroup::Deduction, cells.deduction[std::size_t(i)]);
    total(c, "控除合計", ded.Amounts[ledger::kDedTotal], 181.8f, 91.8f);

    if (cells.attendance) {
        pack.startRow(104.5f);
        for (std::size_t i = 0; i < SlipAttendanceCells.size(); ++i) {
            if (i == 9) pack.startRow(112.9f);
            pack.cell(ItemGroup::Attendance, SlipAttendanceCells[i]);
        }
        if (pack.inUse(ItemGroup::Attendance, "V有休残日数")) {
            text(c, opt.attendanceLabels[ledger::kAttPaidLeaveLeft], 161.2f, 112.9f);
            text(c, SlipAttendanceText("", l.Attendance(slot).Values[ledger::kAttPaidLeaveLeft], 0),
                 171.2f, 117.1f);
        }
    }

    // Only the その他 items printed count toward the net amount.
    pack.startRow(121.3f);
    std::int64_t otherTotal = 0;
    for (std::string_view code : SlipOtherCells) otherTotal += pack.cell(ItemGroup::Other, code);
    total(c, "その他合計", otherTotal, 99.4f, 121.3f);
    total(
        c, "差引支給額",
        std::int64_t(pay.Amounts[ledger::kPayTotal]) - ded.Amounts[ledger::kDedTotal] + otherTotal,
        181.8f, 121.3f);
}

}  // namespace reports
