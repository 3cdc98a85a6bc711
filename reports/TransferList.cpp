#include "reports/TransferList.h"

#include "ledger/Common.h"
#include "reports/ListHead.h"

namespace reports {

std::vector<int> TransferSlots(const ledger::Ledger& l) {
    std::vector<int> slots;
    for (int slot = 1; slot <= ledger::kSlots; ++slot) {
        const ledger::TEmployeeRec& e = l.Employee(slot);
        if (!e.Key.empty() && ledger::IsActive(l, slot) && e.PayMethod == 0) slots.push_back(slot);
    }
    return slots;
}

int TransferPageCount(const ledger::Ledger& l) {
    return ListPageCount(int(TransferSlots(l).size()), kListRowsPerPage);
}

std::string AccountTypeText(int accountType) {
    switch (accountType) {
        case 0:
            return "普通";
        case 1:
            return "当座";
        case 2:
            return "貯蓄";
        default:
            return {};
    }
}

void DrawTransferPage(PrnCanvas& c, const ledger::Ledger& l, int page) {
    std::vector<int> slots = TransferSlots(l);
    DrawListHead(c, l, "給与/賞与振込一覧", 95, 20, page,
                 ListPageCount(int(slots.size()), kListRowsPerPage));
    DrawListPeriodLine(c, l);

    constexpr float top = 29, rowH = 5, bottom = 184;
    for (int r = 0; r <= kListRowsPerPage; r += 2)
        c.ShadeBox(18, top + rowH * float(r), 278, top + rowH * float(r + 1));
    c.thickPen();
    c.DrawBox(18, top, 278, bottom);
    c.DrawLine(18, 34, 278, 34);
    c.thinPen();
    for (float x : {37.f, 64.f, 84.f, 124.f, 151.f, 191.f, 218.f, 227.5f, 244.f, 263.f})
        c.DrawLine(x, top, x, bottom);

    c.FontInfo.Narrow = true;
    constexpr float headY = 29.7f;
    c.DrawText("社員ｺｰﾄﾞ", 21, headY);
    c.DrawText("社 員 名", 45, headY);
    c.DrawText("フリガナ", 68, headY);
    c.DrawText("金融機関名", 96, headY);
    c.DrawText("フリガナ", 131, headY);
    c.DrawText("支　店　名", 163, headY);
    c.DrawText("フリガナ", 198, headY);
    c.DrawText("種別", 220, headY);
    c.DrawText("口座番号", 229.5f, headY);
    c.DrawText("支給金額", 247.5f, headY);
    c.DrawText("手数料", 266, headY);

    std::size_t first = std::size_t(kListRowsPerPage) * std::size_t(page > 0 ? page - 1 : 0);
    float y = 34.7f;
    for (std::size_t k = first; k < slots.size() && k < first + kListRowsPerPage; ++k, y += rowH) {
        int slot = slots[k];
        const ledger::TEmployeeRec& e = l.Employee(slot);
        c.DrawSjis(e.Code.bytes(), 20, y);
        c.DrawSjis(e.Name.bytes(), 38, y);
        c.DrawSjis(e.Kana.bytes(), 65, y);
        c.DrawSjis(e.BankName.bytes(), 85, y);
        c.DrawSjis(e.BankKana.bytes(), 125, y);
        c.DrawSjis(e.BranchName.bytes(), 152, y);
        c.DrawSjis(e.BranchKana.bytes(), 192, y);
        c.DrawText(AccountTypeText(e.AccountType), 220, y);
        c.DrawSjis(e.AccountNo.bytes(), 230, y);
        double net = double(NetPay(l.Payment(slot), l.Deduction(slot), OtherSource::Payment));
        c.DrawText(ledger::FmtAmount(10, net), 245, y);
        c.DrawText(ledger::FmtAmount(8, e.TransferFee), 263, y);
    }
}

}  // namespace reports
