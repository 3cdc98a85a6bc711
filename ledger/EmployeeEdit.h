#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "ledger/Era.h"
#include "ledger/GradeTable.h"
#include "ledger/Ledger.h"
#include "ledger/Messages.h"
#include "ledger/PayrollRecords.h"

// The employee editor without its widgets: one employee record as the texts and
// choices of the form, the checks of OK, the store into a record, the template
// for new employees and the premiums proposed from the grade table. Texts are
// UTF-8; the record holds CP932.
namespace ledger {

// The template for new employees, in the data folder: one record, 700 bytes.
inline constexpr const char* kEmployeeTemplateName = "社員情報.dat";

// Byte limits of the text fields as typed.
inline constexpr int kNameBytes = 16;
inline constexpr int kKanaBytes = 12;
inline constexpr int kMyNumberDigits = 12;
inline constexpr int kDeptBytes = 16;
inline constexpr int kCodeBytes = 10;
inline constexpr int kKindTextBytes = 10;
inline constexpr int kBankNameBytes = 24;
inline constexpr int kBankKanaBytes = 16;
inline constexpr int kAccountNoDigits = 7;

inline constexpr std::array<std::string_view, 3> kPayForms{"月給", "日給", "時間給"};
inline constexpr std::array<std::string_view, 3> kWorkStatuses{"在職", "休職", "退職"};
inline constexpr std::array<std::string_view, 4> kBirthEras{"明治", "大正", "昭和", "平成"};

// The amount fields of the form, with their record field and format.
enum EmployeeAmount : int {
    kAmBasePay = 0,
    kAmPostAllowance,
    kAmFamilyAllowance,
    kAmOvertimeUnit,
    kAmNightUnit,
    kAmHolidayUnit,
    kAmHolidayNightUnit,
    kAmCommuteFree,
    kAmCommuteTaxed,
    kAmPaidLeavePay,
    kAmResidentTaxJune,
    kAmResidentTax,
    kAmFixedAllowance1,
    kAmFixedAllowance2,
    kAmFixedAllowance3,
    kAmFixedDeduction1,
    kAmFixedDeduction2,
    kAmFixedDeduction3,
    kAmAbsenceDeduction,
    kAmLateDeduction,
    kAmHealthPremium,
    kAmCarePremium,
    kAmPensionPremium,
    kAmPensionFundPremium,
    kAmTransferFee,
    kEmployeeAmounts
};

// Format code (digits × 10 + decimals) of an amount field: 90 for the pay
// figures, 70 for the monthly deductions and premiums, 50 for the transfer fee.
int AmountFormatCode(EmployeeAmount a);
// Width of the amount as shown: 9, 7 or 5.
int AmountWidth(EmployeeAmount a);

// Which field a check refers to, so the dialog can focus it.
enum class EmployeeField {
    None,
    Name,
    MyNumber,
    Code,
    BirthYear,
    BirthMonth,
    BirthDay,
    Dependants,
    TaxDependants,
    Amount,  // EmployeeCheck::amount says which
};

// The form's contents.
struct EmployeeForm {
    std::string name, kana, myNumber, dept, code;
    std::string kindText;    // the kind combo's text: a list item or typed freely
    int payFormIndex = -1;   // into kPayForms, -1 none
    int statusIndex = -1;    // into kWorkStatuses
    int birthEraIndex = -1;  // into kBirthEras
    std::string birthYear, birthMonth, birthDay;
    std::string dependants, taxDependants;
    bool taxColumnOtsu = false;  // 乙欄
    bool cash = false;           // 現金, else 振込
    std::string bankName, bankKana, branchName, branchKana;
    int accountType = 0;  // 0 普通, 1 当座, 2 貯蓄
    std::string accountNo;
    std::array<std::string, kEmployeeAmounts> amounts;
    bool empInsured = false, healthInsured = false, careInsured = false;
    bool pensionInsured = false, pensionFundMember = false;
};

// LoadTemplate: the defaults of a new employee (一般社員, 月給, 在職, all else 0),
// replaced by the template file when there is one. A template that cannot be
// read or is not exactly one record long is reported and the defaults stand.
TEmployeeRec LoadTemplate(const std::filesystem::path& dataPath, MessageSink& messages);

// LoadEmployee, the record part: a kind from the list carries the list's text.
void NormaliseKindText(TEmployeeRec& rec);

// The form showing a record ("%2d" counts, "%.12d" individual number, amounts
// by their width, no birth date when the year is 0).
EmployeeForm FormFromRecord(const TEmployeeRec& rec);

// Kind of a kind text: 1..5 for a list item, 0 for a freely typed text.
int KindFromText(std::string_view text);

// The creation time as the Key: 'yymmdd_hhnnss'.
std::string EmployeeKey(const DateTime& t);
// Whether text is a Key as EmployeeKey makes them: a real date and time in that form.
bool IsEmployeeKey(std::string_view text);

// StoreEmployee: the form written into a copy of rec, returned. A record without
// a Key is zeroed and gets newKey; the reserved bytes 176..195 and 532..699 are
// zeroed; Memo and the other bytes keep their values. Throws
// platform::ConvertError when a count or amount is not a number (the caller's
// record is then untouched).
TEmployeeRec StoreEmployee(const EmployeeForm& form, TEmployeeRec rec, int healthGrade,
                           std::string_view newKey);

// A Key not yet held by another slot: the creation time, moved on a second at a
// time while the same second is already taken.
std::string UniqueEmployeeKey(const Ledger& ledger, const Clock& clock);

// The first failing check of OK, with its message; nullopt when all pass.
struct EmployeeCheck {
    EmployeeField field = EmployeeField::None;
    EmployeeAmount amount = kEmployeeAmounts;
    std::string message;
};
// editKeyBytes: the Key of the record being edited (empty for a new one);
// editSlot: −1 for a new employee, which needs a free slot.
std::optional<EmployeeCheck> CheckEmployee(const EmployeeForm& form, const Ledger& ledger,
                                           std::string_view editKeyBytes, int editSlot);

// The slot a new employee goes to: the first slot without a Key, 0 when full.
int FirstFreeSlot(const Ledger& ledger);

// Previous/next enabling of the navigation buttons.
bool CanMoveBack(int editSlot);
bool CanMoveNext(const Ledger& ledger, int editSlot);

// Whether two records differ in any of their 700 bytes.
bool RecordsDiffer(const TEmployeeRec& a, const TEmployeeRec& b);

// The template built from the form: no name, furigana, key, code, grade or
// individual number.
TEmployeeRec MakeTemplate(const EmployeeForm& form);
void SaveTemplate(const std::filesystem::path& dataPath, const TEmployeeRec& rec);
void RemoveTemplate(const std::filesystem::path& dataPath);

// Premiums proposed for a grade, from the period's rates (percent).
struct GradePremiums {
    std::int32_t health = 0;
    std::int32_t care = 0;
    std::int32_t pension = 0;
    std::int32_t pensionFund = 0;
};
// grade must be 1..table.Count; the pension figures use the grade held within
// the table's pension range.
GradePremiums PremiumsFromGrade(const GradeTable& table, const TBasicInfo& rates, int grade);

// The grade list's line of grade g: "%9.0n円以上 %9.0n円未満  %9.0n円"; a grade
// without an upper bound shows none.
std::string GradeListLine(const GradeRow& row);

// The list row preselected for a grade (0-based), kept within the table.
int GradeRowFor(int selectedGrade, int count);

// A calculator result put into an amount field: truncated toward zero, shown
// by the field's width.
std::string CalculatorAmountText(EmployeeAmount a, double value);

}  // namespace ledger
