#include "reports/PrintJob.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "ledger/Common.h"
#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "platform/Sjis.h"
#include "reports/Denomination.h"
#include "reports/MonthlyList.h"
#include "reports/Roster.h"
#include "reports/TransferList.h"

namespace reports {

namespace {

std::string twoWide(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%2d", value);
    return buf;
}

bool inUse(const ledger::Ledger& ledger, int slot) {
    return !ledger.Employee(slot).Key.empty();
}

// Counts the slots from 1 up to the first one not in use.
template <class Pred>
int countLeading(const ledger::Ledger& ledger, Pred counts) {
    int n = 0;
    for (int slot = 1; slot <= ledger::kSlots && inUse(ledger, slot); ++slot)
        if (counts(slot)) ++n;
    return n;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

int ValidFormType(int formType) {
    return formType >= 0 && formType < int(kFormTypeNames.size()) ? formType : kDefaultFormType;
}

bool IsOneSlipFormType(int formType) {
    return formType == 1 || formType == 2 || formType == 5 || formType == 6;
}

bool IsB5FormType(int formType) {
    return formType == 1 || formType == 5;
}

bool IsGB1172FormType(int formType) {
    return formType >= 4;
}

PaperChoice SlipPaper(int formType) {
    return IsB5FormType(formType) ? PaperChoice{13, 2} : PaperChoice{9, 1};
}

std::vector<SlipSheet> SlipSheets(const std::vector<int>& slots, int formType) {
    const std::size_t n = std::min<std::size_t>(slots.size(), ledger::kSlots);
    std::vector<SlipSheet> sheets;
    if (IsOneSlipFormType(formType)) {
        for (std::size_t i = 0; i < n; ++i) sheets.push_back({slots[i], 0});
        return sheets;
    }
    for (std::size_t i = 0; i < n; i += 2)
        sheets.push_back({slots[i], i + 1 < n ? slots[i + 1] : 0});
    return sheets;
}

int SlipPageCount(int selected, int formType) {
    return IsOneSlipFormType(formType) ? selected : (selected - 1) / 2 + 1;
}

std::vector<SlipSheet> JobSheets(int docKind, int pageCount, const std::vector<int>& selected,
                                 int formType) {
    if (docKind == kDocPaySlips) return SlipSheets(selected, formType);
    std::vector<SlipSheet> sheets;
    if (docKind == kDocPersonalLedger) {
        for (std::size_t i = 0; i < selected.size() && int(i) < pageCount; ++i)
            sheets.push_back({selected[i], 0});
        return sheets;
    }
    for (int p = 1; p <= pageCount; ++p) sheets.push_back({p, 0});
    return sheets;
}

JobCount RosterCount(const ledger::Ledger& ledger) {
    // The roster's own list, so that its "Page p / n" and the dialog agree.
    JobCount c;
    c.targets = int(RosterSlots(ledger).size());
    c.pages = (c.targets - 1) / 10 + 1;
    return c;
}

JobCount MonthlyListCount(const ledger::Ledger& ledger) {
    const MonthlyPagePlan plan = BuildMonthlyPagePlan(ledger, MonthlyGrouping::Normal);
    return {plan.targetCount, plan.pageCount};
}

JobCount PayMethodCount(const ledger::Ledger& ledger, int docKind, bool allPrint) {
    JobCount c;
    c.targets = int(docKind == kDocTransferList ? TransferSlots(ledger).size()
                                                : DenominationSlots(ledger, allPrint).size());
    c.pages = (c.targets - 1) / 30 + 1;
    return c;
}

std::string MonthlyListPeriodName(int period, const ledger::SysOption& options) {
    if (period == 13) return "夏期賞与";
    if (period == 14) return "冬季賞与";
    if (period == 15) return options.tokuSyoyo;
    return std::to_string(period) + "月分･給与";
}

std::string PrnInfoText(int docKind, const JobCount& count, std::string_view periodName) {
    char buf[256];
    switch (docKind) {
        case kDocPaySlips:
            std::snprintf(buf, sizeof buf, " %d枚 [%d名]", count.pages, count.targets);
            break;
        case kDocPersonalLedger:
            std::snprintf(buf, sizeof buf, " %d枚", count.pages);
            break;
        case kDocMonthlyList:
            std::snprintf(buf, sizeof buf, " %2d枚 [%d名、%.*s]", count.pages, count.targets,
                          int(periodName.size()), periodName.data());
            break;
        default:
            std::snprintf(buf, sizeof buf, " %2d枚 [%d名]", count.pages, count.targets);
            break;
    }
    return buf;
}

DateEdits InitialPayDate(const ledger::Ledger& ledger) {
    const int period = ledger.CurData.Period;
    if (period >= 13 && period <= 15) {
        const auto& h = ledger.FileHeader;
        return {twoWide(ledger.CurData.Year), twoWide(h.BonusPayMonth[period - 13]),
                twoWide(h.BonusPayDay[period - 13])};
    }
    const ledger::PayDate d = ledger::PayDateParts(ledger);
    return {d.year, d.month, d.day};
}

std::string EraLabelText(const ledger::Clock& clock) {
    return ledger::eraOf(clock.now()).era + "    年    月    日";
}

PrintDate SlipPrintDate(std::string_view eraLabel, std::string_view year, std::string_view month,
                        std::string_view day) {
    // Five Shift-JIS bytes of the label: a two-character era name and a blank.
    const std::string era = sjis::cutUtf8(eraLabel, 5);
    auto number = [](std::string_view text) {
        try {
            return int(ledger::StrToIntDef0(text));
        } catch (const platform::ConvertError&) {
            return 0;
        }
    };
    return {era + std::string(year), twoWide(number(month)), twoWide(number(day))};
}

PrintDate TodayPrintDate(const ledger::Clock& clock) {
    const ledger::DateTime now = clock.now();
    const ledger::EraYear e = ledger::eraOf(now);
    return {e.era + " " + std::to_string(e.year), twoWide(now.month), twoWide(now.day)};
}

SlipOffset SlipPageOffset(int formType, bool lowerSlip, bool smallPreview) {
    SlipOffset o = IsB5FormType(formType) ? SlipOffset{23, 17} : SlipOffset{0, -0.5f};
    if (lowerSlip) {
        o.y += 148.5f;
        if (smallPreview) o.y += 1.0f;
    }
    return o;
}

std::string AdjustText(double mm) {
    return ledger::padLeft(ledger::fixedText(mm, 1), 5);
}

std::optional<double> ParseAdjust(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    double v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    // Only what the five-character field can show again ("-99.9" to "999.9"), so
    // the value always fits the tenths the settings keep.
    const double tenths = std::nearbyint(v * 10);
    if (tenths < kMinAdjustTenths || tenths > kMaxAdjustTenths) return std::nullopt;
    return v;
}

int AdjustToTenths(double mm) {
    // Halves go to the even neighbour, as the stored value always has. A stored
    // value beyond the field's range is held at its edge, never converted out of range.
    const double tenths = std::nearbyint(mm * 10);
    if (!(tenths >= kMinAdjustTenths)) return kMinAdjustTenths;
    if (tenths > kMaxAdjustTenths) return kMaxAdjustTenths;
    return int(tenths);
}

std::string ApplyMemoRules(std::string_view text) {
    std::string out;
    int lines = 1;
    for (char ch : text) {
        if (ch == '\r') continue;
        // A fifth line break would open a sixth line: it and all after it go.
        if (ch == '\n' && ++lines > kMemoLines) break;
        out += ch;
    }
    if (sjis::byteLength(out) > std::size_t(kMemoBytes)) out = sjis::cutUtf8(out, kMemoBytes);
    return out;
}

}  // namespace reports
