#include "ledger/DataEntry.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "ledger/BonusCalc.h"
#include "ledger/Common.h"
#include "ledger/ItemGrid.h"
#include "ledger/Ledger.h"
#include "ledger/PayCalcSupport.h"
#include "ledger/Rounding.h"
#include "ledger/SalaryCalc.h"
#include "platform/Sjis.h"

namespace ledger {
namespace {

constexpr std::string_view kTaxablePayTotalName = "課税支給合計";
constexpr std::string_view kSocialInsTotalName = "社会保険料計";
constexpr std::string_view kAfterSocialInsName = "社保控除後計";

// Record amount of each payment label of the settings (SysOption::paymentLabels).
constexpr std::array<int, 11> kPaymentLabelAmount{
    kPayBase,         kPayPost,        kPayFamily,       kPayOvertime, kPayNight, kPayHoliday,
    kPayHolidayNight, kPayCommuteFree, kPayCommuteTaxed, kPayAbsence,  kPayLate};

// The deduction items known by a fixed name, in record order.
constexpr std::array<std::string_view, 9> kDeductionNames{
    kHealthName,         kPensionName,        kPensionFundName, kEmploymentName, kCareName,
    kSocialInsTotalName, kAfterSocialInsName, kIncomeTaxName,   kResidentTaxName};

// Amounts whose manual flag exists: the flag of amount k is ManualFlags[k].
bool paymentHasFlag(int index) {
    return (index >= kPayBase && index <= kPayCommuteTaxed) || index == kPayAbsence ||
           index == kPayLate;
}
bool deductionHasFlag(int index) {
    return index >= kDedHealth && index < kDedVariable1;
}

// Totals are computed; their flag is shown but never switched here.
bool flagLocked(const EntryBinding& b) {
    return b.target == EntryTarget::Deduction &&
           (b.index == kDedSocialInsTotal || b.index == kDedAfterSocialIns);
}

int exitFormatOf(const EntryBinding& b) {
    switch (b.target) {
        case EntryTarget::Attendance:
            return b.index >= kAttScheduledDays && b.index <= kAttSpecialLeaveDays ? 52 : 62;
        case EntryTarget::Payment:
            return b.index == kPayTaxableTotal ? 100 : 90;
        case EntryTarget::Deduction:
            return b.index == kDedSocialInsTotal || b.index == kDedAfterSocialIns ? 100 : 90;
        default:
            return 90;
    }
}

bool usedSlot(const Ledger& ledger, int slot) {
    return slot >= 1 && slot <= kSlots && !ledger.Employee(slot).Key.empty() &&
           IsActive(ledger, slot);
}

double recordValue(const Ledger& ledger, int slot, const EntryBinding& b) {
    switch (b.target) {
        case EntryTarget::Attendance:
            return ledger.Attendance(slot).Values[b.index];
        case EntryTarget::Payment:
            return ledger.Payment(slot).Amounts[b.index];
        case EntryTarget::Deduction:
            return ledger.Deduction(slot).Amounts[b.index];
        case EntryTarget::Other:
            return ledger.Payment(slot).Amounts[kPayOther1 + b.index];
        case EntryTarget::None:
            break;
    }
    return 0;
}

bool flagSet(const Ledger& ledger, int slot, const EntryBinding& b) {
    if (b.manualFlag < 0) return false;
    if (b.target == EntryTarget::Payment) return ledger.Payment(slot).ManualFlags[b.manualFlag];
    if (b.target == EntryTarget::Deduction) return ledger.Deduction(slot).ManualFlags[b.manualFlag];
    return false;
}

// The message of a figure beyond any field's digits, as the checks word it.
std::string overLimitMessage(int format) {
    return CheckNumEdit("99999999999", format).message;
}

std::string memoFromRecord(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i] == '\r' ? '\n' : text[i];
    }
    return out;
}

std::string memoToRecord(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

EntryBinding BindEntry(const SysOption& o, ItemGroup group, std::string_view label) {
    if (label.empty()) return {};
    auto free = [&](int k) -> std::string_view { return o.freeLabels[std::size_t(k)]; };
    switch (group) {
        case ItemGroup::Attendance:
            for (int j = 0; j < kAttendanceItems; ++j)
                if (o.attendanceLabels[std::size_t(j)] == label)
                    return {EntryTarget::Attendance, j, -1};
            break;
        case ItemGroup::Payment: {
            auto pay = [](int index) {
                return EntryBinding{EntryTarget::Payment, index,
                                    paymentHasFlag(index) ? index : -1};
            };
            for (std::size_t k = 0; k < kPaymentLabelAmount.size(); ++k)
                if (o.paymentLabels[k] == label) return pay(kPaymentLabelAmount[k]);
            for (int k = 0; k < 3; ++k) {
                if (free(paycalc::kFreeFixedPay + k) == label) return pay(kPayFixed1 + k);
                if (free(paycalc::kFreeVarPay + k) == label) return pay(kPayVariable1 + k);
            }
            if (label == kBonusName) return pay(kPayBase);
            if (label == kDirectorsFeeName) return pay(kPayPost);
            if (label == kTaxablePayTotalName) return pay(kPayTaxableTotal);
            break;
        }
        case ItemGroup::Deduction: {
            auto ded = [](int index) {
                return EntryBinding{EntryTarget::Deduction, index,
                                    deductionHasFlag(index) ? index : -1};
            };
            for (std::size_t k = 0; k < kDeductionNames.size(); ++k)
                if (kDeductionNames[k] == label) return ded(int(k));
            for (int k = 0; k < 3; ++k) {
                if (free(paycalc::kFreeFixedDed + k) == label) return ded(kDedFixed1 + k);
                if (free(paycalc::kFreeVarDed + k) == label) return ded(kDedVariable1 + k);
            }
            break;
        }
        case ItemGroup::Other:
            for (int k = 0; k < 3; ++k)
                if (free(paycalc::kFreeOther + k) == label) return {EntryTarget::Other, k, -1};
            break;
    }
    return {};
}

std::string EntryText(const SysOption& options, const EntryView& entry, double value) {
    if (entry.binding.target == EntryTarget::Attendance)
        return entry.timeItem ? FmtHours(value, options.timeStyle)
                              : padLeft(fixedText(value, 2), 6);
    return FmtAmount(10, value);
}

DetailView ShowDetail(const Ledger& ledger, int slot) {
    DetailView v;
    const TEmployeeRec& emp = ledger.Employee(slot);
    const SysOption& o = ledger.sysOption;
    v.name = emp.Name.str();
    v.caption = "詳細入力画面 【" + v.name + "】";
    const int payType = emp.PayForm;
    const bool layoutKnown = payType >= 1 && payType <= kPayTypes;

    std::int64_t otherTotal = 0;
    for (ItemGroup group :
         {ItemGroup::Attendance, ItemGroup::Payment, ItemGroup::Deduction, ItemGroup::Other}) {
        auto& list = v.entries[std::size_t(group)];
        for (int i = 0; i < SlotCount(group); ++i) {
            EntryView e;
            e.group = group;
            e.position = i;
            // A damaged pay type has no layout: nothing shows.
            const std::string code =
                layoutKnown ? ledger.PrnLayout[payType].codes(group)[std::size_t(i)] : "F";
            e.label = paycalc::shownLabel(o, code);
            if (!e.label.empty()) {
                e.binding = BindEntry(o, group, e.label);
                e.fixed = code.front() == 'F';
                e.timeItem = group == ItemGroup::Attendance && IsTimeItem(e.label);
                e.exitFormat = exitFormatOf(e.binding);
                if (group == ItemGroup::Other || !e.fixed)
                    e.look = EntryLook::Typed;
                else
                    e.look =
                        flagSet(ledger, slot, e.binding) ? EntryLook::Manual : EntryLook::Fixed;
                if (e.fixed && group != ItemGroup::Other && e.binding.manualFlag >= 0 &&
                    !flagLocked(e.binding))
                    e.canToggle = true;
                if (e.binding.target != EntryTarget::None) {
                    const double value = recordValue(ledger, slot, e.binding);
                    e.text = EntryText(o, e, value);
                    if (e.binding.target == EntryTarget::Other)
                        otherTotal += std::int64_t(std::trunc(value));
                }
            }
            list.push_back(std::move(e));
        }
    }
    const std::int64_t payTotal = ledger.Payment(slot).Amounts[kPayTotal];
    const std::int64_t dedTotal = ledger.Deduction(slot).Amounts[kDedTotal];
    v.payTotal = FmtAmount(10, double(payTotal));
    v.deductionTotal = FmtAmount(10, double(dedTotal));
    v.otherTotal = FmtAmount(10, double(otherTotal));
    v.netAmount = FmtAmount(10, double(payTotal + otherTotal - dedTotal));
    v.memo = memoFromRecord(emp.Memo.str());
    return v;
}

std::string ReformatEntry(const SysOption& options, const EntryView& entry,
                          std::string_view checked) {
    if (entry.binding.target == EntryTarget::Attendance) {
        MessageLog quiet;
        return EntryText(options, entry, StrToNum(checked, quiet));
    }
    return FmtAmount(10, StrToIntNum(checked));
}

EntryExit LeaveEntry(const SysOption& options, const EntryView& entry, std::string_view typed) {
    NumEditResult r = CheckNumEdit(typed, entry.exitFormat);
    return {ReformatEntry(options, entry, r.text), r.message};
}

void StoreDetail(Ledger& ledger, int slot, const DetailTexts& texts, MessageSink& messages) {
    const DetailView shown = ShowDetail(ledger, slot);
    std::vector<std::pair<EntryBinding, double>> values;
    for (std::size_t g = 0; g < shown.entries.size(); ++g) {
        const auto& typed = texts.entries[g];
        for (const EntryView& e : shown.entries[g]) {
            if (!e.visible() || e.binding.target == EntryTarget::None) continue;
            if (std::size_t(e.position) >= typed.size()) continue;
            const std::string& text = typed[std::size_t(e.position)];
            const double value = e.binding.target == EntryTarget::Attendance
                                     ? StrToNum(text, messages)
                                     : double(StrToIntNum(text));
            values.emplace_back(e.binding, value);
        }
    }
    const std::string memo = sjis::fromUtf8(memoToRecord(LimitMemo(texts.memo)));

    TAttendanceRec& att = ledger.Attendance(slot);
    TPaymentRec& pay = ledger.Payment(slot);
    TDeductionRec& ded = ledger.Deduction(slot);
    for (const auto& [b, value] : values) {
        switch (b.target) {
            case EntryTarget::Attendance:
                att.Values[b.index] = value;
                break;
            case EntryTarget::Payment:
                pay.Amounts[b.index] = std::int32_t(value);
                break;
            case EntryTarget::Deduction:
                ded.Amounts[b.index] = std::int32_t(value);
                break;
            case EntryTarget::Other:
                pay.Amounts[kPayOther1 + b.index] = std::int32_t(value);
                ded.Amounts[kDedOther1 + b.index] = std::int32_t(value);
                break;
            case EntryTarget::None:
                break;
        }
    }
    ledger.Employee(slot).Memo.setBytes(memo);
    RefreshGridColumn(ledger, slot);
}

bool RecalcDetail(Ledger& ledger, int slot, const SavedBlockReader& reader) {
    bool ok = true;
    if (ledger.isBonusPeriod()) {
        ok = CalcBonus(ledger, slot, reader);
        ledger.BonusTaxOk[std::size_t(slot - 1)] = ok;
    } else {
        ok = CalcSalary(ledger, slot);
    }
    RefreshGridColumn(ledger, slot);
    return ok;
}

bool ToggleManualFlag(Ledger& ledger, int slot, const EntryView& entry) {
    if (!entry.canToggle) return false;
    std::uint8_t* flags = entry.binding.target == EntryTarget::Payment
                              ? ledger.Payment(slot).ManualFlags
                              : ledger.Deduction(slot).ManualFlags;
    std::uint8_t& flag = flags[entry.binding.manualFlag];
    flag = flag ? 0 : 1;
    return true;
}

void SetIncomeTaxManual(Ledger& ledger, int slot) {
    ledger.Deduction(slot).ManualFlags[kDedIncomeTax] = 1;
}

std::optional<std::string> PaidLeaveRemainderText(const Ledger& ledger, int slot, double daysTaken,
                                                  const SavedBlockReader& reader) {
    if (ledger.Attendance(slot).Values[kAttPaidLeaveLeft] != 0) return std::nullopt;
    const double previous =
        PrevPaidLeaveBalance(ledger, ledger.CurData.Period - 1, ledger.Employee(slot).Key, reader);
    if (previous == kNoPaidLeaveBalance) return std::nullopt;
    return padLeft(fixedText(previous - daysTaken, 2), 6);
}

EntryExit CalculatorEntryText(const SysOption& options, const EntryView& entry, double value) {
    const EntryBinding& b = entry.binding;
    if (b.target == EntryTarget::Attendance) {
        if (!std::isfinite(value) || std::fabs(value) >= 1e6)
            return {"", overLimitMessage(entry.exitFormat)};
        return {EntryText(options, entry, value), ""};
    }
    // RoundByMode narrows through a float to int32: refuse what no amount field
    // holds before it gets there.
    if (!std::isfinite(value) || std::fabs(value) >= 1e9)
        return {"", overLimitMessage(entry.exitFormat)};
    int mode = 0;  // truncation
    if (b.target == EntryTarget::Payment)
        mode = b.index == kPayAbsence || b.index == kPayLate ? options.hasuuGen : options.hasuuSik;
    else if (b.target == EntryTarget::Deduction)
        mode = options.hasuuKou;
    const std::int32_t amount = RoundByMode(mode, float(value));
    NumEditResult r = CheckNumEdit(FmtAmount(10, amount), entry.exitFormat);
    if (!r.message.empty()) return {"", r.message};
    return {FmtAmount(10, StrToIntNum(r.text)), ""};
}

std::string LimitMemo(std::string_view memo) {
    std::string out;
    int lines = 1;
    int bytes = 0;
    std::size_t i = 0;
    while (i < memo.size()) {
        // One UTF-8 character at a time, so a cut never splits one.
        std::size_t n = 1;
        const unsigned char lead = static_cast<unsigned char>(memo[i]);
        if (lead >= 0xF0)
            n = 4;
        else if (lead >= 0xE0)
            n = 3;
        else if (lead >= 0xC0)
            n = 2;
        const std::string_view ch = memo.substr(i, n);
        i += n;
        if (ch == "\n") {
            if (lines == kMemoMaxLines) break;
            ++lines;
        }
        const int size = ch == "\n" ? 2 : int(sjis::byteLength(ch));
        if (bytes + size > kMemoMaxBytes) break;
        bytes += size;
        out += ch;
    }
    return out;
}

int PrevActiveSlot(const Ledger& ledger, int slot) {
    for (int s = slot - 1; s >= 1; --s)
        if (usedSlot(ledger, s)) return s;
    return 0;
}

int NextActiveSlot(const Ledger& ledger, int slot) {
    for (int s = std::max(slot + 1, 1); s <= kSlots; ++s)
        if (usedSlot(ledger, s)) return s;
    return 0;
}

}  // namespace ledger
