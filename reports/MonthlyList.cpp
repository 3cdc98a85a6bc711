#include "reports/MonthlyList.h"

#include <algorithm>
#include <array>

#include "ledger/Common.h"
#include "ledger/ItemTables.h"
#include "platform/Sjis.h"

namespace reports {
namespace {

using ledger::ItemGroup;
using ledger::SlipKind;

// Record amount index of each default payment slot, and the removable free
// item (1..15) a slot holds, 0 for the fixed ones.
constexpr std::array<int, ledger::kPaymentSlots> kPaymentIndex{0, 1,  2,  3,  4,  5,  6,  7,  8,
                                                               9, 10, 11, 15, 16, 12, 13, 14, 17};
constexpr std::array<int, ledger::kPaymentSlots> kPaymentFreeItem{0, 0, 0, 1, 2, 3, 0, 0, 0,
                                                                  0, 0, 0, 0, 0, 4, 5, 6, 0};
// The same for the deduction slots; -1 marks the unused slots.
constexpr std::array<int, ledger::kDeductionSlots> kDeductionIndex{
    0, 4, 1, 2, 3, 5, 6, -1, 7, 8, 9, 10, 11, -1, 12, 13, 14, -1};
constexpr std::array<int, ledger::kDeductionSlots> kDeductionFreeItem{0, 0, 0, 0, 0, 0,  0,  0,  0,
                                                                      0, 7, 8, 9, 0, 10, 11, 12, 0};

std::string shownLabel(std::string_view code, const ledger::SysOption& option) {
    std::string label = ledger::ItemLabel(code, option);
    return label.empty() ? label : label.substr(1);
}

bool inUse(const ledger::Ledger& l, int slot) {
    return !l.Employee(slot).Key.empty();
}

// Up to eight bytes of the third bonus's name in two-byte steps joined by
// blanks, as the title spaces its words; a step never cuts a double-byte
// character in half (two single-byte characters share a step).
std::string spacedBonusName(const std::string& name) {
    std::string cp932 = sjis::fromUtf8(name);
    std::vector<std::string> units;
    std::size_t used = 0;
    for (std::size_t i = 0; i < cp932.size();) {
        std::size_t n = sjis::isLead(static_cast<unsigned char>(cp932[i])) ? 2 : 1;
        if (n == 1 && i + 1 < cp932.size() &&
            !sjis::isLead(static_cast<unsigned char>(cp932[i + 1])))
            n = 2;
        n = std::min(n, cp932.size() - i);
        if (used + n > 8) break;
        units.push_back(sjis::toUtf8(cp932.substr(i, n)));
        used += n;
        i += n;
    }
    std::string out;
    for (std::size_t k = 0; k < units.size(); ++k) out += (k ? " " : "") + units[k];
    return out;
}

}  // namespace

std::vector<int> MonthlyActiveSlots(const ledger::Ledger& l) {
    std::vector<int> slots;
    for (int slot = 1; slot <= ledger::kSlots && inUse(l, slot); ++slot)
        if (ledger::IsActive(l, slot)) slots.push_back(slot);
    return slots;
}

std::string MonthlyGroupOf(const ledger::Ledger& l, int slot, MonthlyGrouping grouping) {
    return grouping == MonthlyGrouping::ByKind ? ledger::EmployeeKindText(l, slot)
                                               : l.Employee(slot).Dept.str();
}

std::vector<std::string> MonthlyGroupNames(const ledger::Ledger& l, MonthlyGrouping grouping) {
    std::vector<std::string> names;
    if (grouping == MonthlyGrouping::Normal) return names;
    if (grouping == MonthlyGrouping::ByKind)
        for (auto kind : ledger::kEmployeeKinds) names.emplace_back(kind);
    for (int slot = 1; slot <= ledger::kSlots && inUse(l, slot); ++slot) {
        std::string name = MonthlyGroupOf(l, slot, grouping);
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    return names;
}

MonthlyPagePlan BuildMonthlyPagePlan(const ledger::Ledger& l, MonthlyGrouping grouping) {
    MonthlyPagePlan plan;
    plan.grouping = grouping;
    std::vector<int> active = MonthlyActiveSlots(l);
    if (grouping == MonthlyGrouping::Normal) {
        plan.targetCount = int(active.size());
        plan.pageCount = plan.targetCount / kMonthlyPerPage + 1;
        return plan;
    }
    plan.groups = MonthlyGroupNames(l, grouping);
    plan.pageCount = 0;
    for (const std::string& group : plan.groups) {
        std::vector<int> members;
        for (int slot : active)
            if (MonthlyGroupOf(l, slot, grouping) == group) members.push_back(slot);
        if (members.empty()) continue;
        plan.targetCount += int(members.size());
        std::size_t sheets = members.size() / kMonthlyPerPage + 1;
        for (std::size_t i = 0; i < sheets; ++i) {
            std::size_t first = i * kMonthlyPerPage;
            plan.sheets.push_back(
                {group,
                 first < members.size() ? l.Employee(members[first]).Key.str() : std::string(),
                 i + 1 == sheets});
        }
    }
    plan.pageCount = int(plan.sheets.size());
    return plan;
}

std::vector<MonthlyRow> MonthlyRows(const LedgerRowFlags& flags, const ledger::SysOption& option) {
    std::vector<MonthlyRow> rows;
    const auto attendance = ledger::DefaultItemCodes(SlipKind::Salary, ItemGroup::Attendance);
    for (int i = 1; i <= kLedgerRowItems && std::size_t(i) <= attendance.size(); ++i)
        if (flags.isAdded(i))
            rows.push_back({MonthlyRow::Attendance, i - 1,
                            shownLabel(attendance[std::size_t(i - 1)], option)});
    if (!rows.empty()) rows.back().lineBelow = true;

    const auto payments = ledger::DefaultItemCodes(SlipKind::Salary, ItemGroup::Payment);
    for (std::size_t k = 0; k < payments.size(); ++k)
        if (!flags.isRemoved(kPaymentFreeItem[k]))
            rows.push_back(
                {MonthlyRow::Payment, kPaymentIndex[k], shownLabel(payments[k], option)});
    rows.push_back({MonthlyRow::Payment, ledger::kPayTotal, "支給項目合計", true, true});

    const auto deductions = ledger::DefaultItemCodes(SlipKind::Salary, ItemGroup::Deduction);
    for (std::size_t k = 0; k < deductions.size(); ++k)
        if (kDeductionIndex[k] >= 0 && !flags.isRemoved(kDeductionFreeItem[k]))
            rows.push_back(
                {MonthlyRow::Deduction, kDeductionIndex[k], shownLabel(deductions[k], option)});
    rows.push_back({MonthlyRow::Deduction, ledger::kDedTotal, "控除項目合計", true, true});
    rows.push_back(
        {MonthlyRow::Deduction, ledger::kDedSocialInsBase, "社保算定合計", true, false, true});

    const auto others = ledger::DefaultItemCodes(SlipKind::Salary, ItemGroup::Other);
    bool anyOther = false;
    for (std::size_t k = 0; k < others.size(); ++k)
        if (!flags.isRemoved(13 + int(k))) {
            rows.push_back({MonthlyRow::Deduction, ledger::kDedOther1 + int(k),
                            shownLabel(others[k], option)});
            anyOther = true;
        }
    if (anyOther) rows.back().lineBelow = true;
    rows.push_back({MonthlyRow::NetPay, 0, "差引支給額", true});
    return rows;
}

double AttendanceByLabel(const std::string& label, const ledger::TAttendanceRec& att,
                         const ledger::SysOption& option) {
    double value = 0;
    for (std::size_t i = 0; i < option.attendanceLabels.size(); ++i)
        if (option.attendanceLabels[i] == label) value = att.Values[i];
    return value;
}

std::string FormatAttendance(const std::string& label, double value, int timeStyle) {
    return ledger::IsTimeItem(label) ? ledger::FmtHours(value, timeStyle) : Fmt("%6.2f", value);
}

std::int64_t MonthlyAmount(const MonthlyRow& row, const ledger::Ledger& l, int slot,
                           OtherSource source) {
    switch (row.kind) {
        case MonthlyRow::Payment:
            return l.Payment(slot).Amounts[row.index];
        case MonthlyRow::Deduction:
            return l.Deduction(slot).Amounts[row.index];
        case MonthlyRow::NetPay:
            return NetPay(l.Payment(slot), l.Deduction(slot), source);
        default:
            return 0;
    }
}

std::string MonthlyListTitle(const ledger::Ledger& l, int period) {
    std::string title = Fmt("%s%d年  ", l.CurData.Era.c_str(), l.CurData.Year);
    switch (period) {
        case 13:
            title += "夏 期 賞 与";
            break;
        case 14:
            title += "冬 季 賞 与";
            break;
        case 15:
            title += spacedBonusName(l.sysOption.tokuSyoyo);
            break;
        default:
            title = Fmt("%s%d 月 分 給 与", title.c_str(), period);
    }
    return title + " 一 覧";
}

std::vector<int> MonthlyPageSlots(const ledger::Ledger& l, const MonthlyPagePlan& plan, int page) {
    std::vector<int> slots;
    if (page < 1) return slots;
    if (plan.grouping == MonthlyGrouping::Normal) {
        std::vector<int> active = MonthlyActiveSlots(l);
        for (std::size_t k = std::size_t(page - 1) * kMonthlyPerPage;
             k < active.size() && slots.size() < kMonthlyPerPage; ++k)
            slots.push_back(active[k]);
        return slots;
    }
    if (std::size_t(page) > plan.sheets.size()) return slots;
    const MonthlySheet& sheet = plan.sheets[std::size_t(page - 1)];
    // A totals-only sheet has no first employee.
    if (sheet.firstKey.empty()) return slots;
    int start = 0;
    for (int slot = 1; slot <= ledger::kSlots && inUse(l, slot); ++slot)
        if (l.Employee(slot).Key.str() == sheet.firstKey) {
            start = slot;
            break;
        }
    if (start == 0) return slots;
    for (int slot = start;
         slot <= ledger::kSlots && inUse(l, slot) && slots.size() < kMonthlyPerPage; ++slot)
        if (ledger::IsActive(l, slot) && MonthlyGroupOf(l, slot, plan.grouping) == sheet.group)
            slots.push_back(slot);
    return slots;
}

namespace {

// The page head and table sit higher than the other lists: the correction is
// lowered while the page is drawn and always put back, even when drawing fails.
class VerticalShift {
public:
    explicit VerticalShift(PrnCanvas& c) : c_(c), saved_(c.PrAdjustV) {}
    ~VerticalShift() { c_.PrAdjustV = saved_; }
    void set(double mm) { c_.PrAdjustV = saved_ + mm; }

private:
    PrnCanvas& c_;
    double saved_;
};

}  // namespace

void DrawMonthlyListPage(PrnCanvas& c, const ledger::Ledger& l, const MonthlyListJob& job,
                         int page) {
    const MonthlyPagePlan& plan = job.plan;
    const bool grouped = plan.grouping != MonthlyGrouping::Normal;
    const MonthlySheet* sheet = grouped && page >= 1 && std::size_t(page) <= plan.sheets.size()
                                    ? &plan.sheets[std::size_t(page - 1)]
                                    : nullptr;
    const std::vector<MonthlyRow> rows = MonthlyRows(job.flags, l.sysOption);
    const std::vector<int> slots = MonthlyPageSlots(l, plan, page);

    VerticalShift shift(c);
    shift.set(-7.0);
    DrawListHead(c, l, MonthlyListTitle(l, job.period), 100, 20, page, plan.pageCount);
    if (sheet && !sheet->group.empty()) c.DrawText("[" + sheet->group + "]", 187, 21.5f);

    shift.set(-10.0);
    constexpr float top = 29, rowH = 4.4f, left = 10, right = 290;
    const int R = int(rows.size());
    auto rowTop = [&](int r) { return top + rowH * float(r); };
    for (int r = 0; r <= R; r += 2) c.ShadeBox(left, rowTop(r), right, rowTop(r + 1));
    c.thickPen();
    c.DrawBox(left, top, right, rowTop(R + 1));
    c.thinPen();
    c.DrawLine(left, rowTop(1), right, rowTop(1));
    for (int j = 0; j < kMonthlyPerPage; ++j) {
        float x = 35 + 25.5f * float(j);
        c.DrawLine(x, top, x, rowTop(R + 1));
    }

    c.FontInfo.Narrow = true;
    for (int k = 0; k < R; ++k) {
        const MonthlyRow& row = rows[std::size_t(k)];
        const float y = rowTop(k + 1);
        if (row.boxed) c.DrawBox(left, y, right, y + rowH);
        if (row.lineBelow) c.DrawLine(left, y + rowH, right, y + rowH);
        c.FontInfo.Bold = row.bold;
        c.DrawText(row.caption, 13, y + 0.5f);
        c.FontInfo.Bold = false;
    }

    for (std::size_t j = 0; j < slots.size(); ++j) {
        const int slot = slots[j];
        const float x = 40 + 25.5f * float(j);
        c.DrawSjis(l.Employee(slot).Name.bytes(), 35.5f + 25.5f * float(j), 29.5f);
        for (int k = 0; k < R; ++k) {
            const MonthlyRow& row = rows[std::size_t(k)];
            std::string text;
            if (row.kind == MonthlyRow::Attendance)
                text = FormatAttendance(
                    row.caption, AttendanceByLabel(row.caption, l.Attendance(slot), l.sysOption),
                    l.sysOption.timeStyle);
            else
                text = ledger::FmtAmount(
                    9, double(MonthlyAmount(row, l, slot, OtherSource::Deduction)));
            c.DrawText(text, x, rowTop(k + 1) + 0.5f);
        }
    }

    const bool lastSheet = grouped ? (sheet && sheet->lastOfGroup) : page == plan.pageCount;
    if (!lastSheet || slots.size() >= kMonthlyPerPage) return;
    std::vector<int> members;
    for (int slot : MonthlyActiveSlots(l))
        if (!sheet || MonthlyGroupOf(l, slot, plan.grouping) == sheet->group)
            members.push_back(slot);
    const float x = 40 + 25.5f * float(slots.size());
    c.FontInfo.Bold = true;
    c.DrawText("　合　計", x, 29.5f);
    c.FontInfo.Bold = false;
    for (int k = 0; k < R; ++k) {
        const MonthlyRow& row = rows[std::size_t(k)];
        if (row.kind == MonthlyRow::Attendance) continue;
        std::int64_t sum = 0;
        for (int slot : members) sum += MonthlyAmount(row, l, slot, OtherSource::Deduction);
        c.DrawText(ledger::FmtAmount(10, double(sum)), x, rowTop(k + 1) + 0.5f);
    }
}

}  // namespace reports
