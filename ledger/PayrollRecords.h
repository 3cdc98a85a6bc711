#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>

#include "ledger/ShortString.h"

// The records of the yearly pay-data file, byte for byte as on disk. Each block is
// read and written whole, so the in-memory layout must equal the file layout:
// every size and offset is asserted below.
namespace ledger {

static_assert(std::endian::native == std::endian::little, "the pay-data file is little-endian");

inline constexpr int kSlots = 80;       // employees per period
inline constexpr int kPeriods = 15;     // 12 salaries, 3 bonuses
inline constexpr int kFirstBonus = 13;  // periods 13..15 are bonuses

#pragma pack(push, 1)

struct TPayrollFileHeader {
    double Reserved;
    std::uint8_t PeriodSaved[16];   // [p - 1]: 1 = period p has been saved
    std::int32_t BonusPayMonth[3];  // [p - 13]: payment month of bonus period p, 0 = not set
    std::int32_t BonusPayDay[3];    // [p - 13]: payment day, 0 = not set
    std::uint8_t Reserved2[80];
};

struct TBasicInfo {
    ShortString<44> CorpName;
    std::uint8_t Reserved1[15];
    std::uint8_t GeneralBusiness;  // 1 一般事業所, 0 それ以外
    std::uint8_t Reserved2[3];
    std::int32_t PayDay;        // 1..31, 31 = end of month
    std::int32_t WorkDays;      // scheduled working days of the period
    double WorkHours;           // scheduled working hours of the period
    std::int32_t PayNextMonth;  // 1 = paid in the month after the period
    std::uint8_t Reserved3[12];
    double HoursPerDay;
    double EmpInsRate;  // percent, employee's share
    double HealthInsRate;
    double CareInsRate;
    double PensionRate;
    double PensionFundRate;
    std::int64_t CorpNumber;  // 13-digit 法人番号, 0 = none
    std::uint8_t Reserved4[248];
};

struct TEmployeeRec {
    ShortString<14> Key;  // creation time 'yymmdd_hhnnss'; empty = free slot
    ShortString<11> Code;
    ShortString<17> Name;
    ShortString<13> Kana;
    ShortString<17> Dept;
    std::uint8_t BirthEra;  // 0 none, 1 明治, 2 大正, 3 昭和, 4 平成
    std::uint8_t BirthYear;
    std::uint8_t BirthMonth;
    std::uint8_t BirthDay;
    std::uint8_t Kind;       // 1 役員 .. 5 アルバイト, 0 = free text in KindText
    std::uint8_t PayForm;    // 1 monthly, 2 daily, 3 hourly
    std::uint8_t Status;     // 1 在職, 2 休職, 3 退職
    std::uint8_t TaxColumn;  // 0 甲欄, 1 乙欄
    std::uint8_t PayMethod;  // 0 振込, 1 現金
    std::uint8_t Reserved1[2];
    std::int32_t Dependants;
    std::int32_t TaxDependants;
    std::int32_t BasePay;
    std::int32_t OvertimeUnit;
    std::int32_t NightUnit;
    std::int32_t HolidayUnit;
    std::int32_t HolidayNightUnit;
    std::int32_t CommuteFree;
    std::int32_t CommuteTaxed;
    std::int32_t ResidentTaxJune;
    std::int32_t ResidentTax;
    std::int32_t PostAllowance;
    std::int32_t FamilyAllowance;
    std::int32_t FixedAllowance[3];
    std::int32_t FixedDeduction[3];
    std::int32_t PaidLeavePay;
    std::int32_t AbsenceDeduction;
    std::int32_t LateDeduction;
    std::uint8_t Reserved2[20];
    std::uint8_t EmpInsured;
    std::uint8_t Reserved3;
    std::uint8_t HealthInsured;
    std::uint8_t Reserved4;
    std::int32_t HealthPremium;
    std::uint8_t CareInsured;
    std::uint8_t Reserved5[3];
    std::int32_t CarePremium;
    std::uint8_t PensionInsured;
    std::uint8_t Reserved6[3];
    std::int32_t PensionPremium;
    std::uint8_t PensionFundMember;
    std::uint8_t Reserved7[3];
    std::int32_t PensionFundPremium;
    ShortString<25> BankName;
    ShortString<17> BankKana;
    ShortString<25> BranchName;
    ShortString<17> BranchKana;
    std::uint8_t AccountType;  // 0 普通, 1 当座, 2 貯蓄
    ShortString<8> AccountNo;
    std::uint8_t Reserved8[2];
    std::int32_t TransferFee;
    std::uint8_t Reserved9;
    ShortString<175> Memo;
    ShortString<12> KindText;
    std::uint16_t HealthGrade;
    std::int64_t MyNumber;  // 12 digits, 0 = none
    std::uint8_t Reserved10[168];
};

// Indices of TAttendanceRec::Values.
enum AttendanceIndex : int {
    kAttScheduledDays = 0,  // 所定労働日数
    kAttDaysWorked,         // 出勤日数
    kAttPaidLeaveDays,      // 有休日数
    kAttAbsentDays,         // 欠勤日数
    kAttHolidayDays,        // 休日出勤日数
    kAttSpecialLeaveDays,   // 特別休暇日数
    kAttScheduledHours,     // 所定労働時間
    kAttHoursWorked,        // 実働時間
    kAttOvertime,           // 普通残業時間
    kAttNightOvertime,      // 深夜残業時間
    kAttHolidayOvertime,    // 休日普通残業
    kAttHolidayNight,       // 休日深夜残業
    kAttLateCount,          // 遅刻早退回数
    kAttLateHours,          // 遅刻早退時間
    kAttPaidLeaveLeft,      // 有休残日数
    kAttendanceItems        // 15 used entries
};

struct TAttendanceRec {
    double Values[25];  // 0..14 used, 15..24 reserved
};

// Amounts of TPaymentRec, 0-based (the record's k − 1).
enum PaymentIndex : int {
    kPayBase = 0,      // 基本給; 賞与 in a bonus period
    kPayPost,          // 役職手当; 役員報酬 in a bonus period
    kPayFamily,        // 家族手当
    kPayFixed1,        // 固定手当１ (2, 3 follow)
    kPayOvertime = 6,  // 普通残業手当
    kPayNight,         // 深夜残業手当
    kPayHoliday,       // 休日普通残業手当
    kPayHolidayNight,  // 休日深夜残業手当
    kPayCommuteFree,   // 非課税通勤費
    kPayCommuteTaxed,  // 課税通勤費
    kPayVariable1,     // 変動手当１ (2, 3 follow)
    kPayAbsence = 15,  // 欠勤控除, stored negative
    kPayLate,          // 遅刻早退控除, stored negative
    kPayTaxableTotal,  // TaxablePayTotal 課税支給合計
    kPayTotal,         // PayTotal 支給合計
    kPayOther1,        // その他１ (2, 3 follow)
    kPaymentAmounts = 22
};

struct TPaymentRec {
    std::int32_t Amounts[22];
    std::uint8_t Reserved1[28];
    std::uint8_t ManualFlags[30];  // [k - 1]: amount k typed by hand
    std::uint8_t Reserved2[2];
};

// Amounts of TDeductionRec, 0-based.
enum DeductionIndex : int {
    kDedHealth = 0,      // 健康保険料
    kDedPension,         // 厚生年金保険
    kDedPensionFund,     // 厚生年金基金
    kDedEmployment,      // 雇用保険料
    kDedCare,            // 介護保険料
    kDedSocialInsTotal,  // SocialInsTotal 社会保険料計
    kDedAfterSocialIns,  // AfterSocialIns 社保控除後計
    kDedIncomeTax,       // IncomeTax 所得税
    kDedResidentTax,     // 住民税
    kDedFixed1,          // 固定控除１ (2, 3 follow)
    kDedVariable1 = 12,  // 変動控除１ (2, 3 follow)
    kDedTotal = 15,      // DeductionTotal 控除合計
    kDedSocialInsBase,   // SocialInsBase 社保算定合計
    kDedOther1,          // その他１ (2, 3 follow)
    kDeductionAmounts = 20
};

struct TDeductionRec {
    std::int32_t Amounts[20];
    std::uint8_t Reserved1[28];
    std::uint8_t ManualFlags[25];  // [k - 1]: amount k typed by hand
    std::uint8_t Reserved2[3];
};

// One period as stored: the five parts in file order.
struct TPeriodBlock {
    TBasicInfo BasicInfo;
    TEmployeeRec EmployeeTbl[kSlots];
    TAttendanceRec AttendanceTbl[kSlots];
    TPaymentRec PaymentTbl[kSlots];
    TDeductionRec DeductionTbl[kSlots];
};

#pragma pack(pop)

// Sizes and offsets of the file format.
static_assert(sizeof(ShortString<14>) == 15);
static_assert(sizeof(TPayrollFileHeader) == 128);
static_assert(offsetof(TPayrollFileHeader, PeriodSaved) == 8);
static_assert(offsetof(TPayrollFileHeader, BonusPayMonth) == 24);
static_assert(offsetof(TPayrollFileHeader, BonusPayDay) == 36);
static_assert(offsetof(TPayrollFileHeader, Reserved2) == 48);

static_assert(sizeof(TBasicInfo) == 400);
static_assert(offsetof(TBasicInfo, CorpName) == 0);
static_assert(offsetof(TBasicInfo, GeneralBusiness) == 60);
static_assert(offsetof(TBasicInfo, PayDay) == 64);
static_assert(offsetof(TBasicInfo, WorkDays) == 68);
static_assert(offsetof(TBasicInfo, WorkHours) == 72);
static_assert(offsetof(TBasicInfo, PayNextMonth) == 80);
static_assert(offsetof(TBasicInfo, HoursPerDay) == 96);
static_assert(offsetof(TBasicInfo, EmpInsRate) == 104);
static_assert(offsetof(TBasicInfo, HealthInsRate) == 112);
static_assert(offsetof(TBasicInfo, CareInsRate) == 120);
static_assert(offsetof(TBasicInfo, PensionRate) == 128);
static_assert(offsetof(TBasicInfo, PensionFundRate) == 136);
static_assert(offsetof(TBasicInfo, CorpNumber) == 144);
static_assert(offsetof(TBasicInfo, Reserved4) == 152);

static_assert(sizeof(TEmployeeRec) == 700);
static_assert(offsetof(TEmployeeRec, Key) == 0);
static_assert(offsetof(TEmployeeRec, Code) == 15);
static_assert(offsetof(TEmployeeRec, Name) == 27);
static_assert(offsetof(TEmployeeRec, Kana) == 45);
static_assert(offsetof(TEmployeeRec, Dept) == 59);
static_assert(offsetof(TEmployeeRec, BirthEra) == 77);
static_assert(offsetof(TEmployeeRec, BirthYear) == 78);
static_assert(offsetof(TEmployeeRec, BirthMonth) == 79);
static_assert(offsetof(TEmployeeRec, BirthDay) == 80);
static_assert(offsetof(TEmployeeRec, Kind) == 81);
static_assert(offsetof(TEmployeeRec, PayForm) == 82);
static_assert(offsetof(TEmployeeRec, Status) == 83);
static_assert(offsetof(TEmployeeRec, TaxColumn) == 84);
static_assert(offsetof(TEmployeeRec, PayMethod) == 85);
static_assert(offsetof(TEmployeeRec, Dependants) == 88);
static_assert(offsetof(TEmployeeRec, TaxDependants) == 92);
static_assert(offsetof(TEmployeeRec, BasePay) == 96);
static_assert(offsetof(TEmployeeRec, OvertimeUnit) == 100);
static_assert(offsetof(TEmployeeRec, NightUnit) == 104);
static_assert(offsetof(TEmployeeRec, HolidayUnit) == 108);
static_assert(offsetof(TEmployeeRec, HolidayNightUnit) == 112);
static_assert(offsetof(TEmployeeRec, CommuteFree) == 116);
static_assert(offsetof(TEmployeeRec, CommuteTaxed) == 120);
static_assert(offsetof(TEmployeeRec, ResidentTaxJune) == 124);
static_assert(offsetof(TEmployeeRec, ResidentTax) == 128);
static_assert(offsetof(TEmployeeRec, PostAllowance) == 132);
static_assert(offsetof(TEmployeeRec, FamilyAllowance) == 136);
static_assert(offsetof(TEmployeeRec, FixedAllowance) == 140);
static_assert(offsetof(TEmployeeRec, FixedDeduction) == 152);
static_assert(offsetof(TEmployeeRec, PaidLeavePay) == 164);
static_assert(offsetof(TEmployeeRec, AbsenceDeduction) == 168);
static_assert(offsetof(TEmployeeRec, LateDeduction) == 172);
static_assert(offsetof(TEmployeeRec, Reserved2) == 176);
static_assert(offsetof(TEmployeeRec, EmpInsured) == 196);
static_assert(offsetof(TEmployeeRec, HealthInsured) == 198);
static_assert(offsetof(TEmployeeRec, HealthPremium) == 200);
static_assert(offsetof(TEmployeeRec, CareInsured) == 204);
static_assert(offsetof(TEmployeeRec, CarePremium) == 208);
static_assert(offsetof(TEmployeeRec, PensionInsured) == 212);
static_assert(offsetof(TEmployeeRec, PensionPremium) == 216);
static_assert(offsetof(TEmployeeRec, PensionFundMember) == 220);
static_assert(offsetof(TEmployeeRec, PensionFundPremium) == 224);
static_assert(offsetof(TEmployeeRec, BankName) == 228);
static_assert(offsetof(TEmployeeRec, BankKana) == 254);
static_assert(offsetof(TEmployeeRec, BranchName) == 272);
static_assert(offsetof(TEmployeeRec, BranchKana) == 298);
static_assert(offsetof(TEmployeeRec, AccountType) == 316);
static_assert(offsetof(TEmployeeRec, AccountNo) == 317);
static_assert(offsetof(TEmployeeRec, TransferFee) == 328);
static_assert(offsetof(TEmployeeRec, Memo) == 333);
static_assert(offsetof(TEmployeeRec, KindText) == 509);
static_assert(offsetof(TEmployeeRec, HealthGrade) == 522);
static_assert(offsetof(TEmployeeRec, MyNumber) == 524);
static_assert(offsetof(TEmployeeRec, Reserved10) == 532);

static_assert(sizeof(TAttendanceRec) == 200);
static_assert(sizeof(TPaymentRec) == 148);
static_assert(offsetof(TPaymentRec, Reserved1) == 88);
static_assert(offsetof(TPaymentRec, ManualFlags) == 116);
static_assert(offsetof(TPaymentRec, Reserved2) == 146);
static_assert(sizeof(TDeductionRec) == 136);
static_assert(offsetof(TDeductionRec, Reserved1) == 80);
static_assert(offsetof(TDeductionRec, ManualFlags) == 108);
static_assert(offsetof(TDeductionRec, Reserved2) == 133);

static_assert(sizeof(TPeriodBlock) == 95120);
static_assert(offsetof(TPeriodBlock, EmployeeTbl) == 400);
static_assert(offsetof(TPeriodBlock, AttendanceTbl) == 56400);
static_assert(offsetof(TPeriodBlock, PaymentTbl) == 72400);
static_assert(offsetof(TPeriodBlock, DeductionTbl) == 84240);

inline constexpr std::int64_t kYearFileSize = 128 + std::int64_t(kPeriods) * 95120;
static_assert(kYearFileSize == 1426928);

}  // namespace ledger
