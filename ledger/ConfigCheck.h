#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "ledger/PayrollRecords.h"
#include "ledger/SysOption.h"

// The settings dialog without its widgets: what its fields show for a company
// record and the settings, the checks made on OK (first fault first), and what
// is stored. Texts are UTF-8 as typed.
namespace ledger {

enum class ConfigPage { Basic = 0, FreeItems = 1, ItemNames = 2, Behaviour = 3 };

enum class ConfigField {
    CorpName,
    CorpNumber,
    PayDay,
    HoursPerDay,
    EmpInsRate,
    HealthInsRate,
    CareInsRate,
    PensionRate,
    PensionFundRate,
    FreeLabel,  // index into SysOption::freeLabels
    TokuSyoyo,
    AttendanceLabel,  // index 0..14
    PaymentLabel,     // index 0..10
};

// Maximum lengths in Shift-JIS bytes.
inline constexpr int kCorpNameBytes = 44;
inline constexpr int kItemLabelBytes = 12;
inline constexpr int kCorpNumberDigits = 13;

// Number formats (digits × 10 + decimals) of the numeric fields.
inline constexpr int kPayDayFormat = 20;
inline constexpr int kHoursPerDayFormat = 52;
inline constexpr int kRateFormat = 63;

// The fields of the dialog, as shown and typed.
struct ConfigForm {
    // 基本情報設定
    std::string corpName;
    std::string corpNumber;
    std::string payDay;
    bool payNextMonth = false;
    std::string hoursPerDay;
    bool generalBusiness = true;  // 一般事業所, else それ以外
    std::string empInsRate;
    std::string healthInsRate;
    std::string careInsRate;
    std::string pensionRate;
    std::string pensionFundRate;
    // 自由項目設定
    std::array<std::string, 15> freeLabels;
    std::string tokuSyoyo;
    std::array<bool, 12> kazei{};  // 課税対象
    std::array<bool, 12> syaho{};  // 社保算定対象
    // 項目名称変更
    std::array<std::string, 15> attendanceLabels;
    std::array<std::string, 11> paymentLabels;
    // 共通動作設定
    int timeStyle = 1;
    int hasuuSik = 1;
    int hasuuGen = 0;
    int hasuuKou = 0;
    bool prnRuikei = true;
    bool use2kSatu = true;
};

struct ConfigFault {
    ConfigField field;
    int index = 0;  // for the label fields
    ConfigPage page;
    std::string message;
};

ConfigPage PageOf(ConfigField field);

// Zero rates of a company record not yet set up get their usual values: the
// employment rate of a general business (and the business type), and the
// employee's half of the 2026 care (1.62 %) and pension (18.3 %) rates. The
// health and pension-fund rates stay as they are.
void ApplyRateDefaults(TBasicInfo& info);

// The fields for a company record and the settings.
ConfigForm ConfigFormFrom(const TBasicInfo& info, const SysOption& option);

// A rate as its field shows it ("%6.3f").
std::string RateText(double rate);
// The employment rate put in its field when the business type is chosen.
std::string EmploymentRateText(bool generalBusiness);
// The hours per day as its field shows them: FmtHours without its first character.
std::string HoursPerDayText(double hours, int timeStyle);

// What a numeric field shows once left, from the text CheckNumEdit made of the
// typing (empty when refused): hours per day by HoursPerDayText, the others with
// the width and decimals of their format ("%6.3f" for rates, "%2d" for the day).
std::string ShownNumberText(ConfigField field, std::string_view normalised, int timeStyle);

// The number format of a numeric field.
int NumberFormatOf(ConfigField field);

// The rule checked when an attendance label is left: the labels of the time items
// must contain "時間" or "残業", the others neither. The message, or nothing.
std::optional<std::string> AttendanceLabelFault(int index, std::string_view label);

// The OK checks in their order; the first fault, or nothing when the fields can
// be stored.
std::optional<ConfigFault> CheckConfig(const ConfigForm& form);

// Stores checked fields in the company record and the settings in memory.
void StoreConfig(const ConfigForm& form, TBasicInfo& info, SysOption& option);

// Whether the premiums of the employees must be set again: the health, care,
// pension or pension-fund rate differs from what the dialog showed.
bool RatesChanged(const ConfigForm& shown, const ConfigForm& stored);

// The defaults buttons: the free-item labels, the third bonus's name and the tax
// and social-insurance flags; the attendance and payment labels.
void ResetFreeItems(ConfigForm& form);
void ResetItemNames(ConfigForm& form);

}  // namespace ledger
