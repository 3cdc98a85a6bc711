#include "reports/LedgerCsv.h"

#include "ledger/ItemLabel.h"
#include "ledger/ItemTables.h"
#include "ledger/NumberText.h"
#include "platform/Files.h"
#include "platform/Sjis.h"
#include "reports/CsvField.h"
#include "reports/ListHead.h"

namespace reports {
namespace {

std::string trimBlanks(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return std::string(s);
}

constexpr int kFirstMoneyLine = 17;
constexpr int kLines = 56;

}  // namespace

std::filesystem::path LedgerCsvDefaultName(const std::filesystem::path& settingsFolder) {
    return settingsFolder / "給与台帳.csv";
}

std::string SafeFileNamePart(std::string_view utf8) {
    std::string out(utf8);
    for (char& ch : out)
        if (ch == '/' || static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ch = '_';
    return out;
}

std::filesystem::path LedgerCsvFileName(const std::filesystem::path& chosen,
                                        const ledger::Ledger& l, int slot) {
    std::string name = trimBlanks(l.Employee(slot).Name.bytes());
    name = trimBlanks(sjis::cutBytes(name, 16));
    std::string file =
        Fmt("%3d", slot) + SafeFileNamePart(sjis::toUtf8(name)) + "_" + chosen.filename().string();
    return chosen.parent_path() / file;
}

std::string LedgerCsvBytes(const ledger::Ledger& l, const LedgerRowFlags& flags,
                           const LedgerYear& year) {
    const ledger::SysOption& opt = l.sysOption;
    std::vector<std::string> lines(kLines + 1);  // [1..56]

    lines[1] = ",";
    for (const auto& title : LedgerPeriodCaptions(opt)) lines[1] += CsvField(title) + ",";
    lines[1] += "合計";

    const std::vector<std::string> names = LedgerRowNames(opt);
    for (int line = 2; line <= kLines && std::size_t(line - 2) < names.size(); ++line)
        lines[std::size_t(line)] = CsvNameField(names[std::size_t(line - 2)]);

    // Attendance lines 2-16: the standard attendance item n at line n + 2.
    auto codes = ledger::DefaultItemCodes(ledger::SlipKind::Salary, ledger::ItemGroup::Attendance);
    for (int n = 0; n < kLedgerRowItems; ++n) {
        if (!flags.isAdded(n + 1)) continue;
        std::string label = ledger::ItemLabel(codes[std::size_t(n)], opt);
        if (!label.empty()) label = label.substr(1);
        std::string& line = lines[std::size_t(n + 2)];
        for (int p = 1; p <= ledger::kPeriods; ++p) {
            const std::size_t pi = std::size_t(p - 1);
            if (year.saved[pi] && p < ledger::kFirstBonus) {
                double v = LedgerAttendanceValue(label, opt, year.attendance[pi]);
                line += LedgerAttendanceText(label, v, opt.timeStyle);
            }
            line += ",";
        }
    }

    // Money lines 17-56, with their totals.
    const auto& rows = LedgerMoneyRows();
    for (int i = 0; i < kLedgerMoneyRows; ++i) {
        std::string& line = lines[std::size_t(kFirstMoneyLine + i)];
        std::int64_t sum = 0;
        for (int p = 1; p <= ledger::kPeriods; ++p) {
            const std::size_t pi = std::size_t(p - 1);
            std::int64_t v =
                LedgerMoneyValue(rows[std::size_t(i)], year.payment[pi], year.deduction[pi]);
            sum += v;
            line += std::to_string(v) + ",";
        }
        line += std::to_string(sum) + ",";
    }

    std::string text;
    for (int line = 1; line <= kLines; ++line)
        if (LedgerRowVisible(flags, line)) text += lines[std::size_t(line)] + "\r\n";
    return sjis::fromUtf8(text);
}

bool LedgerCsvExport(const ledger::Ledger& l, const LedgerRowFlags& flags,
                     const std::vector<int>& slots, const std::filesystem::path& chosen,
                     ledger::Prompter& user, const ledger::SavedBlockReader& reader) {
    for (int slot : slots) {
        if (slot < 1 || slot > ledger::kSlots) continue;
        const std::filesystem::path file = LedgerCsvFileName(chosen, l, slot);
        std::error_code ec;
        if (std::filesystem::exists(file, ec) &&
            !user.confirm(std::string(kCsvOverwriteQuestion) + file.string()))
            return false;
        LedgerYear year = ReadLedgerYear(reader, l.CurData.FileName, l.Employee(slot).Key);
        platform::writeFileAtomic(file, LedgerCsvBytes(l, flags, year));
    }
    user.information(std::string(kLedgerCsvDone));
    return true;
}

}  // namespace reports
