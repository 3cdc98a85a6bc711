#include "reports/AnnualLedger.h"

#include <string_view>
#include <vector>

#include "ledger/ItemLabel.h"
#include "ledger/ItemTables.h"
#include "ledger/NumberText.h"
#include "platform/Sjis.h"
#include "reports/ListHead.h"

namespace reports {
namespace {

using ledger::ItemGroup;
using ledger::SlipKind;
using Row = LedgerMoneyRow;

// The money rows and where each one's caption comes from: a position of a
// standard item list, or a fixed name.
struct MoneyRowDef {
    Row row;
    ItemGroup group;
    int listPos;            // position in the standard list; -1 = fixed name
    std::string_view name;  // the fixed name
};

constexpr std::array<MoneyRowDef, kLedgerMoneyRows> kRows{{
    {{Row::Payment, ledger::kPayBase, 0, false}, ItemGroup::Payment, 0, {}},
    {{Row::Payment, ledger::kPayPost, 0, false}, ItemGroup::Payment, 1, {}},
    {{Row::Payment, ledger::kPayFamily, 0, false}, ItemGroup::Payment, 2, {}},
    {{Row::Payment, ledger::kPayFixed1, 1, false}, ItemGroup::Payment, 3, {}},
    {{Row::Payment, ledger::kPayFixed1 + 1, 2, false}, ItemGroup::Payment, 4, {}},
    {{Row::Payment, ledger::kPayFixed1 + 2, 3, false}, ItemGroup::Payment, 5, {}},
    {{Row::Payment, ledger::kPayOvertime, 0, false}, ItemGroup::Payment, 6, {}},
    {{Row::Payment, ledger::kPayNight, 0, false}, ItemGroup::Payment, 7, {}},
    {{Row::Payment, ledger::kPayHoliday, 0, false}, ItemGroup::Payment, 8, {}},
    {{Row::Payment, ledger::kPayHolidayNight, 0, false}, ItemGroup::Payment, 9, {}},
    {{Row::Payment, ledger::kPayCommuteFree, 0, false}, ItemGroup::Payment, 10, {}},
    {{Row::Payment, ledger::kPayCommuteTaxed, 0, false}, ItemGroup::Payment, 11, {}},
    {{Row::Payment, ledger::kPayAbsence, 0, false}, ItemGroup::Payment, 12, {}},
    {{Row::Payment, ledger::kPayLate, 0, false}, ItemGroup::Payment, 13, {}},
    {{Row::Payment, ledger::kPayVariable1, 4, false}, ItemGroup::Payment, 14, {}},
    {{Row::Payment, ledger::kPayVariable1 + 1, 5, false}, ItemGroup::Payment, 15, {}},
    {{Row::Payment, ledger::kPayVariable1 + 2, 6, false}, ItemGroup::Payment, 16, {}},
    {{Row::Payment, ledger::kPayTaxableTotal, 0, false}, ItemGroup::Payment, 17, {}},
    {{Row::Payment, ledger::kPayTotal, 0, true}, ItemGroup::Payment, -1, "支給項目合計"},
    {{Row::Deduction, ledger::kDedHealth, 0, false}, ItemGroup::Deduction, 0, {}},
    {{Row::Deduction, ledger::kDedCare, 0, false}, ItemGroup::Deduction, 1, {}},
    {{Row::Deduction, ledger::kDedPension, 0, false}, ItemGroup::Deduction, 2, {}},
    {{Row::Deduction, ledger::kDedPensionFund, 0, false}, ItemGroup::Deduction, 3, {}},
    {{Row::Deduction, ledger::kDedEmployment, 0, false}, ItemGroup::Deduction, 4, {}},
    {{Row::Deduction, ledger::kDedSocialInsTotal, 0, false}, ItemGroup::Deduction, 5, {}},
    {{Row::Deduction, ledger::kDedAfterSocialIns, 0, false}, ItemGroup::Deduction, 6, {}},
    {{Row::Deduction, ledger::kDedIncomeTax, 0, false}, ItemGroup::Deduction, 8, {}},
    {{Row::Deduction, ledger::kDedResidentTax, 0, false}, ItemGroup::Deduction, 9, {}},
    {{Row::Deduction, ledger::kDedFixed1, 7, false}, ItemGroup::Deduction, 10, {}},
    {{Row::Deduction, ledger::kDedFixed1 + 1, 8, false}, ItemGroup::Deduction, 11, {}},
    {{Row::Deduction, ledger::kDedFixed1 + 2, 9, false}, ItemGroup::Deduction, 12, {}},
    {{Row::Deduction, ledger::kDedVariable1, 10, false}, ItemGroup::Deduction, 14, {}},
    {{Row::Deduction, ledger::kDedVariable1 + 1, 11, false}, ItemGroup::Deduction, 15, {}},
    {{Row::Deduction, ledger::kDedVariable1 + 2, 12, false}, ItemGroup::Deduction, 16, {}},
    {{Row::Deduction, ledger::kDedTotal, 0, true}, ItemGroup::Deduction, -1, "控除項目合計"},
    {{Row::Deduction, ledger::kDedSocialInsBase, 0, true},
     ItemGroup::Deduction,
     -1,
     "社保算定合計"},
    {{Row::Deduction, ledger::kDedOther1, 13, false}, ItemGroup::Other, 0, {}},
    {{Row::Deduction, ledger::kDedOther1 + 1, 14, false}, ItemGroup::Other, 1, {}},
    {{Row::Deduction, ledger::kDedOther1 + 2, 15, false}, ItemGroup::Other, 2, {}},
    {{Row::Net, 0, 0, true}, ItemGroup::Other, -1, "差引支給額"},
}};

constexpr int kPayTotalRow = 18;
constexpr int kDeductionTotalRow = 34;
constexpr int kSocialInsBaseRow = 35;
constexpr int kFirstOtherRow = 36;
constexpr int kNetRow = 39;

const std::array<Row, kLedgerMoneyRows> kPublicRows = [] {
    std::array<Row, kLedgerMoneyRows> rows{};
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = kRows[i].row;
    return rows;
}();

// A label as the reports show it: the code's label without its F/V prefix.
std::string shownLabel(std::string_view code, const ledger::SysOption& options) {
    std::string label = ledger::ItemLabel(code, options);
    return label.empty() ? label : label.substr(1);
}

bool rowShown(const Row& r, const LedgerRowFlags& flags) {
    return r.removableItem == 0 || !flags.isRemoved(r.removableItem);
}

// Page geometry, millimetres.
constexpr float kLeft = 10, kRight = 285;
constexpr float kGridTop = 29, kRowHeight = 4.4f;
constexpr float kCaptionX = 13, kFirstRowY = 33.9f;
constexpr float kTotalsX = 268.5f;
float columnX(int period) {
    return 36 + 15.5f * float(period - 1);
}
// Rows are placed from their index rather than by adding 4.4 mm again and again,
// so the last rows do not drift by the float error of forty additions.
float rowY(int row) {
    return float(double(kFirstRowY) + double(kRowHeight) * row);
}

// Restores the correction when the page ends, however it ends: the table is
// drawn higher by lowering it for the page only.
class CorrectionGuard {
public:
    explicit CorrectionGuard(PrnCanvas& c) : c_(c), saved_(c.PrAdjustV) {}
    ~CorrectionGuard() { c_.PrAdjustV = saved_; }
    double saved() const { return saved_; }
    CorrectionGuard(const CorrectionGuard&) = delete;
    CorrectionGuard& operator=(const CorrectionGuard&) = delete;

private:
    PrnCanvas& c_;
    double saved_;
};

}  // namespace

int LastSlotByKey(const ledger::TPeriodBlock& block, const ledger::ShortString<14>& key) {
    if (key.empty()) return 0;
    int found = 0;
    for (int s = 1; s <= ledger::kSlots; ++s)
        if (block.EmployeeTbl[s - 1].Key.sameText(key)) found = s;
    return found;
}

LedgerYear ReadLedgerYear(const ledger::SavedBlockReader& reader,
                          const std::filesystem::path& yearFile,
                          const ledger::ShortString<14>& key) {
    LedgerYear year;
    const ledger::TPayrollFileHeader header = reader.header(yearFile);
    for (int p = 1; p <= ledger::kPeriods; ++p) {
        if (header.PeriodSaved[p - 1] == 0) continue;
        year.saved[std::size_t(p - 1)] = true;
        auto block = reader.read(yearFile, p);
        int slot = LastSlotByKey(*block, key);
        if (slot == 0) continue;  // not in this period: zeros
        year.attendance[std::size_t(p - 1)] = block->AttendanceTbl[slot - 1];
        year.payment[std::size_t(p - 1)] = block->PaymentTbl[slot - 1];
        year.deduction[std::size_t(p - 1)] = block->DeductionTbl[slot - 1];
    }
    return year;
}

std::array<std::string, ledger::kPeriods> LedgerPeriodCaptions(const ledger::SysOption& options) {
    static constexpr std::array<std::string_view, 14> kFixed{
        "１月給与", "２月給与", "３月給与", "４月給与", "５月給与", "６月給与", "７月給与",
        "８月給与", "９月給与", "10月給与", "11月給与", "12月給与", "夏期賞与", "冬期賞与"};
    std::array<std::string, ledger::kPeriods> captions;
    for (std::size_t i = 0; i < kFixed.size(); ++i) captions[i] = std::string(kFixed[i]);
    captions[14] = options.tokuSyoyo;
    return captions;
}

const std::array<LedgerMoneyRow, kLedgerMoneyRows>& LedgerMoneyRows() {
    return kPublicRows;
}

std::string LedgerMoneyRowCaption(int row, const ledger::SysOption& options) {
    const MoneyRowDef& d = kRows.at(std::size_t(row));
    if (d.listPos < 0) return std::string(d.name);
    auto codes = ledger::DefaultItemCodes(SlipKind::Salary, d.group);
    return shownLabel(codes[std::size_t(d.listPos)], options);
}

std::int64_t LedgerMoneyValue(const LedgerMoneyRow& row, const ledger::TPaymentRec& pay,
                              const ledger::TDeductionRec& ded) {
    switch (row.source) {
        case Row::Payment:
            return pay.Amounts[row.index];
        case Row::Deduction:
            return ded.Amounts[row.index];
        case Row::Net:
            return NetPay(pay, ded, OtherSource::Deduction);
    }
    return 0;
}

double LedgerAttendanceValue(const std::string& caption, const ledger::SysOption& options,
                             const ledger::TAttendanceRec& attendance) {
    double value = 0;
    for (int i = 0; i < ledger::kAttendanceItems; ++i)
        if (options.attendanceLabels[std::size_t(i)] == caption) value = attendance.Values[i];
    return value;
}

std::string LedgerAttendanceText(const std::string& caption, double value, int timeStyle) {
    return ledger::IsTimeItem(caption) ? ledger::FmtHours(value, timeStyle) : Fmt("%6.2f", value);
}

std::vector<std::string> LedgerAttendanceCaptions(const LedgerRowFlags& flags,
                                                  const ledger::SysOption& options) {
    auto codes = ledger::DefaultItemCodes(SlipKind::Salary, ItemGroup::Attendance);
    std::vector<std::string> captions;
    for (int n = 0; n < kLedgerRowItems; ++n) {
        if (!flags.isAdded(n + 1)) continue;
        std::string caption = shownLabel(codes[std::size_t(n)], options);
        if (!caption.empty()) captions.push_back(std::move(caption));
    }
    return captions;
}

void DrawLedgerPage(PrnCanvas& c, const ledger::Ledger& l, int slot, const LedgerRowFlags& flags,
                    const LedgerYear& year) {
    if (slot < 1 || slot > ledger::kSlots) throw ReportError("社員の番号が範囲外です。");
    const ledger::SysOption& opt = l.sysOption;
    const ledger::TEmployeeRec& emp = l.Employee(slot);
    const LedgerRowCountsResult counts = LedgerRowCounts(flags);
    const std::vector<std::string> attendanceRows = LedgerAttendanceCaptions(flags, opt);

    CorrectionGuard guard(c);

    // Head, 7 mm higher than its coordinates.
    c.PrAdjustV = guard.saved() - 7.0;
    c.resetFont("ＭＳ 明朝");
    c.SetFontPoints(16);
    c.DrawText(Fmt("%s%d年", l.CurData.Era.c_str(), l.CurData.Year), 95, 20);
    c.DrawText("社 員 別 給 与 台 帳", 122, 20);
    c.SetFontPoints(10);
    c.DrawSjis(l.BasicInfo().CorpName.bytes(), 12, 22);
    const std::string nameLine = sjis::fromUtf8("氏名:") + std::string(emp.Name.bytes());
    c.DrawSjis(sjis::cutBytes(nameLine, 22), 190, 22);
    c.DrawText(TodayLongText(l.clock), 240, 22);

    // Table, 10 mm higher.
    c.PrAdjustV = guard.saved() - 10.0;
    const int R = counts.total;
    const float gridBottom = float(double(kGridTop) + double(kRowHeight) * (R + 1));
    for (int i = 0; i <= R; i += 2)
        c.ShadeBox(kLeft, float(kGridTop + double(kRowHeight) * i), kRight,
                   float(kGridTop + double(kRowHeight) * (i + 1)));
    c.thickPen();
    c.DrawBox(kLeft, kGridTop, kRight, gridBottom);
    c.DrawLine(kLeft, 33.4f, kRight, 33.4f);
    c.thinPen();
    c.FontInfo.Narrow = true;
    for (int i = 0; i <= 15; ++i)
        c.DrawLine(35 + 15.5f * float(i), kGridTop, 35 + 15.5f * float(i), gridBottom);
    const auto periodCaptions = LedgerPeriodCaptions(opt);
    for (int i = 0; i < ledger::kPeriods; ++i)
        c.DrawText(periodCaptions[std::size_t(i)], 36 + 15.5f * float(i), 30);
    c.FontInfo.Bold = true;
    c.DrawText("合   計", 270.5f, 30);
    c.FontInfo.Bold = false;

    // Row captions.
    c.thickPen();
    int row = 0;
    auto ruleAbove = [&](int r) { c.DrawLine(kLeft, rowY(r) - 0.5f, kRight, rowY(r) - 0.5f); };
    for (const auto& caption : attendanceRows) c.DrawText(caption, kCaptionX, rowY(row++));
    if (counts.added > 0) ruleAbove(row);
    const auto& rows = LedgerMoneyRows();
    int othersShown = 0;
    for (int i = 0; i < kLedgerMoneyRows; ++i) {
        const Row& r = rows[std::size_t(i)];
        if (!rowShown(r, flags)) continue;
        if (i >= kFirstOtherRow && i < kNetRow) ++othersShown;
        if (i == kNetRow && othersShown > 0) ruleAbove(row);
        if (i == kPayTotalRow || i == kDeductionTotalRow)
            c.DrawBox(kLeft, rowY(row) - 0.5f, kRight, rowY(row) + 3.9f);
        c.FontInfo.Bold = r.total;
        c.DrawText(LedgerMoneyRowCaption(i, opt), kCaptionX, rowY(row++));
        c.FontInfo.Bold = false;
        if (i == kSocialInsBaseRow) ruleAbove(row);
    }

    // The figures of each saved period, and the year sums.
    std::array<std::int64_t, kLedgerMoneyRows> sums{};
    for (int p = 1; p <= ledger::kPeriods; ++p) {
        const std::size_t pi = std::size_t(p - 1);
        if (!year.saved[pi]) continue;
        const float x = columnX(p);
        row = 0;
        for (const auto& caption : attendanceRows) {
            if (p < ledger::kFirstBonus) {
                double v = LedgerAttendanceValue(caption, opt, year.attendance[pi]);
                c.DrawText(LedgerAttendanceText(caption, v, opt.timeStyle), x, rowY(row));
            }
            ++row;
        }
        for (int i = 0; i < kLedgerMoneyRows; ++i) {
            const Row& r = rows[std::size_t(i)];
            const std::int64_t v = LedgerMoneyValue(r, year.payment[pi], year.deduction[pi]);
            sums[std::size_t(i)] += v;
            if (!rowShown(r, flags)) continue;
            c.FontInfo.Bold = r.total;
            c.DrawText(ledger::FmtAmount(9, double(v)), x, rowY(row++));
            c.FontInfo.Bold = false;
        }
    }
    c.FontInfo.Bold = true;
    row = int(attendanceRows.size());
    for (int i = 0; i < kLedgerMoneyRows; ++i) {
        if (!rowShown(rows[std::size_t(i)], flags)) continue;
        c.DrawText(ledger::FmtAmount(10, double(sums[std::size_t(i)])), kTotalsX, rowY(row++));
    }
    c.FontInfo.Bold = false;
}

void DrawLedgerPage(PrnCanvas& c, const ledger::Ledger& l, int slot, const LedgerRowFlags& flags,
                    const ledger::SavedBlockReader& reader) {
    if (slot < 1 || slot > ledger::kSlots) throw ReportError("社員の番号が範囲外です。");
    LedgerYear year = ReadLedgerYear(reader, l.CurData.FileName, l.Employee(slot).Key);
    DrawLedgerPage(c, l, slot, flags, year);
}

}  // namespace reports
