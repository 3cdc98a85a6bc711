#include "ledger/ConfigCheck.h"

#include <algorithm>
#include <vector>

#include "ledger/CorpNumber.h"
#include "ledger/ItemLabel.h"
#include "ledger/Messages.h"
#include "ledger/NumberText.h"
#include "platform/Errors.h"
#include "platform/Sjis.h"

namespace ledger {
namespace {

constexpr const char* kNoCorpName = "会社名が入力されていません。";
constexpr const char* kBadCorpNumber = "法人番号の入力に誤りがあります。";
constexpr const char* kBadPayDay = "給与支給日の入力に誤りがあります。";
constexpr const char* kNoHours = "所定労働条件が入力されていません。";
constexpr const char* kNoRate = "保険料負担率が入力されていません。";
constexpr const char* kLabelRequired = "項目名は必須入力です。";
constexpr const char* kLabelDuplicate = "項目名が重複しています。";
constexpr const char* kMustBeTime = "｢時間｣か｢残業｣の文字を含む必要があります。";
constexpr const char* kMustNotBeTime = "｢時間｣や｢残業｣の文字を含んではいけません。";

// The fixed names of the computed deductions, which no free item may take.
constexpr std::array<std::string_view, 9> kFixedDeductionNames{
    "健康保険料",   "介護保険料",   "厚生年金保険", "厚生年金基金", "雇用保険料",
    "社会保険料計", "社保控除後計", "所得税",       "住民税"};
// The bonus items typed in the grid by these names.
constexpr std::array<std::string_view, 2> kBonusItemNames{"賞与", "役員報酬"};

// Attendance entries whose values are hours.
constexpr std::array<int, 7> kTimeAttendance{6, 7, 8, 9, 10, 11, 13};

std::string alreadyUsed(const std::string& label) {
    return "項目名｢" + label +
           "｣は既に設定されている項目名です。\r同じ項目名を複数設定する事は出来ません。";
}

std::string_view trimAscii(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

// The number in a field; a text that is no number counts 0, so the check of the
// field refuses it.
double numberOf(std::string_view text) {
    MessageLog ignored;
    try {
        return StrToNum(text, ignored);
    } catch (const platform::ConvertError&) {
        return 0;
    }
}

std::optional<std::string> unencodable(std::string_view text) {
    try {
        sjis::fromUtf8(text);
    } catch (const platform::ConvertError& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

ConfigFault fault(ConfigField field, int index, std::string message) {
    return ConfigFault{field, index, PageOf(field), std::move(message)};
}

// A label field: which field and index it is, and its text.
struct LabelRef {
    ConfigField field;
    int index;
    const std::string* text;
};

// Empty, unencodable or equal to another label of its group: the first such fault
// in field order. A duplicate is reported on the other field.
std::optional<ConfigFault> groupFaults(const std::vector<LabelRef>& group) {
    for (const LabelRef& l : group) {
        if (l.text->empty()) return fault(l.field, l.index, kLabelRequired);
        if (auto bad = unencodable(*l.text)) return fault(l.field, l.index, *bad);
        if (l.field == ConfigField::AttendanceLabel)
            if (auto m = AttendanceLabelFault(l.index, *l.text)) return fault(l.field, l.index, *m);
        for (const LabelRef& o : group)
            if (&o != &l && *o.text == *l.text) return fault(o.field, o.index, kLabelDuplicate);
    }
    return std::nullopt;
}

std::vector<LabelRef> freeRefs(const ConfigForm& f, int first, int count) {
    std::vector<LabelRef> refs;
    for (int i = first; i < first + count; ++i)
        refs.push_back({ConfigField::FreeLabel, i, &f.freeLabels[std::size_t(i)]});
    return refs;
}

// A free payment or deduction label must not name any item the program already
// knows by that name.
std::optional<ConfigFault> takenFaults(const ConfigForm& f, const std::vector<LabelRef>& group) {
    for (const LabelRef& l : group) {
        const std::string& s = *l.text;
        bool taken =
            std::find(f.attendanceLabels.begin(), f.attendanceLabels.end(), s) !=
                f.attendanceLabels.end() ||
            std::find(f.paymentLabels.begin(), f.paymentLabels.end(), s) != f.paymentLabels.end() ||
            std::find(kFixedDeductionNames.begin(), kFixedDeductionNames.end(), s) !=
                kFixedDeductionNames.end() ||
            std::find(kBonusItemNames.begin(), kBonusItemNames.end(), s) != kBonusItemNames.end();
        if (taken) return fault(l.field, l.index, alreadyUsed(s));
    }
    return std::nullopt;
}

// The typed items (変動手当, 変動控除, その他) are read back from the grid by their
// labels, so each must name one item only: none of the others, no attendance item
// and neither bonus item.
std::optional<ConfigFault> typedItemFaults(const ConfigForm& f) {
    constexpr std::array<int, 9> typed{3, 4, 5, 9, 10, 11, 12, 13, 14};
    for (int i : typed) {
        const std::string& s = f.freeLabels[std::size_t(i)];
        bool taken =
            std::any_of(typed.begin(), typed.end(),
                        [&](int j) { return j != i && f.freeLabels[std::size_t(j)] == s; }) ||
            std::find(f.attendanceLabels.begin(), f.attendanceLabels.end(), s) !=
                f.attendanceLabels.end() ||
            std::find(kBonusItemNames.begin(), kBonusItemNames.end(), s) != kBonusItemNames.end();
        if (taken) return fault(ConfigField::FreeLabel, i, alreadyUsed(s));
    }
    return std::nullopt;
}

std::string flagsText(const std::array<bool, 12>& flags) {
    std::string s;
    for (bool b : flags) s += b ? '1' : '0';
    return s;
}

}  // namespace

int NumberFormatOf(ConfigField field) {
    switch (field) {
        case ConfigField::PayDay:
            return kPayDayFormat;
        case ConfigField::HoursPerDay:
            return kHoursPerDayFormat;
        default:
            return kRateFormat;
    }
}

ConfigPage PageOf(ConfigField field) {
    switch (field) {
        case ConfigField::FreeLabel:
        case ConfigField::TokuSyoyo:
            return ConfigPage::FreeItems;
        case ConfigField::AttendanceLabel:
        case ConfigField::PaymentLabel:
            return ConfigPage::ItemNames;
        default:
            return ConfigPage::Basic;
    }
}

void ApplyRateDefaults(TBasicInfo& info) {
    if (info.EmpInsRate == 0) {
        info.GeneralBusiness = 1;
        info.EmpInsRate = 0.5;
    }
    if (info.CareInsRate == 0) info.CareInsRate = 0.81;
    if (info.PensionRate == 0) info.PensionRate = 9.15;
}

std::string RateText(double rate) {
    return padLeft(fixedText(rate, 3), 6);
}

std::string EmploymentRateText(bool generalBusiness) {
    return RateText(generalBusiness ? 0.5 : 0.6);
}

std::string HoursPerDayText(double hours, int timeStyle) {
    std::string s = FmtHours(hours, timeStyle);
    return s.empty() ? s : s.substr(1);
}

std::string ShownNumberText(ConfigField field, std::string_view normalised, int timeStyle) {
    double v = numberOf(normalised);
    if (field == ConfigField::HoursPerDay) return HoursPerDayText(v, timeStyle);
    int format = NumberFormatOf(field);
    return padLeft(fixedText(v, format % 10), format / 10);
}

std::optional<std::string> AttendanceLabelFault(int index, std::string_view label) {
    bool timeItem =
        std::find(kTimeAttendance.begin(), kTimeAttendance.end(), index) != kTimeAttendance.end();
    if (timeItem && !IsTimeItem(label)) return std::string(kMustBeTime);
    if (!timeItem && IsTimeItem(label)) return std::string(kMustNotBeTime);
    return std::nullopt;
}

ConfigForm ConfigFormFrom(const TBasicInfo& info, const SysOption& o) {
    ConfigForm f;
    f.corpName = info.CorpName.str();
    f.corpNumber = CorpNumberText(info.CorpNumber);
    f.payDay = padLeft(std::to_string(info.PayDay), 2);
    f.payNextMonth = info.PayNextMonth == 1;
    f.hoursPerDay = HoursPerDayText(info.HoursPerDay, o.timeStyle);
    f.generalBusiness = info.GeneralBusiness == 1;
    f.empInsRate = RateText(info.EmpInsRate);
    f.healthInsRate = RateText(info.HealthInsRate);
    f.careInsRate = RateText(info.CareInsRate);
    f.pensionRate = RateText(info.PensionRate);
    f.pensionFundRate = RateText(info.PensionFundRate);
    f.freeLabels = o.freeLabels;
    f.tokuSyoyo = o.tokuSyoyo;
    for (int i = 0; i < 12; ++i) {
        f.kazei[std::size_t(i)] = o.kazeiFlag(i);
        f.syaho[std::size_t(i)] = o.syahoFlag(i);
    }
    f.attendanceLabels = o.attendanceLabels;
    f.paymentLabels = o.paymentLabels;
    f.timeStyle = o.timeStyle;
    f.hasuuSik = o.hasuuSik;
    f.hasuuGen = o.hasuuGen;
    f.hasuuKou = o.hasuuKou;
    f.prnRuikei = o.prnRuikei;
    f.use2kSatu = o.use2kSatu;
    return f;
}

std::optional<ConfigFault> CheckConfig(const ConfigForm& f) {
    using F = ConfigField;
    std::string_view name = trimAscii(f.corpName);
    if (name.empty()) return fault(F::CorpName, 0, kNoCorpName);
    if (auto bad = unencodable(name)) return fault(F::CorpName, 0, *bad);
    if (!IsCorpNumberText(std::string(trimAscii(f.corpNumber))))
        return fault(F::CorpNumber, 0, kBadCorpNumber);
    double payDay = numberOf(f.payDay);
    if (payDay < 1 || payDay > 31) return fault(F::PayDay, 0, kBadPayDay);
    if (numberOf(f.hoursPerDay) <= 0) return fault(F::HoursPerDay, 0, kNoHours);
    for (const std::string* rate :
         {&f.empInsRate, &f.healthInsRate, &f.careInsRate, &f.pensionRate})
        if (numberOf(*rate) <= 0) return fault(F::EmpInsRate, 0, kNoRate);

    std::vector<LabelRef> attendance, payment;
    for (int i = 0; i < int(f.attendanceLabels.size()); ++i)
        attendance.push_back({F::AttendanceLabel, i, &f.attendanceLabels[std::size_t(i)]});
    for (int i = 0; i < int(f.paymentLabels.size()); ++i)
        payment.push_back({F::PaymentLabel, i, &f.paymentLabels[std::size_t(i)]});
    if (auto r = groupFaults(attendance)) return r;
    if (auto r = groupFaults(payment)) return r;

    auto pay = freeRefs(f, 0, 6);
    if (auto r = groupFaults(pay)) return r;
    if (auto r = takenFaults(f, pay)) return r;
    auto deduct = freeRefs(f, 6, 6);
    if (auto r = groupFaults(deduct)) return r;
    if (auto r = takenFaults(f, deduct)) return r;
    if (auto r = groupFaults(freeRefs(f, 12, 3))) return r;
    if (auto r = typedItemFaults(f)) return r;
    // The third bonus names a period of the list and the documents' titles.
    if (f.tokuSyoyo.empty()) return fault(F::TokuSyoyo, 0, kLabelRequired);
    if (auto bad = unencodable(f.tokuSyoyo)) return fault(F::TokuSyoyo, 0, *bad);
    return std::nullopt;
}

void StoreConfig(const ConfigForm& f, TBasicInfo& info, SysOption& o) {
    std::string name = sjis::cutUtf8(trimAscii(f.corpName), kCorpNameBytes);
    info.CorpName.set(name);
    info.CorpNumber = CorpNumberFromText(trimAscii(f.corpNumber));
    info.PayDay = static_cast<std::int32_t>(numberOf(f.payDay));
    info.PayNextMonth = f.payNextMonth ? 1 : 0;
    info.HoursPerDay = numberOf(f.hoursPerDay);
    info.EmpInsRate = numberOf(f.empInsRate);
    info.GeneralBusiness = f.generalBusiness ? 1 : 0;
    info.HealthInsRate = numberOf(f.healthInsRate);
    info.CareInsRate = numberOf(f.careInsRate);
    info.PensionRate = numberOf(f.pensionRate);
    info.PensionFundRate = numberOf(f.pensionFundRate);

    o.corpName = name;
    o.freeLabels = f.freeLabels;
    o.tokuSyoyo = f.tokuSyoyo;
    o.kazei = flagsText(f.kazei);
    o.syaho = flagsText(f.syaho);
    o.attendanceLabels = f.attendanceLabels;
    o.paymentLabels = f.paymentLabels;
    o.timeStyle = f.timeStyle;
    o.hasuuSik = f.hasuuSik;
    o.hasuuGen = f.hasuuGen;
    o.hasuuKou = f.hasuuKou;
    o.prnRuikei = f.prnRuikei;
    o.use2kSatu = f.use2kSatu;
}

bool RatesChanged(const ConfigForm& shown, const ConfigForm& stored) {
    auto same = [](const std::string& a, const std::string& b) {
        return RateText(numberOf(a)) == RateText(numberOf(b));
    };
    return !same(shown.healthInsRate, stored.healthInsRate) ||
           !same(shown.careInsRate, stored.careInsRate) ||
           !same(shown.pensionRate, stored.pensionRate) ||
           !same(shown.pensionFundRate, stored.pensionFundRate);
}

void ResetFreeItems(ConfigForm& f) {
    SysOption standard;
    f.freeLabels = standard.freeLabels;
    f.tokuSyoyo = standard.tokuSyoyo;
    for (int i = 0; i < 12; ++i) {
        f.kazei[std::size_t(i)] = i < 6;
        f.syaho[std::size_t(i)] = i < 6;
    }
}

void ResetItemNames(ConfigForm& f) {
    SysOption standard;
    f.attendanceLabels = standard.attendanceLabels;
    f.paymentLabels = standard.paymentLabels;
}

}  // namespace ledger
