#include "reports/PaySlip.h"

#include <array>
#include <utility>

#include "ledger/Common.h"
#include "platform/Errors.h"
#include "platform/Sjis.h"

namespace reports {
namespace {

using ledger::ItemGroup;

bool validSlot(int slot) {
    return slot >= 1 && slot <= ledger::kSlots;
}

// Empty texts draw nothing at all, not even an empty run.
void text(PrnCanvas& c, const std::string& s, float x, float y) {
    if (!s.empty()) c.DrawText(s, x, y);
}

// A label and the amount index it takes; the lists below are walked in order
// and the last match wins.
using LabelIndex = std::pair<std::string_view, int>;

std::vector<LabelIndex> paymentLabels(const ledger::SysOption& o) {
    const auto& p = o.paymentLabels;
    const auto& f = o.freeLabels;
    return {{"賞与", ledger::kPayBase},        {"役員報酬", ledger::kPayPost},
            {p[0], ledger::kPayBase},          {p[1], ledger::kPayPost},
            {p[2], ledger::kPayFamily},        {p[3], ledger::kPayOvertime},
            {p[4], ledger::kPayNight},         {p[5], ledger::kPayHoliday},
            {p[6], ledger::kPayHolidayNight},  {p[7], ledger::kPayCommuteFree},
            {p[8], ledger::kPayCommuteTaxed},  {p[9], ledger::kPayAbsence},
            {p[10], ledger::kPayLate},         {f[0], ledger::kPayFixed1},
            {f[1], ledger::kPayFixed1 + 1},    {f[2], ledger::kPayFixed1 + 2},
            {f[3], ledger::kPayVariable1},     {f[4], ledger::kPayVariable1 + 1},
            {f[5], ledger::kPayVariable1 + 2}, {"課税支給合計", ledger::kPayTaxableTotal}};
}

std::vector<LabelIndex> deductionLabels(const ledger::SysOption& o) {
    const auto& f = o.freeLabels;
    return {{"健康保険料", ledger::kDedHealth},
            {"厚生年金保険", ledger::kDedPension},
            {"厚生年金基金", ledger::kDedPensionFund},
            {"雇用保険料", ledger::kDedEmployment},
            {"介護保険料", ledger::kDedCare},
            {"社会保険料計", ledger::kDedSocialInsTotal},
            {"社保控除後計", ledger::kDedAfterSocialIns},
            {"所得税", ledger::kDedIncomeTax},
            {"住民税", ledger::kDedResidentTax},
            {f[6], ledger::kDedFixed1},
            {f[7], ledger::kDedFixed1 + 1},
            {f[8], ledger::kDedFixed1 + 2},
            {f[9], ledger::kDedVariable1},
            {f[10], ledger::kDedVariable1 + 1},
            {f[11], ledger::kDedVariable1 + 2}};
}

std::vector<LabelIndex> otherLabels(const ledger::SysOption& o) {
    const auto& f = o.freeLabels;
    return {{f[12], ledger::kPayOther1},
            {f[13], ledger::kPayOther1 + 1},
            {f[14], ledger::kPayOther1 + 2}};
}

int lastMatch(const std::vector<LabelIndex>& list, std::string_view label) {
    int found = -1;
    for (const auto& [l, index] : list)
        if (l == label) found = index;
    return found;
}

std::string fmtInt(const char* format, long long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

// "令和8年 4月分給与": the frame or the pre-printed form adds "明細書".
std::string titleGB1150(const ledger::Ledger& l) {
    const int p = l.CurData.Period;
    std::string head = l.CurData.Era + std::to_string(l.CurData.Year) + "年 ";
    if (p == 13) return head + "夏期賞与";
    if (p == 14) return head + "冬期賞与";
    if (p == 15) return head + l.sysOption.tokuSyoyo;
    return head + std::to_string(p) + "月分給与";
}

// Day of the month printed on the slip; a text that is no number counts as 0.
int printDayNumber(std::string_view day) {
    try {
        return ledger::StrToIntDef0(day);
    } catch (const platform::ConvertError&) {
        return 0;
    }
}

}  // namespace

std::string SlipRemark(const ledger::Ledger& ledger, const SlipOptions& options, int slot) {
    if (options.BikoPrn) return validSlot(slot) ? ledger.Employee(slot).Memo.str() : std::string();
    return options.EditMemo;
}

std::vector<std::string> RemarkLines(std::string_view text) {
    std::vector<std::string> lines;
    auto wrap = [&](std::string_view line) {
        std::string rest(line);
        do {
            std::string head = sjis::cutUtf8(rest, kRemarkLineBytes);
            // A character wider than the line (never in practice) still moves on.
            if (head.empty()) head = rest.substr(0, 1);
            lines.push_back(head);
            rest.erase(0, head.size());
        } while (!rest.empty());
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            wrap(text.substr(pos));
            break;
        }
        wrap(text.substr(pos, end - pos));
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
    if (lines.size() > std::size_t(kRemarkLines)) lines.resize(kRemarkLines);
    return lines;
}

std::string SlipNameText(const ledger::Ledger& ledger, int slot) {
    if (!validSlot(slot)) return {};
    return sjis::cutUtf8(ledger.Employee(slot).Name.str() + "  様", 21);
}

std::string SlipDeptText(const ledger::Ledger& ledger, int slot) {
    if (!validSlot(slot)) return {};
    std::string dept = ledger.Employee(slot).Dept.str();
    std::string head = dept.empty() ? std::string() : sjis::cutUtf8(dept + "・", 19);
    return head + ledger::EmployeeKindText(ledger, slot);
}

std::string SlipItemLabel(std::string_view code, const ledger::SysOption& options) {
    std::string label = ledger::ItemLabel(code, options);
    return label.empty() ? label : label.substr(1);
}

bool SlipSlotPrinted(const ledger::Ledger& ledger, ItemGroup group, int slotIndex, int payForm) {
    if (payForm < 1 || payForm > ledger::kPayTypes) return false;
    auto codes = ledger.PrnLayout[payForm].codes(group);
    auto items = ledger.itemTables.items(group);
    if (slotIndex < 0 || std::size_t(slotIndex) >= codes.size() ||
        std::size_t(slotIndex) >= items.size())
        return false;
    if (SlipItemLabel(codes[std::size_t(slotIndex)], ledger.sysOption).empty()) return false;
    return items[std::size_t(slotIndex)].Use[std::size_t(payForm)];
}

double SlipAttendanceByLabel(std::string_view label, const ledger::SysOption& options,
                             const ledger::TAttendanceRec& attendance) {
    double value = 0;
    for (int i = 0; i < ledger::kAttendanceItems; ++i)
        if (options.attendanceLabels[std::size_t(i)] == label) value = attendance.Values[i];
    return value;
}

std::int32_t SlipAmountByLabel(ItemGroup group, std::string_view label,
                               const ledger::SysOption& options, const ledger::TPaymentRec& pay,
                               const ledger::TDeductionRec& ded) {
    switch (group) {
        case ItemGroup::Payment: {
            int i = lastMatch(paymentLabels(options), label);
            return i < 0 ? 0 : pay.Amounts[i];
        }
        case ItemGroup::Deduction: {
            int i = lastMatch(deductionLabels(options), label);
            return i < 0 ? 0 : ded.Amounts[i];
        }
        case ItemGroup::Other: {
            int i = lastMatch(otherLabels(options), label);
            return i < 0 ? 0 : pay.Amounts[i];
        }
        case ItemGroup::Attendance:
            break;
    }
    return 0;
}

std::string SlipAttendanceText(std::string_view label, double value, int timeStyle) {
    if (ledger::IsTimeItem(label)) return ledger::FmtHours(value, timeStyle);
    return ledger::padLeft(ledger::fixedText(value, 2), 6);
}

std::string SlipAmountText(std::int64_t amount) {
    return ledger::FmtAmount(10, static_cast<double>(amount));
}

std::vector<int> YearToDatePeriods(const ledger::TPayrollFileHeader& header, int period, int payDay,
                                   int printDay) {
    auto month = [&](int k) { return header.BonusPayMonth[k - ledger::kFirstBonus]; };
    auto day = [&](int k) { return header.BonusPayDay[k - ledger::kFirstBonus]; };
    std::vector<int> out;
    if (period >= ledger::kFirstBonus && period <= ledger::kPeriods) {
        const int m = month(period);
        const int d = day(period);
        for (int j = 1; j <= 12; ++j) {
            if (j > m) break;
            // The salary of the bonus month is paid on the pay day.
            if (j == m && d < payDay) break;
            out.push_back(j);
        }
        for (int k = ledger::kFirstBonus; k <= ledger::kPeriods; ++k)
            if (month(k) <= m && !(month(k) == m && day(k) >= d)) out.push_back(k);
    } else if (period >= 1 && period < ledger::kFirstBonus) {
        for (int j = 1; j < period; ++j) out.push_back(j);
        for (int k = ledger::kFirstBonus; k <= ledger::kPeriods; ++k)
            if (month(k) <= period && !(month(k) == period && printDay < day(k))) out.push_back(k);
    }
    return out;
}

YearToDate ComputeYearToDate(const ledger::Ledger& ledger, int slot, std::string_view printDay,
                             const ledger::SavedBlockReader& reader) {
    YearToDate sums;
    if (!validSlot(slot)) return sums;
    const ledger::TEmployeeRec& employee = ledger.Employee(slot);
    auto add = [&](const ledger::TPaymentRec& pay, const ledger::TDeductionRec& ded) {
        sums.TaxablePay += pay.Amounts[ledger::kPayTaxableTotal];
        sums.SocialIns += ded.Amounts[ledger::kDedSocialInsTotal];
        sums.IncomeTax += ded.Amounts[ledger::kDedIncomeTax];
    };
    const std::vector<int> periods =
        YearToDatePeriods(ledger.FileHeader, ledger.CurData.Period, ledger.BasicInfo().PayDay,
                          printDayNumber(printDay));
    for (int p : periods) {
        auto block = reader.read(ledger.CurData.FileName, p);
        if (employee.Key.empty()) continue;
        // Slots shift between periods, and a key stored twice counts twice.
        for (int s = 0; s < ledger::kSlots; ++s)
            if (block->EmployeeTbl[s].Key.sameText(employee.Key))
                add(block->PaymentTbl[s], block->DeductionTbl[s]);
    }
    add(ledger.Payment(slot), ledger.Deduction(slot));
    return sums;
}

void DrawSlipFrameGB1150(PrnCanvas& c, bool cash) {
    c.resetFont("ＭＳ ゴシック");

    // Title, remark, receipt seal and the pay-date line: thin pen.
    c.thinPen();
    c.DrawBox(17.5f, 10, 108, 40);
    c.SetFontPoints(16);
    c.DrawText("明細書", 86, 13);
    c.SetFontPoints(9);
    c.DrawText("氏　名", 25, 25.2f);
    c.DrawText("所　属", 25, 29.7f);
    c.DrawText("コード", 25, 34.2f);
    c.DrawBox(114, 13, 178, 35);
    c.DrawBox(182, 17, 200, 35);
    c.DrawText("受領印", 190, 36.6f);
    c.DrawLine(127, 40.3f, 178, 40.3f);
    c.DrawText("支給日", 129, 36.6f);
    c.DrawText("年", 155, 36.6f);
    c.DrawText("月", 164, 36.6f);
    c.DrawText("日", 173.5f, 36.6f);

    // The columns: thick pen. Shading goes first so the rules stay on top.
    c.thickPen();
    // Attendance.
    c.ShadeBox(17.5f, 46.5f, 55, 52);
    c.ShadeBox(17.5f, 46.5f, 40.5f, 123.5f);
    c.DrawBox(17.5f, 46.5f, 55, 123.5f);
    c.DrawLine(17.5f, 52, 54.5f, 52);
    c.DrawLine(40.5f, 52, 40.5f, 123);
    c.DrawText("勤　　　　怠", 27, 48);
    // Tax column and dependants.
    c.ShadeBox(17.5f, 128.5f, 40.5f, 138);
    c.DrawBox(17.5f, 128.5f, 55, 138);
    c.DrawLine(17.5f, 133.5f, 54.5f, 133.5f);
    c.DrawLine(40.5f, 128.5f, 40.5f, 137.5f);
    c.DrawText("税", 21, 129.5f);
    c.DrawText("額", 28.1f, 129.5f);
    c.DrawText("表", 35.2f, 129.5f);
    c.DrawText("扶 養 人 数", 21, 134);
    // Payments, and deductions in the same shape 48.5 mm to the right.
    struct Column {
        float dx;
        const char* caption;
        float captionX;
        float totalX;
    };
    const Column columns[] = {{0.0f, "支　　　　　給", 70, 62},
                              {48.5f, "控　　　　　除", 118, 110}};
    for (const auto& [dx, caption, captionX, totalX] : columns) {
        c.ShadeBox(57 + dx, 46.5f, 103.5f + dx, 52);
        c.ShadeBox(57 + dx, 46.5f, 80 + dx, 138);
        c.ShadeBox(57 + dx, 133.5f, 103.5f + dx, 138);
        c.DrawBox(57 + dx, 46.5f, 103.5f + dx, 138);
        c.DrawLine(57 + dx, 52, 103 + dx, 52);
        c.DrawLine(57 + dx, 133.5f, 103 + dx, 133.5f);
        c.DrawLine(80 + dx, 52, 80 + dx, 137.5f);
        c.DrawText(caption, captionX, 48);
        c.DrawText("合     計", totalX, 134);
    }
    // その他.
    c.ShadeBox(154, 46.5f, 200.5f, 52);
    c.ShadeBox(154, 46.5f, 177, 74);
    c.DrawBox(154, 46.5f, 200.5f, 74);
    c.DrawLine(154, 52, 200, 52);
    c.DrawLine(154, 69, 200, 69);
    c.DrawLine(177, 52, 177, 73.5f);
    c.DrawText("そ　　の　　他", 166, 48);
    c.DrawText("合　　　計", 158, 70);
    // Net amount.
    c.ShadeBox(154, 78, 177, 83);
    c.DrawBox(154, 78, 200.5f, 83);
    c.DrawLine(177, 78, 177, 82.5f);
    c.DrawText("差引支給額", 157, 79);
    // Payment method.
    c.ShadeBox(154, 84, 200.5f, 89.5f);
    c.ShadeBox(154, 84, 177, 107.5f);
    c.ShadeBox(154, 102, 200.5f, 107.5f);
    c.DrawBox(154, 84, 200.5f, 107.5f);
    c.DrawLine(154, 89.5f, 200, 89.5f);
    c.DrawLine(154, 102, 200, 102);
    c.DrawLine(177, 89.5f, 177, 107);
    c.DrawText(cash ? "現 金 支 給 額" : "振 込 支 給 額", 166, 85.5f);
    c.DrawText("合　　　計", 158, 103);
    // Year to date; drawn even when the totals are not printed.
    c.ShadeBox(154, 123.8f, 177, 138);
    c.DrawBox(154, 123.8f, 200.5f, 138);
    c.DrawLine(159, 128.5f, 200, 128.5f);
    c.DrawLine(159, 133, 200, 133);
    c.DrawLine(159, 123.8f, 159, 137.5f);
    c.DrawLine(177, 123.8f, 177, 137.5f);
    c.DrawText("累", 155, 127.2f);
    c.DrawText("計", 155, 131.4f);
    c.DrawText("支　給　額", 160, 125);
    c.DrawText("社会保険料", 160, 129.5f);
    c.DrawText("所　得　税", 160, 134);
}

void DrawSlipGB1150(PrnCanvas& c, const ledger::Ledger& l, const SlipOptions& options, int slot) {
    if (!validSlot(slot)) return;
    const ledger::SysOption& opt = l.sysOption;
    const ledger::TEmployeeRec& e = l.Employee(slot);
    const ledger::TAttendanceRec& att = l.Attendance(slot);
    const ledger::TPaymentRec& pay = l.Payment(slot);
    const ledger::TDeductionRec& ded = l.Deduction(slot);
    const int payForm = e.PayForm;

    // Read the year file before drawing, so a failing file leaves no half slip.
    YearToDate ytd;
    if (opt.prnRuikei)
        ytd = ComputeYearToDate(l, slot, c.PrintDay,
                                options.Reader ? *options.Reader : ledger::fileBlockReader());

    const bool plainPaper = options.FormType >= 1 && options.FormType <= 3;
    const bool cash = e.PayMethod == 1;
    if (plainPaper) DrawSlipFrameGB1150(c, cash);

    c.resetFont("ＭＳ 明朝");
    c.thinPen();
    c.SetFontPoints(12);
    text(c, titleGB1150(l), 35, 14);

    c.SetFontPoints(10);
    text(c, l.BasicInfo().CorpName.str(), 25, 20);
    text(c, SlipNameText(l, slot), 40, 25);
    text(c, SlipDeptText(l, slot), 40, 29.5f);
    text(c, e.Code.str(), 40, 34);
    const std::vector<std::string> remark = RemarkLines(SlipRemark(l, options, slot));
    for (std::size_t i = 0; i < remark.size(); ++i) text(c, remark[i], 115, 15 + 3.8f * float(i));
    text(c, c.PrintEra, 141, 36.6f);
    text(c, c.PrintMonth, 159, 36.6f);
    text(c, c.PrintDay, 168, 36.6f);

    auto rowY = [](int i) { return 54 + 4.27f * float(i); };
    const auto& layout =
        payForm >= 1 && payForm <= ledger::kPayTypes ? &l.PrnLayout[payForm] : nullptr;

    // Unprinted slots keep their rows empty: rows are not closed up.
    for (int i = 0; i < ledger::kAttendanceSlots; ++i) {
        if (!SlipSlotPrinted(l, ItemGroup::Attendance, i, payForm)) continue;
        std::string label = SlipItemLabel(layout->Attendance[std::size_t(i)], opt);
        text(c, label, 18.5f, rowY(i));
        text(c, SlipAttendanceText(label, SlipAttendanceByLabel(label, opt, att), opt.timeStyle),
             43.5f, rowY(i));
    }

    text(c, e.TaxColumn != 0 ? "乙欄" : "甲欄", 47, 129.2f);
    text(c, fmtInt("%2lld人", e.Dependants), 47, 134);

    for (int i = 0; i < ledger::kPaymentSlots; ++i) {
        if (!SlipSlotPrinted(l, ItemGroup::Payment, i, payForm)) continue;
        std::string label = SlipItemLabel(layout->Payment[std::size_t(i)], opt);
        text(c, label, 58, rowY(i));
        text(c, SlipAmountText(SlipAmountByLabel(ItemGroup::Payment, label, opt, pay, ded)), 84.5f,
             rowY(i));
    }
    const std::int64_t payTotal = pay.Amounts[ledger::kPayTotal];
    text(c, SlipAmountText(payTotal), 84.5f, 134);

    for (int i = 0; i < ledger::kDeductionSlots; ++i) {
        if (!SlipSlotPrinted(l, ItemGroup::Deduction, i, payForm)) continue;
        std::string label = SlipItemLabel(layout->Deduction[std::size_t(i)], opt);
        text(c, label, 106.5f, rowY(i));
        text(c, SlipAmountText(SlipAmountByLabel(ItemGroup::Deduction, label, opt, pay, ded)), 133,
             rowY(i));
    }
    const std::int64_t dedTotal = ded.Amounts[ledger::kDedTotal];
    text(c, SlipAmountText(dedTotal), 133, 134);

    // Only the その他 items printed count toward the net amount.
    std::int64_t otherTotal = 0;
    for (int i = 0; i < ledger::kOtherSlots; ++i) {
        if (!SlipSlotPrinted(l, ItemGroup::Other, i, payForm)) continue;
        std::string label = SlipItemLabel(layout->Other[std::size_t(i)], opt);
        std::int32_t amount = SlipAmountByLabel(ItemGroup::Other, label, opt, pay, ded);
        otherTotal += amount;
        text(c, label, 155, rowY(i));
        text(c, SlipAmountText(amount), 181.5f, rowY(i));
    }
    text(c, SlipAmountText(otherTotal), 181.5f, 69.5f);
    const std::int64_t net = payTotal - dedTotal + otherTotal;
    text(c, SlipAmountText(net), 181.5f, 79);

    // The pre-printed form has its own place for a cash payment.
    if (plainPaper || !cash) {
        text(c, cash ? "現金支給" : "振込支給", 155, 90);
        text(c, SlipAmountText(net), 181.5f, 90);
        text(c, SlipAmountText(net), 181.5f, 103);
    } else {
        text(c, SlipAmountText(net), 181.5f, 109.5f);
    }

    if (opt.prnRuikei) {
        text(c, SlipAmountText(ytd.TaxablePay), 181.5f, 124.5f);
        text(c, SlipAmountText(ytd.SocialIns), 181.5f, 129.2f);
        text(c, SlipAmountText(ytd.IncomeTax), 181.5f, 134);
    }
}

}  // namespace reports
