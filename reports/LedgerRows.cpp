#include "reports/LedgerRows.h"

#include <algorithm>

#include "ledger/ItemLabel.h"
#include "ledger/ItemTables.h"
#include "platform/IniFile.h"

namespace reports {

namespace {

using ledger::ItemGroup;
using ledger::SlipKind;

// A label as the reports show it: the code's label without its F/V prefix.
std::string shown(std::string_view code, const ledger::SysOption& options) {
    const std::string label = ledger::ItemLabel(code, options);
    return label.empty() ? label : label.substr(1);
}

int countSet(const std::array<bool, kLedgerRowItems>& flags) {
    return int(std::count(flags.begin(), flags.end(), true));
}

int countSet(const std::array<bool, kLedgerRowItems>& flags, int from, int to) {
    int n = 0;
    for (int i = from; i <= to; ++i) n += flags[std::size_t(i - 1)] ? 1 : 0;
    return n;
}

}  // namespace

std::array<bool, kLedgerRowItems> LedgerRowFlagsFromText(std::string_view text) {
    std::array<bool, kLedgerRowItems> flags{};
    for (std::size_t i = 0; i < flags.size() && i < text.size(); ++i) flags[i] = text[i] == '1';
    return flags;
}

std::string LedgerRowFlagsText(const std::array<bool, kLedgerRowItems>& flags) {
    std::string text;
    for (bool f : flags) text += f ? '1' : '0';
    return text;
}

LedgerRowFlags LoadLedgerRowFlags(const platform::IniFile& ini) {
    const std::string def(kNoLedgerRowFlags);
    LedgerRowFlags flags;
    flags.added = LedgerRowFlagsFromText(
        ini.readString(ledger::kOptionSection, std::string(kDaichoAddKey), def));
    flags.removed = LedgerRowFlagsFromText(
        ini.readString(ledger::kOptionSection, std::string(kDaichoDelKey), def));
    return flags;
}

void SaveLedgerRowFlags(platform::IniFile& ini, const LedgerRowFlags& flags) {
    ini.writeAll([&](platform::IniFile& f) {
        f.writeString(ledger::kOptionSection, std::string(kDaichoAddKey),
                      LedgerRowFlagsText(flags.added));
        f.writeString(ledger::kOptionSection, std::string(kDaichoDelKey),
                      LedgerRowFlagsText(flags.removed));
    });
}

LedgerRowCountsResult LedgerRowCounts(const LedgerRowFlags& flags) {
    LedgerRowCountsResult r;
    r.added = countSet(flags.added);
    r.payment = 18 - countSet(flags.removed, 1, 6);
    r.deduction = 15 - countSet(flags.removed, 7, 12);
    r.other = 3 - countSet(flags.removed, 13, 15);
    r.total = 40 + r.added - countSet(flags.removed);
    return r;
}

bool LedgerRowVisible(const LedgerRowFlags& flags, int line) {
    if (line >= 2 && line <= 16) return flags.isAdded(line - 1);
    // The first line of each run of free items and the item it starts with.
    struct Run {
        int line;
        int item;
    };
    static constexpr Run runs[] = {{20, 1}, {31, 4}, {45, 7}, {48, 10}, {53, 13}};
    for (const Run& run : runs)
        if (line >= run.line && line < run.line + 3)
            return !flags.isRemoved(run.item + line - run.line);
    return true;
}

std::vector<std::string> LedgerRowNames(const ledger::SysOption& options) {
    std::vector<std::string> names;
    auto add = [&](std::string name) { names.push_back(std::move(name) + ","); };
    const auto attendance = ledger::DefaultItemCodes(SlipKind::Salary, ItemGroup::Attendance);
    for (std::size_t i = 0; i < std::size_t(kLedgerRowItems) && i < attendance.size(); ++i)
        add(shown(attendance[i], options));
    for (auto code : ledger::DefaultItemCodes(SlipKind::Salary, ItemGroup::Payment))
        add(shown(code, options));
    add("支給項目合計");
    for (auto code : ledger::DefaultItemCodes(SlipKind::Salary, ItemGroup::Deduction))
        if (code != ledger::kEmptyItemCode) add(shown(code, options));
    add("控除項目合計");
    add("社保算定合計");
    for (auto code : ledger::DefaultItemCodes(SlipKind::Salary, ItemGroup::Other))
        add(shown(code, options));
    add("差引支給額");
    return names;
}

std::string AddedItemCaption(int item, const ledger::SysOption& options) {
    const auto attendance = ledger::DefaultItemCodes(SlipKind::Salary, ItemGroup::Attendance);
    if (item < 1 || item > kLedgerRowItems || std::size_t(item) > attendance.size()) return {};
    return shown(attendance[std::size_t(item - 1)], options);
}

std::string RemovedItemCaption(int item, const ledger::SysOption& options) {
    if (item < 1 || item > kLedgerRowItems) return {};
    return options.freeLabels[std::size_t(item - 1)];
}

bool LedgerRowsAcceptable(const LedgerRowFlags& flags) {
    return countSet(flags.removed) >= countSet(flags.added);
}

}  // namespace reports
