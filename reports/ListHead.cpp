#include "reports/ListHead.h"

#include <cstdarg>
#include <cstdio>

namespace reports {

std::string Fmt(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0) return {};
    if (std::size_t(n) < sizeof buffer) return std::string(buffer, std::size_t(n));
    std::string out(std::size_t(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(out.data(), out.size(), format, args);
    va_end(args);
    out.resize(std::size_t(n));
    return out;
}

std::string TodayLongText(const ledger::Clock& clock) {
    ledger::DateTime now = clock.now();
    ledger::EraYear era = ledger::eraOf(now);
    return Fmt("%s %d年 %d月 %d日", era.era.c_str(), era.year, now.month, now.day);
}

void DrawListHead(PrnCanvas& c, const ledger::Ledger& l, std::string_view title, float titleX,
                  float titleY, int page, int pageCount) {
    c.resetFont("ＭＳ 明朝");
    c.SetFontPoints(16);
    c.DrawText(title, titleX, titleY);
    c.SetFontPoints(10);
    c.DrawSjis(l.BasicInfo().CorpName.bytes(), 12, 22);
    c.DrawText(TodayLongText(l.clock), 220, 22);
    c.DrawText(Fmt("Page %d / %d", page, pageCount), 260, 22);
}

std::string ListPeriodName(int period, const ledger::SysOption& option) {
    switch (period) {
        case 13:
            return "夏期賞与";
        case 14:
            return "冬期賞与";
        case 15:
            return option.tokuSyoyo;
        default:
            return Fmt("%d月分給与", period);
    }
}

void DrawListPeriodLine(PrnCanvas& c, const ledger::Ledger& l) {
    c.SetFontPoints(12);
    c.DrawText(Fmt("[%s%d年 %s]", l.CurData.Era.c_str(), l.CurData.Year,
                   ListPeriodName(l.CurData.Period, l.sysOption).c_str()),
               150, 21);
    // The columns below are measured for 10 points.
    c.SetFontPoints(10);
}

std::int64_t NetPay(const ledger::TPaymentRec& pay, const ledger::TDeductionRec& ded,
                    OtherSource source) {
    std::int64_t others = 0;
    for (int i = 0; i < 3; ++i)
        others += source == OtherSource::Payment ? pay.Amounts[ledger::kPayOther1 + i]
                                                 : ded.Amounts[ledger::kDedOther1 + i];
    return std::int64_t(pay.Amounts[ledger::kPayTotal]) + others - ded.Amounts[ledger::kDedTotal];
}

int ListPageCount(int targets, int perPage) {
    return (targets - 1) / perPage + 1;
}

}  // namespace reports
