#include "reports/Denomination.h"

#include "ledger/Common.h"
#include "reports/ListHead.h"
#include "reports/TransferList.h"

namespace reports {
namespace {

std::int64_t netPayOf(const ledger::Ledger& l, int slot) {
    return NetPay(l.Payment(slot), l.Deduction(slot), OtherSource::Payment);
}

// A count as its column shows it: "%3d", or " - " for the unused 2,000-yen note.
std::string countText(std::size_t column, std::int64_t count, bool use2k) {
    if (column == kTwoThousandColumn && !use2k) return " - ";
    return Fmt("%3lld", static_cast<long long>(count));
}

void drawCounts(PrnCanvas& c, const DenominationCounts& counts, bool use2k, float y) {
    for (std::size_t i = 0; i < counts.size(); ++i)
        c.DrawText(countText(i, counts[i], use2k), 100 + 15 * float(i), y);
}

}  // namespace

DenominationCounts SplitDenominations(std::int64_t amount, bool use2k) {
    DenominationCounts counts{};
    if (amount <= 0) return counts;
    for (std::size_t i = 0; i < kDenominations.size(); ++i) {
        if (i == kTwoThousandColumn && !use2k) continue;
        counts[i] = amount / kDenominations[i];
        amount %= kDenominations[i];
    }
    return counts;
}

std::vector<int> DenominationSlots(const ledger::Ledger& l, bool allPrint) {
    std::vector<int> slots;
    for (int slot = 1; slot <= ledger::kSlots; ++slot) {
        const ledger::TEmployeeRec& e = l.Employee(slot);
        if (!e.Key.empty() && ledger::IsActive(l, slot) && (allPrint || e.PayMethod == 1))
            slots.push_back(slot);
    }
    return slots;
}

int DenominationPageCount(const ledger::Ledger& l, bool allPrint) {
    return ListPageCount(int(DenominationSlots(l, allPrint).size()), kListRowsPerPage);
}

DenominationTotals SumDenominations(const ledger::Ledger& l, const std::vector<int>& slots) {
    DenominationTotals totals;
    for (int slot : slots) {
        std::int64_t net = netPayOf(l, slot);
        DenominationCounts counts = SplitDenominations(net, l.sysOption.use2kSatu);
        for (std::size_t i = 0; i < counts.size(); ++i) totals.counts[i] += counts[i];
        if (net > 0) totals.pay += net;
    }
    return totals;
}

void DrawDenominationPage(PrnCanvas& c, const ledger::Ledger& l, int page, bool allPrint) {
    std::vector<int> slots = DenominationSlots(l, allPrint);
    int pageCount = ListPageCount(int(slots.size()), kListRowsPerPage);
    bool use2k = l.sysOption.use2kSatu;
    DrawListHead(c, l, "給与/賞与支払金種表", 95, 20, page, pageCount);
    DrawListPeriodLine(c, l);

    constexpr float top = 29, rowH = 5, right = 269.5f, bottom = 189;
    for (int r = 0; r <= kListRowsPerPage; r += 2)
        c.ShadeBox(18, top + rowH * float(r), right, top + rowH * float(r + 1));
    c.thickPen();
    c.DrawBox(18, top, right, bottom);
    c.DrawLine(18, 34, right, 34);
    c.DrawLine(18, 184, right, 184);
    c.thinPen();
    for (float x : {37.f, 70.f}) c.DrawLine(x, top, x, bottom);
    for (int j = 0; j <= 10; ++j) c.DrawLine(95 + 15 * float(j), top, 95 + 15 * float(j), bottom);

    c.FontInfo.Narrow = true;
    constexpr float headY = 29.7f;
    c.DrawText("社員ｺｰﾄﾞ", 21, headY);
    c.DrawText("社 員 名", 45, headY);
    c.DrawText("フリガナ", 76, headY);
    static constexpr const char* kHeadings[] = {"１万円", "５千円", "２千円", " 千円", "500円",
                                                "100円",  " 50円",  " 10円",  "  5円", "  1円"};
    for (int i = 0; i < 10; ++i) c.DrawText(kHeadings[i], 98 + 15 * float(i), headY);
    c.DrawText(" 支給額合計", 248, headY);

    std::size_t first = std::size_t(kListRowsPerPage) * std::size_t(page > 0 ? page - 1 : 0);
    float y = 34.7f;
    for (std::size_t k = first; k < slots.size() && k < first + kListRowsPerPage; ++k, y += rowH) {
        int slot = slots[k];
        const ledger::TEmployeeRec& e = l.Employee(slot);
        std::int64_t net = netPayOf(l, slot);
        c.DrawSjis(e.Code.bytes(), 20, y);
        c.DrawSjis(e.Name.bytes(), 38, y);
        c.DrawSjis(e.Kana.bytes(), 71, y);
        drawCounts(c, SplitDenominations(net, use2k), use2k, y);
        c.DrawText(ledger::FmtAmount(10, double(net)), 249, y);
    }

    if (page == pageCount) {
        DenominationTotals totals = SumDenominations(l, slots);
        constexpr float totalY = 184.7f;
        c.DrawText("合　計", 22.5f, totalY);
        drawCounts(c, totals.counts, use2k, totalY);
        c.DrawText(ledger::FmtAmount(10, double(totals.pay)), 249, totalY);
    }
}

}  // namespace reports
