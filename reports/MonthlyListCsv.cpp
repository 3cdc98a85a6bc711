#include "reports/MonthlyListCsv.h"

#include "ledger/Common.h"
#include "platform/Files.h"
#include "platform/Sjis.h"
#include "reports/CsvField.h"

namespace reports {

std::string MonthlyCsvTitle(const ledger::Ledger& l, int period) {
    std::string title = Fmt("%s%d年･", l.CurData.Era.c_str(), l.CurData.Year);
    switch (period) {
        case 13:
            return title + "夏期賞与";
        case 14:
            return title + "冬季賞与";
        case 15:
            return title + l.sysOption.tokuSyoyo;
        default:
            return Fmt("%s%d月分給与", title.c_str(), period);
    }
}

std::filesystem::path MonthlyCsvDefaultPath(const ledger::Ledger& l, int period,
                                            const std::filesystem::path& settingsDir) {
    std::string name = MonthlyCsvTitle(l, period) + "一覧.csv";
    for (char& ch : name)
        if (ch == '/' || (static_cast<unsigned char>(ch) < 0x20)) ch = '_';
    return settingsDir / name;
}

std::string MonthlyCsvText(const ledger::Ledger& l, const LedgerRowFlags& flags,
                           MonthlyGrouping grouping) {
    const std::string eol = "\r\n";
    std::string out = "氏名,";
    const std::vector<std::string> names = LedgerRowNames(l.sysOption);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (LedgerRowVisible(flags, int(i) + 2)) out += CsvNameField(names[i]);
    out += eol;

    const std::vector<MonthlyRow> rows = MonthlyRows(flags, l.sysOption);
    std::vector<std::string> groups;
    if (grouping == MonthlyGrouping::Normal)
        groups.emplace_back();
    else
        groups = MonthlyGroupNames(l, grouping);

    for (const std::string& group : groups) {
        std::vector<std::int64_t> totals(rows.size(), 0);
        bool any = false;
        for (int slot = 1; slot <= ledger::kSlots && !l.Employee(slot).Key.empty(); ++slot) {
            if (!ledger::IsActive(l, slot)) continue;
            if (grouping != MonthlyGrouping::Normal && MonthlyGroupOf(l, slot, grouping) != group)
                continue;
            any = true;
            out += CsvField(l.Employee(slot).Name.str());
            for (std::size_t k = 0; k < rows.size(); ++k) {
                const MonthlyRow& row = rows[k];
                out += ',';
                if (row.kind == MonthlyRow::Attendance) {
                    out += FormatAttendance(
                        row.caption,
                        AttendanceByLabel(row.caption, l.Attendance(slot), l.sysOption),
                        l.sysOption.timeStyle);
                } else {
                    std::int64_t v = MonthlyAmount(row, l, slot, OtherSource::Payment);
                    totals[k] += v;
                    out += std::to_string(v);
                }
            }
            out += eol;
        }
        if (!any) continue;
        out += grouping == MonthlyGrouping::Normal ? std::string("合計")
                                                   : CsvField("合計[" + group + "]");
        for (std::size_t k = 0; k < rows.size(); ++k) {
            out += ',';
            if (rows[k].kind != MonthlyRow::Attendance) out += std::to_string(totals[k]);
        }
        out += eol;
    }
    return out;
}

void WriteMonthlyCsv(const std::filesystem::path& file, const ledger::Ledger& l,
                     const LedgerRowFlags& flags, MonthlyGrouping grouping) {
    platform::writeFileAtomic(file, sjis::fromUtf8(MonthlyCsvText(l, flags, grouping)));
}

bool ExportMonthlyCsv(const ledger::Ledger& l, int period, MonthlyGrouping grouping,
                      const LedgerRowFlags& flags, const std::filesystem::path& settingsDir,
                      CsvExportPrompts& prompts) {
    std::optional<std::filesystem::path> file =
        prompts.chooseFile(MonthlyCsvDefaultPath(l, period, settingsDir));
    if (!file) return false;
    std::error_code ec;
    if (std::filesystem::exists(*file, ec) &&
        !prompts.confirm(std::string(kCsvOverwriteQuestion) + file->string()))
        return false;
    WriteMonthlyCsv(*file, l, flags, grouping);
    prompts.inform(std::string(kMonthlyCsvDone));
    return true;
}

}  // namespace reports
