#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "ledger/ShortString.h"

// The records of the year-end program's own file, byte for byte as on disk: a
// 300-byte header, then one record per employee slot in one of two layouts. Each
// part is read and written whole, so every size and offset is asserted below.
// Arrays that the forms number from 1 are 0-based here: entry k is [k - 1].
namespace withholding {

using ledger::ShortString;

static_assert(std::endian::native == std::endian::little, "the withholding file is little-endian");

inline constexpr int kRecords = 80;  // one per employee slot of the pay data

#pragma pack(push, 1)

struct TWithholdingHeader {
    ShortString<64> Address1;  // company address, typed up to 44 bytes
    ShortString<64> Address2;
    ShortString<16> Telephone;  // typed up to 14 bytes
    std::uint8_t Reserved[153];
};

// A date with its era: 0 none, 1 明治, 2 大正, 3 昭和, 4 平成, 5 令和 (the order of
// the era lists).
struct TEraDate {
    std::uint8_t Era;
    std::uint8_t Year;
    std::uint8_t Month;
    std::uint8_t Day;

    // The editors show the three numbers only for a known era.
    bool present() const { return Era >= 1 && Era <= 5; }
};

struct TFamilyMember {
    ShortString<20> Furigana;
    ShortString<16> Name;
    std::uint8_t Reserved1[2];
    std::int64_t IndividualNo;  // 12 digits, 0 = none
    std::uint8_t NonResident;   // 非居住
    std::uint8_t Reserved2[3];
};

// Indices of ManualFlags (0-based; entries 8..10 of the forms are never set). A set
// flag means the user typed the value; re-totalling and the calculation keep it.
enum ManualIndex : int {
    kManualPaidAmount = 0,        // 支払金額
    kManualIncomeAfterDeduction,  // 給与所得控除後の額
    kManualIncomeDeductionTotal,  // 所得控除の額の合計
    kManualAnnualTax,             // 源泉徴収税額
    kManualSpouseSpecialAmount,   // 配偶者特別控除の額
    kManualSocialInsurance,       // 社会保険料等の金額
    kManualTaxWithheld,           // 所得税･徴収税額
    kManualFlagCount = 10
};

// Indices of PersonFlags (0-based).
enum PersonIndex : int {
    kPersonMinor = 0,        // 未成年者
    kPersonOtsu,             // 乙欄: no year-end adjustment (年調不要)
    kPersonDisabledSpecial,  // 本人が障害者 特別
    kPersonDisabledOther,    // 本人が障害者 その他
    kPersonWidowGeneral,     // 寡婦 一般
    kPersonWidowSpecial,     // 寡婦 特別
    kPersonWidower,          // 寡夫
    kPersonWorkingStudent,   // 勤労学生
    kPersonDeathRetirement,  // 死亡退職
    kPersonDisasterVictim,   // 災害者
    kPersonForeigner,        // 外国人
    kPersonFlagCount
};

// Record Status.
enum RecordStatus : std::uint8_t {
    kStatusUnprocessed = 0,  // 未処理
    kStatusComputed = 1,     // 計算済
    kStatusOutside = 2       // 年調対象外
};

// Indices of the old layout's one-hot SpouseKind (0-based).
enum SpouseKindIndex : int {
    kSpouseYes = 0,  // 有
    kSpouseNo,       // 無
    kSpouseSubYes,   // 従有
    kSpouseSubNo,    // 従無
    kSpouseKindCount
};

// New layout (1500 bytes): years from 平成28 on and every era other than 平成.
struct TWithholdingRec {
    ShortString<8> PostalCode;
    ShortString<40> Address1;  // typed up to 32 bytes
    ShortString<40> Address2;
    ShortString<8> RecipientNo;
    ShortString<16> Position;
    ShortString<20> Furigana;
    std::uint8_t Reserved1[2];
    std::int32_t PaidAmount;
    std::int32_t TaxWithheld;
    std::int32_t IncomeAfterDeduction;
    std::int32_t IncomeDeductionTotal;
    std::int32_t AnnualTax;
    std::uint8_t SpouseDeductible;
    std::uint8_t SpouseDeductibleSub;
    std::uint8_t SpouseElderly;
    // A dependant under 23 (the under-16s too), for the adjustment of high pay;
    // older files hold 0 in this once reserved byte.
    std::uint8_t HasDependantUnder23;
    std::int32_t SpouseSpecialAmount;
    std::uint8_t DependantCounts[7];  // 特定 人, 特定 従人, 老人 内, 老人 人, 老人 従人, その他 人,
                                      // その他 従人
    std::uint8_t Under16Count;
    std::uint8_t DisabledCounts[3];  // 特別 内, 特別 人, その他 人
    std::uint8_t NonResidentCount;
    std::int32_t SocialInsurance;
    std::int32_t LifeInsurance;
    std::int32_t EarthquakeInsurance;
    std::int32_t HousingLoanCredit;
    ShortString<85> Remarks[5];  // typed up to 84 bytes
    std::uint8_t Reserved3[2];
    std::int32_t NewLifePremium;
    std::int32_t OldLifePremium;
    std::int32_t CareMedicalPremium;
    std::int32_t NewPensionPremium;
    std::int32_t OldPensionPremium;
    std::int32_t HousingLoanCount;
    std::int32_t HousingLoanPossible;
    TEraDate ResidenceStart[2];
    std::uint8_t HousingLoanKind[2];  // 0 none, 1 住, 2 認, 3 増, 4 震
    std::uint8_t HousingLoanSpecific[2];
    std::int32_t HousingLoanBalance[2];
    TFamilyMember Spouse;
    std::int32_t SpouseIncome;
    std::int32_t NationalPensionPremium;
    std::int32_t OldLongTermPremium;
    TFamilyMember DependantMembers[4];
    TFamilyMember Under16Members[4];
    ShortString<16> DependantNotes[5];
    ShortString<16> Under16Notes[5];
    std::uint8_t PersonFlags[11];  // PersonIndex
    std::uint8_t Joined;
    std::uint8_t Resigned;
    std::uint8_t JoinLeaveDate[3];  // era year, month, day (no era byte)
    TEraDate BirthDate;
    std::uint8_t Reserved4[2];
    std::int32_t SmallBizPremium;
    std::uint8_t ManualFlags[10];  // ManualIndex
    std::uint8_t Status;           // RecordStatus
    // 特定親族特別控除の額 as the payee declared it (once reserved bytes; 0 in
    // older files). Counted from 令和7 on.
    std::int32_t SpecificRelativeDeduction;
    std::uint8_t Reserved5[133];
};

// Old layout (500 bytes): years up to 平成27.
struct TWithholdingRecOld {
    ShortString<8> PostalCode;
    ShortString<32> Address1;
    ShortString<32> Address2;
    ShortString<8> RecipientNo;
    ShortString<16> Furigana;
    ShortString<16> Position;
    std::uint8_t Reserved1[2];
    std::int32_t PaidAmount;
    std::int32_t TaxWithheld;
    std::int32_t IncomeAfterDeduction;
    std::int32_t IncomeDeductionTotal;
    std::int32_t AnnualTax;
    std::uint8_t SpouseKind[4];  // SpouseKindIndex, exactly one set
    std::uint8_t SpouseElderly;
    std::uint8_t Reserved2[3];
    std::int32_t SpouseSpecialAmount;
    std::uint8_t DependantCounts[7];
    std::uint8_t DisabledCounts[3];
    std::uint8_t Reserved3[2];
    std::int32_t SocialInsurance;
    std::int32_t LifeInsurance;
    std::int32_t EarthquakeInsurance;
    std::int32_t HousingLoanCredit;
    ShortString<58> Remarks[3];
    std::uint8_t Reserved4[3];
    std::int32_t SpouseIncome;
    std::uint8_t Reserved5[4];
    std::int32_t OldLongTermPremium;
    std::uint8_t PersonFlags[11];
    std::uint8_t Joined;
    std::uint8_t Resigned;
    std::uint8_t JoinLeaveDate[3];
    TEraDate BirthDate;
    std::uint8_t ManualFlags[10];
    std::uint8_t Status;
    std::uint8_t Under16Count;
    std::int32_t NewLifePremium;
    std::int32_t OldLifePremium;
    std::int32_t CareMedicalPremium;
    std::int32_t NewPensionPremium;
    std::int32_t OldPensionPremium;
    // The next four have no control in the old editor; they reach the new layout on carry-over.
    std::int32_t HousingLoanPossible;
    std::int32_t NationalPensionPremium;
    TEraDate ResidenceStart;
    std::uint8_t Reserved6[4];
    std::int32_t SmallBizPremium;
    std::uint8_t Reserved7[56];
};

#pragma pack(pop)

static_assert(sizeof(TWithholdingHeader) == 300);
static_assert(offsetof(TWithholdingHeader, Address1) == 0);
static_assert(offsetof(TWithholdingHeader, Address2) == 65);
static_assert(offsetof(TWithholdingHeader, Telephone) == 130);
static_assert(offsetof(TWithholdingHeader, Reserved) == 147);

static_assert(sizeof(TEraDate) == 4);

static_assert(sizeof(TFamilyMember) == 52);
static_assert(offsetof(TFamilyMember, Furigana) == 0);
static_assert(offsetof(TFamilyMember, Name) == 21);
static_assert(offsetof(TFamilyMember, Reserved1) == 38);
static_assert(offsetof(TFamilyMember, IndividualNo) == 40);
static_assert(offsetof(TFamilyMember, NonResident) == 48);
static_assert(offsetof(TFamilyMember, Reserved2) == 49);

static_assert(sizeof(TWithholdingRec) == 1500);
static_assert(offsetof(TWithholdingRec, PostalCode) == 0);
static_assert(offsetof(TWithholdingRec, Address1) == 9);
static_assert(offsetof(TWithholdingRec, Address2) == 50);
static_assert(offsetof(TWithholdingRec, RecipientNo) == 91);
static_assert(offsetof(TWithholdingRec, Position) == 100);
static_assert(offsetof(TWithholdingRec, Furigana) == 117);
static_assert(offsetof(TWithholdingRec, Reserved1) == 138);
static_assert(offsetof(TWithholdingRec, PaidAmount) == 140);
static_assert(offsetof(TWithholdingRec, TaxWithheld) == 144);
static_assert(offsetof(TWithholdingRec, IncomeAfterDeduction) == 148);
static_assert(offsetof(TWithholdingRec, IncomeDeductionTotal) == 152);
static_assert(offsetof(TWithholdingRec, AnnualTax) == 156);
static_assert(offsetof(TWithholdingRec, SpouseDeductible) == 160);
static_assert(offsetof(TWithholdingRec, SpouseDeductibleSub) == 161);
static_assert(offsetof(TWithholdingRec, SpouseElderly) == 162);
static_assert(offsetof(TWithholdingRec, HasDependantUnder23) == 163);
static_assert(offsetof(TWithholdingRec, SpouseSpecialAmount) == 164);
static_assert(offsetof(TWithholdingRec, DependantCounts) == 168);
static_assert(offsetof(TWithholdingRec, Under16Count) == 175);
static_assert(offsetof(TWithholdingRec, DisabledCounts) == 176);
static_assert(offsetof(TWithholdingRec, NonResidentCount) == 179);
static_assert(offsetof(TWithholdingRec, SocialInsurance) == 180);
static_assert(offsetof(TWithholdingRec, LifeInsurance) == 184);
static_assert(offsetof(TWithholdingRec, EarthquakeInsurance) == 188);
static_assert(offsetof(TWithholdingRec, HousingLoanCredit) == 192);
static_assert(offsetof(TWithholdingRec, Remarks) == 196);
static_assert(offsetof(TWithholdingRec, Remarks) + 4 * sizeof(ShortString<85>) == 540);
static_assert(offsetof(TWithholdingRec, Reserved3) == 626);
static_assert(offsetof(TWithholdingRec, NewLifePremium) == 628);
static_assert(offsetof(TWithholdingRec, OldLifePremium) == 632);
static_assert(offsetof(TWithholdingRec, CareMedicalPremium) == 636);
static_assert(offsetof(TWithholdingRec, NewPensionPremium) == 640);
static_assert(offsetof(TWithholdingRec, OldPensionPremium) == 644);
static_assert(offsetof(TWithholdingRec, HousingLoanCount) == 648);
static_assert(offsetof(TWithholdingRec, HousingLoanPossible) == 652);
static_assert(offsetof(TWithholdingRec, ResidenceStart) == 656);
static_assert(offsetof(TWithholdingRec, HousingLoanKind) == 664);
static_assert(offsetof(TWithholdingRec, HousingLoanSpecific) == 666);
static_assert(offsetof(TWithholdingRec, HousingLoanBalance) == 668);
static_assert(offsetof(TWithholdingRec, Spouse) == 676);
static_assert(offsetof(TWithholdingRec, SpouseIncome) == 728);
static_assert(offsetof(TWithholdingRec, NationalPensionPremium) == 732);
static_assert(offsetof(TWithholdingRec, OldLongTermPremium) == 736);
static_assert(offsetof(TWithholdingRec, DependantMembers) == 740);
static_assert(offsetof(TWithholdingRec, DependantMembers) + 3 * sizeof(TFamilyMember) == 896);
static_assert(offsetof(TWithholdingRec, Under16Members) == 948);
static_assert(offsetof(TWithholdingRec, Under16Members) + 3 * sizeof(TFamilyMember) == 1104);
static_assert(offsetof(TWithholdingRec, DependantNotes) == 1156);
static_assert(offsetof(TWithholdingRec, DependantNotes) + 4 * sizeof(ShortString<16>) == 1224);
static_assert(offsetof(TWithholdingRec, Under16Notes) == 1241);
static_assert(offsetof(TWithholdingRec, Under16Notes) + 4 * sizeof(ShortString<16>) == 1309);
static_assert(offsetof(TWithholdingRec, PersonFlags) == 1326);
static_assert(offsetof(TWithholdingRec, Joined) == 1337);
static_assert(offsetof(TWithholdingRec, Resigned) == 1338);
static_assert(offsetof(TWithholdingRec, JoinLeaveDate) == 1339);
static_assert(offsetof(TWithholdingRec, BirthDate) == 1342);
static_assert(offsetof(TWithholdingRec, Reserved4) == 1346);
static_assert(offsetof(TWithholdingRec, SmallBizPremium) == 1348);
static_assert(offsetof(TWithholdingRec, ManualFlags) == 1352);
static_assert(offsetof(TWithholdingRec, Status) == 1362);
static_assert(offsetof(TWithholdingRec, SpecificRelativeDeduction) == 1363);
static_assert(offsetof(TWithholdingRec, Reserved5) == 1367);

static_assert(sizeof(TWithholdingRecOld) == 500);
static_assert(offsetof(TWithholdingRecOld, PostalCode) == 0);
static_assert(offsetof(TWithholdingRecOld, Address1) == 9);
static_assert(offsetof(TWithholdingRecOld, Address2) == 42);
static_assert(offsetof(TWithholdingRecOld, RecipientNo) == 75);
static_assert(offsetof(TWithholdingRecOld, Furigana) == 84);
static_assert(offsetof(TWithholdingRecOld, Position) == 101);
static_assert(offsetof(TWithholdingRecOld, Reserved1) == 118);
static_assert(offsetof(TWithholdingRecOld, PaidAmount) == 120);
static_assert(offsetof(TWithholdingRecOld, TaxWithheld) == 124);
static_assert(offsetof(TWithholdingRecOld, IncomeAfterDeduction) == 128);
static_assert(offsetof(TWithholdingRecOld, IncomeDeductionTotal) == 132);
static_assert(offsetof(TWithholdingRecOld, AnnualTax) == 136);
static_assert(offsetof(TWithholdingRecOld, SpouseKind) == 140);
static_assert(offsetof(TWithholdingRecOld, SpouseElderly) == 144);
static_assert(offsetof(TWithholdingRecOld, Reserved2) == 145);
static_assert(offsetof(TWithholdingRecOld, SpouseSpecialAmount) == 148);
static_assert(offsetof(TWithholdingRecOld, DependantCounts) == 152);
static_assert(offsetof(TWithholdingRecOld, DisabledCounts) == 159);
static_assert(offsetof(TWithholdingRecOld, Reserved3) == 162);
static_assert(offsetof(TWithholdingRecOld, SocialInsurance) == 164);
static_assert(offsetof(TWithholdingRecOld, LifeInsurance) == 168);
static_assert(offsetof(TWithholdingRecOld, EarthquakeInsurance) == 172);
static_assert(offsetof(TWithholdingRecOld, HousingLoanCredit) == 176);
static_assert(offsetof(TWithholdingRecOld, Remarks) == 180);
static_assert(offsetof(TWithholdingRecOld, Remarks) + 2 * sizeof(ShortString<58>) == 298);
static_assert(offsetof(TWithholdingRecOld, Reserved4) == 357);
static_assert(offsetof(TWithholdingRecOld, SpouseIncome) == 360);
static_assert(offsetof(TWithholdingRecOld, Reserved5) == 364);
static_assert(offsetof(TWithholdingRecOld, OldLongTermPremium) == 368);
static_assert(offsetof(TWithholdingRecOld, PersonFlags) == 372);
static_assert(offsetof(TWithholdingRecOld, Joined) == 383);
static_assert(offsetof(TWithholdingRecOld, Resigned) == 384);
static_assert(offsetof(TWithholdingRecOld, JoinLeaveDate) == 385);
static_assert(offsetof(TWithholdingRecOld, BirthDate) == 388);
static_assert(offsetof(TWithholdingRecOld, ManualFlags) == 392);
static_assert(offsetof(TWithholdingRecOld, Status) == 402);
static_assert(offsetof(TWithholdingRecOld, Under16Count) == 403);
static_assert(offsetof(TWithholdingRecOld, NewLifePremium) == 404);
static_assert(offsetof(TWithholdingRecOld, OldLifePremium) == 408);
static_assert(offsetof(TWithholdingRecOld, CareMedicalPremium) == 412);
static_assert(offsetof(TWithholdingRecOld, NewPensionPremium) == 416);
static_assert(offsetof(TWithholdingRecOld, OldPensionPremium) == 420);
static_assert(offsetof(TWithholdingRecOld, HousingLoanPossible) == 424);
static_assert(offsetof(TWithholdingRecOld, NationalPensionPremium) == 428);
static_assert(offsetof(TWithholdingRecOld, ResidenceStart) == 432);
static_assert(offsetof(TWithholdingRecOld, Reserved6) == 436);
static_assert(offsetof(TWithholdingRecOld, SmallBizPremium) == 440);
static_assert(offsetof(TWithholdingRecOld, Reserved7) == 444);

inline constexpr std::int64_t kWithholdingFileSizeNew =
    sizeof(TWithholdingHeader) + std::int64_t(kRecords) * sizeof(TWithholdingRec);
inline constexpr std::int64_t kWithholdingFileSizeOld =
    sizeof(TWithholdingHeader) + std::int64_t(kRecords) * sizeof(TWithholdingRecOld);
static_assert(kWithholdingFileSizeNew == 120300);
static_assert(kWithholdingFileSizeOld == 40300);

// True when the year of a withholding-file name ("源泉徴収(平成28年).dat") or of a
// pay-data file name ("平成28年給与･賞与.dat") keeps its records in the new layout:
// 平成28 and later, and every era other than 平成. A folder in front is ignored.
bool IsNewLayoutYear(const std::filesystem::path& fileName);

}  // namespace withholding
