#include "ledger/LayoutItemUse.h"

#include <algorithm>
#include <string_view>

#include "ledger/Ledger.h"
#include "ledger/PayCalcSupport.h"
#include "ledger/SalaryCalc.h"

namespace ledger {

using namespace paycalc;

namespace {

// Positions in SysOption::paymentLabels.
enum PaymentLabel {
    kLabelBase = 0,
    kLabelPost,
    kLabelFamily,
    kLabelOvertime,
    kLabelNight,
    kLabelHoliday,
    kLabelHolidayNight,
    kLabelCommuteFree,
    kLabelCommuteTaxed,
    kLabelAbsence,
    kLabelLate,
};

// The label the calculation asks the layout about for each amount; empty where
// it asks nothing.
std::array<std::string_view, kPaymentAmounts> paymentLabels(const SysOption& o, SlipKind kind) {
    std::array<std::string_view, kPaymentAmounts> l{};
    for (int k = 0; k < 3; ++k) {
        l[std::size_t(kPayFixed1 + k)] = o.freeLabels[std::size_t(kFreeFixedPay + k)];
        l[std::size_t(kPayVariable1 + k)] = o.freeLabels[std::size_t(kFreeVarPay + k)];
    }
    if (kind == SlipKind::Bonus) {
        l[kPayBase] = kBonusName;
        l[kPayPost] = kDirectorsFeeName;
        return l;
    }
    auto label = [&](int k) -> std::string_view { return o.paymentLabels[std::size_t(k)]; };
    l[kPayBase] = label(kLabelBase);
    l[kPayPost] = label(kLabelPost);
    l[kPayFamily] = label(kLabelFamily);
    l[kPayOvertime] = label(kLabelOvertime);
    l[kPayNight] = label(kLabelNight);
    l[kPayHoliday] = label(kLabelHoliday);
    l[kPayHolidayNight] = label(kLabelHolidayNight);
    l[kPayCommuteFree] = label(kLabelCommuteFree);
    l[kPayCommuteTaxed] = label(kLabelCommuteTaxed);
    l[kPayAbsence] = label(kLabelAbsence);
    l[kPayLate] = label(kLabelLate);
    return l;
}

std::array<std::string_view, kDeductionAmounts> deductionLabels(const SysOption& o) {
    std::array<std::string_view, kDeductionAmounts> l{};
    l[kDedHealth] = kHealthName;
    l[kDedPension] = kPensionName;
    l[kDedPensionFund] = kPensionFundName;
    l[kDedEmployment] = kEmploymentName;
    l[kDedCare] = kCareName;
    l[kDedResidentTax] = kResidentTaxName;
    l[kDedIncomeTax] = kIncomeTaxName;
    for (int k = 0; k < 3; ++k) {
        l[std::size_t(kDedFixed1 + k)] = o.freeLabels[std::size_t(kFreeFixedDed + k)];
        l[std::size_t(kDedVariable1 + k)] = o.freeLabels[std::size_t(kFreeVarDed + k)];
    }
    return l;
}

// What IsPaymentItemUsed / IsDeductionItemUsed answer for each label, with every
// code of the layout resolved to its label once.
template <std::size_t N>
std::array<bool, N> holds(const Ledger& ledger, ItemGroup group, int payType,
                          const std::array<std::string_view, N>& labels) {
    std::vector<std::string> shown;
    for (const std::string& code : ledger.PrnLayout[payType].codes(group))
        shown.push_back(shownLabel(ledger.sysOption, code));
    std::array<bool, N> out{};
    for (std::size_t i = 0; i < N; ++i)
        out[i] =
            !labels[i].empty() && std::find(shown.begin(), shown.end(), labels[i]) != shown.end();
    return out;
}

// The grid items of the used entries of a group (IsGridItemUsed's question
// turned round).
std::vector<GridItem> usedGridItems(const Ledger& ledger, ItemGroup group, int payType) {
    std::vector<GridItem> out;
    auto items = ledger.itemTables.items(group);
    auto codes = ledger.PrnLayout[payType].codes(group);
    const std::size_t n = std::min(items.size(), codes.size());
    for (std::size_t i = 0; i < n; ++i)
        if (items[i].Use[std::size_t(payType)])
            out.push_back(GridItemOfCode(ledger, group, codes[i]));
    return out;
}

}  // namespace

PayTypeItemUse ResolveItemUse(const Ledger& ledger, int payType, SlipKind kind) {
    PayTypeItemUse use;
    const ItemGrid& grid = ledger.grid;
    use.gridRow.assign(std::size_t(std::max(0, grid.rowCount())), false);
    if (payType < 1 || payType > kPayTypes) return use;
    const SysOption& o = ledger.sysOption;
    use.payment = holds(ledger, ItemGroup::Payment, payType, paymentLabels(o, kind));
    use.deduction = holds(ledger, ItemGroup::Deduction, payType, deductionLabels(o));

    const std::vector<GridItem> pays = usedGridItems(ledger, ItemGroup::Payment, payType);
    const std::vector<GridItem> deds = usedGridItems(ledger, ItemGroup::Deduction, payType);
    const std::vector<GridItem> others = usedGridItems(ledger, ItemGroup::Other, payType);
    auto in = [](const std::vector<GridItem>& v, const GridItem& item) {
        return std::find(v.begin(), v.end(), item) != v.end();
    };
    for (int row = 1; row < grid.rowCount(); ++row) {
        const GridItem item = grid.item(row);
        bool used = false;
        switch (item.kind) {
            case GridItemKind::VariablePay:
                used = in(pays, item);
                break;
            case GridItemKind::VariableDeduct:
                used = in(deds, item);
                break;
            case GridItemKind::Other:
                used = in(others, item);
                break;
            default:
                break;
        }
        use.gridRow[std::size_t(row)] = used;
    }
    return use;
}

namespace {
// Overwrites in place, so that a refresh that finds nothing changed allocates
// nothing.
template <typename T>
void put(std::vector<T>& v, std::size_t& n, const T& value) {
    if (n < v.size())
        v[n] = value;
    else
        v.push_back(value);
    ++n;
}
}  // namespace

void ItemUseCache::readInputs(const Ledger& ledger, SlipKind kind, Inputs& in) {
    const SysOption& o = ledger.sysOption;
    in.kind = kind;
    in.attendanceLabels = o.attendanceLabels;
    in.paymentLabels = o.paymentLabels;
    in.freeLabels = o.freeLabels;
    constexpr ItemGroup kGroups[] = {ItemGroup::Attendance, ItemGroup::Payment,
                                     ItemGroup::Deduction, ItemGroup::Other};
    std::size_t codes = 0, uses = 0, rows = 0;
    for (int t = 1; t <= kPayTypes; ++t)
        for (ItemGroup g : kGroups)
            for (const std::string& code : ledger.PrnLayout[t].codes(g)) put(in.codes, codes, code);
    for (ItemGroup g : kGroups)
        for (const TEditItems& item : ledger.itemTables.items(g))
            for (bool u : item.Use) put(in.uses, uses, u);
    for (int row = 0; row < ledger.grid.rowCount(); ++row)
        put(in.gridItems, rows, ledger.grid.item(row));
    in.codes.resize(codes);
    in.uses.resize(uses);
    in.gridItems.resize(rows);
}

void ItemUseCache::refresh(const Ledger& ledger, SlipKind kind) {
    readInputs(ledger, kind, scratch_);
    if (valid_ && scratch_ == inputs_) return;
    std::swap(inputs_, scratch_);
    for (int t = 0; t <= kPayTypes; ++t) use_[std::size_t(t)] = ResolveItemUse(ledger, t, kind);
    valid_ = true;
}

}  // namespace ledger
