#include "ledger/EmployeeEdit.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "ledger/Common.h"
#include "ledger/Premium.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Sjis.h"

namespace ledger {

namespace {

constexpr std::size_t kRecSize = sizeof(TEmployeeRec);

// Where each amount lives in the record.
constexpr std::array<std::size_t, kEmployeeAmounts> kAmountOffsets{
    offsetof(TEmployeeRec, BasePay),
    offsetof(TEmployeeRec, PostAllowance),
    offsetof(TEmployeeRec, FamilyAllowance),
    offsetof(TEmployeeRec, OvertimeUnit),
    offsetof(TEmployeeRec, NightUnit),
    offsetof(TEmployeeRec, HolidayUnit),
    offsetof(TEmployeeRec, HolidayNightUnit),
    offsetof(TEmployeeRec, CommuteFree),
    offsetof(TEmployeeRec, CommuteTaxed),
    offsetof(TEmployeeRec, PaidLeavePay),
    offsetof(TEmployeeRec, ResidentTaxJune),
    offsetof(TEmployeeRec, ResidentTax),
    offsetof(TEmployeeRec, FixedAllowance) + 0,
    offsetof(TEmployeeRec, FixedAllowance) + 4,
    offsetof(TEmployeeRec, FixedAllowance) + 8,
    offsetof(TEmployeeRec, FixedDeduction) + 0,
    offsetof(TEmployeeRec, FixedDeduction) + 4,
    offsetof(TEmployeeRec, FixedDeduction) + 8,
    offsetof(TEmployeeRec, AbsenceDeduction),
    offsetof(TEmployeeRec, LateDeduction),
    offsetof(TEmployeeRec, HealthPremium),
    offsetof(TEmployeeRec, CarePremium),
    offsetof(TEmployeeRec, PensionPremium),
    offsetof(TEmployeeRec, PensionFundPremium),
    offsetof(TEmployeeRec, TransferFee),
};

std::int32_t amountOf(const TEmployeeRec& rec, EmployeeAmount a) {
    std::int32_t v;
    std::memcpy(&v, reinterpret_cast<const char*>(&rec) + kAmountOffsets[a], sizeof v);
    return v;
}

void setAmount(TEmployeeRec& rec, EmployeeAmount a, std::int32_t v) {
    std::memcpy(reinterpret_cast<char*>(&rec) + kAmountOffsets[a], &v, sizeof v);
}

// Blanks and control characters at both ends go, as the original's Trim did; a
// full-width blank is text.
std::string trimmed(std::string_view s) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return std::string(s);
}

std::string twoWide(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%2d", v);
    return buf;
}

bool allDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::uint8_t smallCount(std::string_view text) {
    std::int32_t v = StrToIntDef0(text);
    if (v < 0 || v > 255) throw notANumber(text);
    return static_cast<std::uint8_t>(v);
}

std::uint8_t choice(int index, std::size_t items) {
    return index >= 0 && std::size_t(index) < items ? static_cast<std::uint8_t>(index + 1) : 0;
}

int indexOf(std::uint8_t code, std::size_t items) {
    return code >= 1 && code <= items ? code - 1 : -1;
}

// The form written over rec, without the Key and the grade.
void storeFields(const EmployeeForm& f, TEmployeeRec& rec) {
    rec.Name.set(trimmed(f.name));
    rec.Kana.set(trimmed(f.kana));
    rec.Dept.set(trimmed(f.dept));
    rec.Code.set(trimmed(f.code));
    rec.MyNumber = MyNumberFromText(f.myNumber);

    rec.Kind = static_cast<std::uint8_t>(KindFromText(f.kindText));
    rec.KindText.set(f.kindText);
    rec.PayForm = choice(f.payFormIndex, kPayForms.size());
    rec.Status = choice(f.statusIndex, kWorkStatuses.size());
    rec.TaxColumn = f.taxColumnOtsu ? 1 : 0;
    rec.BirthEra = choice(f.birthEraIndex, kBirthEras.size());
    rec.BirthYear = smallCount(f.birthYear);
    rec.BirthMonth = smallCount(f.birthMonth);
    rec.BirthDay = smallCount(f.birthDay);
    if (rec.BirthYear == 0) rec.BirthEra = rec.BirthMonth = rec.BirthDay = 0;

    rec.Dependants = StrToIntDef0(f.dependants);
    rec.TaxDependants = StrToIntDef0(f.taxDependants);
    for (int a = 0; a < kEmployeeAmounts; ++a)
        setAmount(rec, EmployeeAmount(a), StrToIntNum(f.amounts[std::size_t(a)]));

    rec.EmpInsured = f.empInsured;
    rec.HealthInsured = f.healthInsured;
    rec.CareInsured = f.careInsured;
    rec.PensionInsured = f.pensionInsured;
    rec.PensionFundMember = f.pensionFundMember;
    rec.PayMethod = f.cash ? 1 : 0;
    rec.BankName.set(f.bankName);
    rec.BankKana.set(f.bankKana);
    rec.BranchName.set(f.branchName);
    rec.BranchKana.set(f.branchKana);
    rec.AccountType = f.accountType == 1 || f.accountType == 2 ? std::uint8_t(f.accountType) : 0;
    rec.AccountNo.set(f.accountNo);
}

DateTime plusSecond(const DateTime& t) {
    using namespace std::chrono;
    sys_days day =
        year_month_day{year{t.year}, month{unsigned(t.month)}, std::chrono::day{unsigned(t.day)}};
    sys_seconds s = day + hours{t.hour} + minutes{t.minute} + seconds{t.second} + seconds{1};
    sys_days d = floor<days>(s);
    year_month_day ymd{d};
    hh_mm_ss hms{s - d};
    return {int(ymd.year()),          int(unsigned(ymd.month())), int(unsigned(ymd.day())),
            int(hms.hours().count()), int(hms.minutes().count()), int(hms.seconds().count())};
}

std::optional<EmployeeCheck> numberCheck(EmployeeField field, std::string_view text, int code,
                                         EmployeeAmount amount = kEmployeeAmounts) {
    NumEditResult r = CheckNumEdit(text, code);
    if (r.message.empty()) return std::nullopt;
    return EmployeeCheck{field, amount, r.message};
}

}  // namespace

int AmountFormatCode(EmployeeAmount a) {
    if (a == kAmTransferFee) return 50;
    if (a <= kAmPaidLeavePay) return 90;
    return 70;
}

int AmountWidth(EmployeeAmount a) {
    return AmountFormatCode(a) / 10;
}

TEmployeeRec LoadTemplate(const std::filesystem::path& dataPath, MessageSink& messages) {
    TEmployeeRec rec;
    std::memset(static_cast<void*>(&rec), 0, kRecSize);
    rec.Kind = 2;
    rec.PayForm = 1;
    rec.Status = 1;
    const auto file = dataPath / kEmployeeTemplateName;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return rec;
    std::string bytes;
    try {
        bytes = platform::readFile(file);
    } catch (const platform::IoError& e) {
        messages.error(e.what());
        return rec;
    }
    if (bytes.size() != kRecSize) {
        messages.error(std::string("新規作成時の基本(") + kEmployeeTemplateName +
                       ")の長さが正しくないため使用しません。");
        return rec;
    }
    std::memcpy(static_cast<void*>(&rec), bytes.data(), kRecSize);
    return rec;
}

void NormaliseKindText(TEmployeeRec& rec) {
    if (rec.Kind >= 1 && rec.Kind <= kEmployeeKinds.size())
        rec.KindText.set(kEmployeeKinds[rec.Kind - 1u]);
}

EmployeeForm FormFromRecord(const TEmployeeRec& rec) {
    EmployeeForm f;
    f.name = rec.Name.str();
    f.kana = rec.Kana.str();
    if (rec.MyNumber != 0) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.12lld", static_cast<long long>(rec.MyNumber));
        f.myNumber = buf;
    }
    f.dept = rec.Dept.str();
    f.code = rec.Code.str();
    f.kindText = rec.KindText.str();
    f.payFormIndex = indexOf(rec.PayForm, kPayForms.size());
    f.statusIndex = indexOf(rec.Status, kWorkStatuses.size());
    if (rec.BirthYear != 0) {
        f.birthEraIndex = indexOf(rec.BirthEra, kBirthEras.size());
        f.birthYear = twoWide(rec.BirthYear);
        f.birthMonth = twoWide(rec.BirthMonth);
        f.birthDay = twoWide(rec.BirthDay);
    }
    f.dependants = twoWide(rec.Dependants);
    f.taxDependants = twoWide(rec.TaxDependants);
    f.taxColumnOtsu = rec.TaxColumn != 0;
    f.cash = rec.PayMethod == 1;
    f.bankName = rec.BankName.str();
    f.bankKana = rec.BankKana.str();
    f.branchName = rec.BranchName.str();
    f.branchKana = rec.BranchKana.str();
    f.accountType = rec.AccountType == 1 || rec.AccountType == 2 ? rec.AccountType : 0;
    f.accountNo = rec.AccountNo.str();
    for (int a = 0; a < kEmployeeAmounts; ++a)
        f.amounts[std::size_t(a)] =
            FmtAmount(AmountWidth(EmployeeAmount(a)), amountOf(rec, EmployeeAmount(a)));
    f.empInsured = rec.EmpInsured != 0;
    f.healthInsured = rec.HealthInsured != 0;
    f.careInsured = rec.CareInsured != 0;
    f.pensionInsured = rec.PensionInsured != 0;
    f.pensionFundMember = rec.PensionFundMember != 0;
    return f;
}

int KindFromText(std::string_view text) {
    for (std::size_t i = 0; i < kEmployeeKinds.size(); ++i)
        if (kEmployeeKinds[i] == text) return int(i) + 1;
    return 0;
}

std::string EmployeeKey(const DateTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d_%02d%02d%02d", t.year % 100, t.month, t.day,
                  t.hour, t.minute, t.second);
    return buf;
}

bool IsEmployeeKey(std::string_view text) {
    if (text.size() != 13 || text[6] != '_') return false;
    int v[6];  // yy mm dd hh nn ss
    for (int i = 0; i < 6; ++i) {
        const std::size_t at = std::size_t(i < 3 ? 2 * i : 2 * i + 1);
        const char tens = text[at], ones = text[at + 1];
        if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return false;
        v[i] = (tens - '0') * 10 + (ones - '0');
    }
    return v[1] >= 1 && v[1] <= 12 && v[2] >= 1 && v[2] <= 31 && v[3] < 24 && v[4] < 60 &&
           v[5] < 60;
}

std::string UniqueEmployeeKey(const Ledger& ledger, const Clock& clock) {
    DateTime t = clock.now();
    for (;;) {
        std::string key = EmployeeKey(t);
        bool taken = false;
        for (int s = 1; s <= kSlots && !taken; ++s) taken = ledger.Employee(s).Key.bytes() == key;
        if (!taken) return key;
        t = plusSecond(t);
    }
}

TEmployeeRec StoreEmployee(const EmployeeForm& form, TEmployeeRec rec, int healthGrade,
                           std::string_view newKey) {
    if (rec.Key.len == 0) {
        std::memset(static_cast<void*>(&rec), 0, kRecSize);
        rec.Key.setBytes(newKey);
    }
    storeFields(form, rec);
    rec.HealthGrade = static_cast<std::uint16_t>(std::clamp(healthGrade, 0, 0xFFFF));
    std::memset(rec.Reserved2, 0, sizeof rec.Reserved2);
    std::memset(rec.Reserved10, 0, sizeof rec.Reserved10);
    return rec;
}

std::optional<EmployeeCheck> CheckEmployee(const EmployeeForm& form, const Ledger& ledger,
                                           std::string_view editKeyBytes, int editSlot) {
    // A name of blanks alone would be stored empty: it is no name.
    if (trimmed(form.name).empty())
        return EmployeeCheck{EmployeeField::Name, kEmployeeAmounts, "氏名を入力して下さい。"};
    // Exactly twelve digits: a pasted separator would otherwise pass as a digit.
    if (!form.myNumber.empty() &&
        (form.myNumber.size() != std::size_t(kMyNumberDigits) || !allDigits(form.myNumber)))
        return EmployeeCheck{EmployeeField::MyNumber, kEmployeeAmounts,
                             "マイナンバーの入力に誤りがあります。"};
    // The code is stored trimmed, so it is compared trimmed.
    const std::string code = trimmed(form.code);
    if (!code.empty()) {
        auto bytes = sjis::tryFromUtf8(code);
        for (int s = 1; s <= kSlots && bytes; ++s) {
            const TEmployeeRec& e = ledger.Employee(s);
            // A free slot is nobody, whatever its bytes still hold.
            if (!e.Key.empty() && e.Key.bytes() != editKeyBytes && e.Code.bytes() == *bytes)
                return EmployeeCheck{EmployeeField::Code, kEmployeeAmounts,
                                     "社員コードが重複しています。"};
        }
    }
    // Pasted text the store could not read is reported on its field, before
    // anything is written.
    const std::pair<EmployeeField, const std::string*> counts[] = {
        {EmployeeField::BirthYear, &form.birthYear},
        {EmployeeField::BirthMonth, &form.birthMonth},
        {EmployeeField::BirthDay, &form.birthDay},
        {EmployeeField::Dependants, &form.dependants},
        {EmployeeField::TaxDependants, &form.taxDependants}};
    for (const auto& [field, text] : counts)
        if (auto c = numberCheck(field, *text, 20)) return c;
    for (int a = 0; a < kEmployeeAmounts; ++a)
        if (auto c = numberCheck(EmployeeField::Amount, form.amounts[std::size_t(a)],
                                 AmountFormatCode(EmployeeAmount(a)), EmployeeAmount(a)))
            return c;
    if (editSlot < 0 && FirstFreeSlot(ledger) == 0)
        return EmployeeCheck{EmployeeField::None, kEmployeeAmounts,
                             "社員は80人までしか登録できません。"};
    return std::nullopt;
}

int FirstFreeSlot(const Ledger& ledger) {
    for (int s = 1; s <= kSlots; ++s)
        if (ledger.Employee(s).Key.len == 0) return s;
    return 0;
}

bool CanMoveBack(int editSlot) {
    return editSlot > 1;
}

bool CanMoveNext(const Ledger& ledger, int editSlot) {
    return editSlot >= 1 && editSlot <= kSlots - 1 && ledger.Employee(editSlot + 1).Key.len != 0;
}

bool RecordsDiffer(const TEmployeeRec& a, const TEmployeeRec& b) {
    return std::memcmp(&a, &b, kRecSize) != 0;
}

TEmployeeRec MakeTemplate(const EmployeeForm& form) {
    TEmployeeRec zero;
    std::memset(static_cast<void*>(&zero), 0, kRecSize);
    TEmployeeRec rec = StoreEmployee(form, zero, 0, "");
    // Name, furigana, key and code never go into the template, not even in the
    // bytes after a cleared length: every new employee starts from it. The other
    // fields, birth date and individual number included, are kept as shown.
    rec.Name.len = rec.Kana.len = rec.Key.len = rec.Code.len = 0;
    rec.Name.clearTail();
    rec.Kana.clearTail();
    rec.Key.clearTail();
    rec.Code.clearTail();
    rec.HealthGrade = 0;
    return rec;
}

void SaveTemplate(const std::filesystem::path& dataPath, const TEmployeeRec& rec) {
    platform::writeFileAtomic(dataPath / kEmployeeTemplateName,
                              std::string_view(reinterpret_cast<const char*>(&rec), kRecSize));
}

void RemoveTemplate(const std::filesystem::path& dataPath) {
    platform::removeFile(dataPath / kEmployeeTemplateName);
}

GradePremiums PremiumsFromGrade(const GradeTable& table, const TBasicInfo& rates, int grade) {
    GradePremiums p;
    if (table.Count < 1) return p;
    // Row 0 of the file holds the table's limits, never a grade.
    const int g = std::clamp(grade, 1, int(table.Count));
    const std::int64_t s = table.Grade(g).Standard;
    p.health = PremiumOver50(s, RateThousandths(rates.HealthInsRate));
    p.care = PremiumOver50(s, RateThousandths(rates.CareInsRate));
    int pg = g;
    if (pg < table.PensionLowest) pg = table.PensionLowest;
    if (pg > table.PensionHighest) pg = table.PensionHighest;
    pg = std::clamp(pg, 1, int(table.Count));
    const std::int64_t ps = table.Grade(pg).Standard;
    p.pension = PremiumOver50(ps, RateThousandths(rates.PensionRate));
    p.pensionFund = PremiumOver50(ps, RateThousandths(rates.PensionFundRate));
    return p;
}

std::string GradeListLine(const GradeRow& row) {
    std::string upper = row.Upper == kNoUpperLimit
                            ? std::string(16, ' ')  // " %9.0n円未満" left blank, same width
                            : " " + FmtAmount(9, row.Upper) + "円未満";
    return FmtAmount(9, row.Lower) + "円以上" + upper + "  " + FmtAmount(9, row.Standard) + "円";
}

int GradeRowFor(int selectedGrade, int count) {
    if (count < 1) return -1;
    return std::clamp(selectedGrade, 1, count) - 1;
}

std::string CalculatorAmountText(EmployeeAmount a, double value) {
    const double t = std::trunc(value);
    if (!std::isfinite(t) || t < -2147483648.0 || t > 2147483647.0)
        throw notANumber(std::to_string(value));
    return FmtAmount(AmountWidth(a), t);
}

}  // namespace ledger
