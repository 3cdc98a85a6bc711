#include "withholding/YearEndRules.h"

#include <cstdint>

namespace withholding {

namespace {

constexpr PersonalAmounts kPersonal{
    .specificDependant = 630000,
    .elderlyDependant = 480000,
    .livingWithParents = 100000,
    .otherDependant = 380000,
    .specialDisabled = 400000,
    .livingWithDisabled = 350000,
    .otherDisabled = 270000,
    .selfSpecialDisabled = 400000,
    .selfOtherDisabled = 270000,
    .widow = 270000,
    .workingStudent = 270000,
};

// ---- 平成 ----

constexpr TaxBracket kHeiseiBrackets[] = {
    {1950000, 0.05L, 0},      {3300000, 0.10L, 97500},    {6950000, 0.20L, 427500},
    {9000000, 0.23L, 636000}, {16920000, 0.33L, 1536000},
};

constexpr IncomeTier kHeiseiSpouseSpecial[] = {
    {380001, 0},      {400000, 380000}, {450000, 360000}, {500000, 310000}, {550000, 260000},
    {600000, 210000}, {650000, 160000}, {700000, 110000}, {750000, 60000},  {760000, 30000},
};

constexpr PayStep kHeiseiPaySteps[] = {
    {1619000, 1619999, 1000},
    {1620000, 1623999, 2000},
    {1624000, 6599999, 4000},
};

constexpr IncomeFormula kHeiseiIncome[] = {
    {650999, 0.0L, 0, true},           {1618999, 1.0L, 650000, true},
    {1619999, 0.6L, 2400, true},       {1621999, 0.6L, 2000, true},
    {1623999, 0.6L, 1200, true},       {1627999, 0.6L, 400, true},
    {1799999, 0.6L, 0, true},          {3599999, 0.7L, 180000, true},
    {6599999, 0.8L, 540000, true},     {9999999, 0.9L, 1200000, false},
    {14999999, 0.95L, 1700000, false}, {INT64_MAX, 1.0L, 2450000, false},
};

constexpr HeiseiRules kHeisei{
    .paySteps = kHeiseiPaySteps,
    .income = kHeiseiIncome,
    .brackets = kHeiseiBrackets,
    .spouseSpecial = kHeiseiSpouseSpecial,
    .basic = 380000,
    .spouse = 380000,
    .elderlySpouseAddition = 100000,
    .personal = kPersonal,
    .widowSpecial = 350000,
    .widower = 270000,
    .surtaxFrom = 25,
    .surtaxBelow = 15,
    .surtax = 1.021L,
};

// ---- 令和: figures both years share ----

constexpr TaxBracket kReiwaBrackets[] = {
    {1950000, 0.05L, 0},      {3300000, 0.10L, 97500},    {6950000, 0.20L, 427500},
    {9000000, 0.23L, 636000}, {18000000, 0.33L, 1536000}, {18050000, 0.40L, 2796000},
};

constexpr SpouseSpecialRow kReiwaSpouseSpecial[] = {
    {950000, {380000, 260000, 130000}},  {1000000, {360000, 240000, 120000}},
    {1050000, {310000, 210000, 110000}}, {1100000, {260000, 180000, 90000}},
    {1150000, {210000, 140000, 70000}},  {1200000, {160000, 110000, 60000}},
    {1250000, {110000, 80000, 40000}},   {1300000, {60000, 40000, 20000}},
    {1330000, {30000, 20000, 10000}},
};

// ---- 令和7年分 ----

constexpr IncomeTier kBasicR07[] = {
    {1320000, 950000},  {3360000, 880000},  {4890000, 680000},  {6550000, 630000},
    {23500000, 580000}, {24000000, 480000}, {24500000, 320000}, {25000000, 160000},
};

constexpr ReiwaRules kReiwa7{
    .fromEraYear = 7,
    .minimumDeduction = 650000,
    .fixedBands = {},
    .tableFrom = 1900000,
    .tableStep = 4000,
    .tableEnd = 6600000,
    .lowerRateEnd = 3600000,
    .lowerRate = {7, 10, 80000},
    .upperRate = {8, 10, 440000},
    .ninetyPercent = {9, 10, 1100000},
    .ninetyPercentEnd = 8500000,
    .highPayDeduction = 1950000,
    .payCeiling = 20000000,
    .adjustmentFrom = 8500000,
    .adjustmentCap = 10000000,
    .adjustmentMax = 150000,
    .basic = kBasicR07,
    .payeeTiers = {9000000, 9500000, 10000000},
    .spouse = {380000, 260000, 130000},
    .elderlySpouse = {480000, 320000, 160000},
    .spouseIncomeLimit = 580000,
    .spouseSpecial = kReiwaSpouseSpecial,
    .personal = kPersonal,
    .singleParent = 350000,
    .widowIncomeLimit = 5000000,
    .studentIncomeLimit = 850000,
    .brackets = kReiwaBrackets,
    .surtaxLastEraYear = 29,
    .surtax = 1.021L,
};

// ---- 令和8年分 (and later years until their figures are added) ----

constexpr FixedBand kFixedBandsR08[] = {
    {2191000, 1451000},
    {2193000, 1453000},
    {2196000, 1456000},
};

constexpr IncomeTier kBasicR08[] = {
    {4890000, 1040000}, {6550000, 670000},  {23500000, 620000},
    {24000000, 480000}, {24500000, 320000}, {25000000, 160000},
};

constexpr ReiwaRules kReiwa8{
    .fromEraYear = 8,
    .minimumDeduction = 740000,
    .fixedBands = kFixedBandsR08,
    .tableFrom = 2200000,
    .tableStep = 4000,
    .tableEnd = 6600000,
    .lowerRateEnd = 3600000,
    .lowerRate = {7, 10, 80000},
    .upperRate = {8, 10, 440000},
    .ninetyPercent = {9, 10, 1100000},
    .ninetyPercentEnd = 8500000,
    .highPayDeduction = 1950000,
    .payCeiling = 20000000,
    .adjustmentFrom = 8500000,
    .adjustmentCap = 10000000,
    .adjustmentMax = 150000,
    .basic = kBasicR08,
    .payeeTiers = {9000000, 9500000, 10000000},
    .spouse = {380000, 260000, 130000},
    .elderlySpouse = {480000, 320000, 160000},
    .spouseIncomeLimit = 620000,
    .spouseSpecial = kReiwaSpouseSpecial,
    .personal = kPersonal,
    .singleParent = 350000,
    .widowIncomeLimit = 5000000,
    .studentIncomeLimit = 890000,
    .brackets = kReiwaBrackets,
    .surtaxLastEraYear = 29,
    .surtax = 1.021L,
};

// Newest first.
constexpr const ReiwaRules* kReiwaYears[] = {&kReiwa8, &kReiwa7};

}  // namespace

const HeiseiRules& HeiseiYearEndRules() {
    return kHeisei;
}

const ReiwaRules* ReiwaYearEndRules(int eraYear) {
    for (const ReiwaRules* r : kReiwaYears)
        if (eraYear >= r->fromEraYear) return r;
    return nullptr;
}

}  // namespace withholding
