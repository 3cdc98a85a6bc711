#include "reports/Roster.h"

#include <array>
#include <string_view>

#include "ledger/Common.h"
#include "ledger/EmployeeEdit.h"
#include "reports/ListHead.h"

namespace reports {
namespace {

using ledger::TEmployeeRec;

// A row: its fixed caption and, for the rows the user names, the [Option] key
// of the label that replaces it.
struct RosterRow {
    std::string_view caption;
    std::string_view labelKey;
};

constexpr std::array<RosterRow, kRosterRows> kRows{{
    {"氏　　名", ""},
    {"部　　署", ""},
    {"社員区分", ""},
    {"支給形態", ""},
    {"税額表  ", ""},
    {"扶養人数", ""},
    {"基本給  ", "inKihon"},
    {"残業手当(普通)", "inFutuTea"},
    {"残業手当(深夜)", "inSinTea"},
    {"休日残業(普通)", "inKyFuTea"},
    {"休日残業(深夜)", "inKySnTea"},
    {"交通費(非課税)", "inTuukin0"},
    {"交通費(課税)", "inTuukin1"},
    {"　支給単位  ", ""},
    {"住民税(６月)", ""},
    {"住民税(以外)", ""},
    {"役職手当  ", "inYakuTea"},
    {"家族手当  ", "inFamiTea"},
    {"固定手当１", "FixTeate1"},
    {"固定手当２", "FixTeate2"},
    {"固定手当３", "FixTeate3"},
    {"固定控除１", "FixKoujo1"},
    {"固定控除２", "FixKoujo2"},
    {"固定控除３", "FixKoujo3"},
    {"雇用保険対象", ""},
    {"健康保険料", ""},
    {"介護保険料", ""},
    {"厚生年金保険料", ""},
    {"厚生年金掛け金", ""},
}};

constexpr std::string_view kNotInsured = "     －";

// Rows whose value is an amount, printed at the amount position.
bool isAmountRow(int row) {
    return (row >= 6 && row <= 12) || (row >= 14 && row <= 23) || row >= 25;
}

std::string amount(std::int32_t v) {
    return ledger::FmtAmount(9, v);
}

std::string insured(bool flag, std::int32_t premium) {
    return flag ? amount(premium) : std::string(kNotInsured);
}

std::string kindText(const TEmployeeRec& e) {
    if (e.Kind == 0) return e.KindText.str();
    if (e.Kind <= ledger::kEmployeeKinds.size())
        return std::string(ledger::kEmployeeKinds[e.Kind - 1u]);
    return {};  // a damaged record prints nothing rather than losing the page
}

std::string payFormText(const TEmployeeRec& e) {
    if (e.PayForm >= 1 && e.PayForm <= ledger::kPayForms.size())
        return std::string(ledger::kPayForms[e.PayForm - 1u]);
    return {};
}

}  // namespace

std::vector<int> RosterSlots(const ledger::Ledger& l) {
    std::vector<int> slots;
    for (int slot = 1; slot <= ledger::kSlots && !l.Employee(slot).Key.empty(); ++slot) {
        int status = l.Employee(slot).Status;
        if (status == 1 || status == 2) slots.push_back(slot);
    }
    return slots;
}

int RosterPageCount(const ledger::Ledger& l) {
    return ListPageCount(int(RosterSlots(l).size()), kRosterPerPage);
}

std::string RosterCaption(int row, const ledger::SysOption& option) {
    if (row < 0 || row >= kRosterRows) return {};
    const RosterRow& r = kRows[std::size_t(row)];
    if (!r.labelKey.empty())
        if (const std::string* label = option.labelForKey(r.labelKey)) return *label;
    return std::string(r.caption);
}

std::string RosterValue(int row, const TEmployeeRec& e) {
    switch (row) {
        case 0:
            return e.Name.str();
        case 1:
            return e.Dept.str();
        case 2:
            return kindText(e);
        case 3:
            return payFormText(e);
        case 4:
            return e.TaxColumn == 0 ? "甲欄" : "乙欄";
        case 5:
            return Fmt("%2d人 / %2d人", e.Dependants, e.TaxDependants);
        case 6:
            return amount(e.BasePay);
        case 7:
            return amount(e.OvertimeUnit);
        case 8:
            return amount(e.NightUnit);
        case 9:
            return amount(e.HolidayUnit);
        case 10:
            return amount(e.HolidayNightUnit);
        case 11:
            return amount(e.CommuteFree);
        case 12:
            return amount(e.CommuteTaxed);
        case 13:
            return "毎月";
        case 14:
            return amount(e.ResidentTaxJune);
        case 15:
            return amount(e.ResidentTax);
        case 16:
            return amount(e.PostAllowance);
        case 17:
            return amount(e.FamilyAllowance);
        case 18:
        case 19:
        case 20:
            return amount(e.FixedAllowance[row - 18]);
        case 21:
        case 22:
        case 23:
            return amount(e.FixedDeduction[row - 21]);
        case 24:
            return e.EmpInsured ? "     ○" : std::string(kNotInsured);
        case 25:
            return insured(e.HealthInsured, e.HealthPremium);
        case 26:
            return insured(e.CareInsured, e.CarePremium);
        case 27:
            return insured(e.PensionInsured, e.PensionPremium);
        case 28:
            return insured(e.PensionFundMember, e.PensionFundPremium);
        default:
            return {};
    }
}

void DrawRosterPage(PrnCanvas& c, const ledger::Ledger& l, int page) {
    std::vector<int> slots = RosterSlots(l);
    DrawListHead(c, l, "社 員 名 簿 一 覧 表", 100, 20, page,
                 ListPageCount(int(slots.size()), kRosterPerPage));

    constexpr float top = 29, rowH = 5.5f, bottom = top + rowH * kRosterRows;
    for (int r = 0; r < kRosterRows; r += 2)
        c.ShadeBox(10, top + rowH * float(r), 288, top + rowH * float(r + 1));
    c.thickPen();
    c.DrawBox(10, top, 288, bottom);
    c.thinPen();
    c.DrawLine(10, top + rowH, 288, top + rowH);
    for (int j = 0; j < kRosterPerPage; ++j) {
        float x = 33 + 25.5f * float(j);
        c.DrawLine(x, top, x, bottom);
    }

    c.FontInfo.Narrow = true;
    for (int r = 0; r < kRosterRows; ++r)
        c.DrawText(RosterCaption(r, l.sysOption), 11, 30 + rowH * float(r));

    std::size_t first = std::size_t(kRosterPerPage) * std::size_t(page > 0 ? page - 1 : 0);
    for (int j = 0; j < kRosterPerPage && first + std::size_t(j) < slots.size(); ++j) {
        const TEmployeeRec& e = l.Employee(slots[first + std::size_t(j)]);
        float textX = 33.5f + 25.5f * float(j), amountX = 38 + 25.5f * float(j);
        for (int r = 0; r < kRosterRows; ++r) {
            std::string value = RosterValue(r, e);
            bool atAmount = isAmountRow(r) && value != kNotInsured;
            c.DrawText(value, atAmount ? amountX : textX, 30 + rowH * float(r));
        }
    }
}

}  // namespace reports
