// Writes each harness's seed corpus with the programs' own writers, so that the
// fuzzer starts from files as the programs really leave them.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>

#include "FuzzFile.h"
#include "ledger/EmployeeEdit.h"
#include "ledger/Era.h"
#include "ledger/ItemTables.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/RestoreJournal.h"
#include "ledger/Startup.h"
#include "ledger/SysLog.h"
#include "ledger/SysOption.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"
#include "withholding/WithholdingFile.h"
#include "withholding/YearEndOption.h"

namespace fs = std::filesystem;

namespace {

fs::path corpus;

fs::path seed(const std::string& harness, const std::string& name) {
    fs::create_directories(corpus / harness);
    return corpus / harness / name;
}

void copyWithPrefix(const fs::path& from, const fs::path& to, char prefix) {
    std::string bytes = platform::readFile(from);
    platform::writeFileAtomic(to, std::string(1, prefix) + bytes);
}

// A year file of three employees with the given periods saved, its December
// bonus paid on 12/10.
void writeYear(const fs::path& file, std::string_view era, int eraYear,
               std::initializer_list<int> periods) {
    const ledger::FixedClock clock({2026, 6, 1, 9, 0, 0});
    ledger::Ledger l(clock);
    fs::remove(file);
    for (int period : periods) {
        l.CurData = {file, std::string(era), eraYear, period};
        if (!fs::exists(file)) ledger::CreateDataFile(l, file);
        l.BasicInfo().CorpName.set("株式会社テスト");
        l.BasicInfo().PayDay = 25;
        l.BasicInfo().WorkDays = 20;
        l.BasicInfo().WorkHours = 160;
        if (period == 14) {
            l.FileHeader.BonusPayMonth[1] = 12;
            l.FileHeader.BonusPayDay[1] = 10;
        }
        for (int slot = 1; slot <= 3; ++slot) {
            auto& e = l.Employee(slot);
            e.Key.set("26010" + std::to_string(slot) + "_090000");
            e.Name.set("山田太郎");
            e.Kana.set("ﾔﾏﾀﾞﾀﾛｳ");
            e.Status = 1;
            e.PayForm = slot;
            e.TaxColumn = slot == 3 ? 1 : 0;
            auto& pay = l.block->PaymentTbl[slot - 1].Amounts;
            pay[ledger::kPayBase] = pay[ledger::kPayTaxableTotal] = 250000 * slot;
            auto& ded = l.block->DeductionTbl[slot - 1].Amounts;
            ded[ledger::kDedSocialInsTotal] = 36000 * slot;
            ded[ledger::kDedIncomeTax] = 5000 * slot;
            l.block->AttendanceTbl[slot - 1].Values[ledger::kAttHoursWorked] = 160.5;
        }
        ledger::SavePeriod(l, file);
    }
}

// The year file packed as the harnesses take it (fuzzing::unpack).
std::string yearBytes(std::string_view era, int eraYear, std::initializer_list<int> periods) {
    const fs::path file = corpus / "work.dat";
    writeYear(file, era, eraYear, periods);
    std::string bytes = platform::readFile(file);
    fs::remove(file);
    return fuzzing::pack(bytes);
}

std::string withholdingBytes(bool oldLayout) {
    withholding::WithholdingData d;
    for (int slot = 1; slot <= 3; ++slot) {
        d.Record(slot).PaidAmount = d.OldRecord(slot).PaidAmount = 4200000;
        d.Record(slot).SocialInsurance = d.OldRecord(slot).SocialInsurance = 600000;
        d.Record(slot).ManualFlags[withholding::kManualPaidAmount] = 1;
        d.OldRecord(slot).Under16Count = 1;
    }
    const fs::path file = corpus / (oldLayout ? "源泉徴収(平成20年).dat" : "源泉徴収(令和8年).dat");
    withholding::SaveWithholdingFile(file, d);
    std::string bytes = platform::readFile(file);
    fs::remove(file);
    return bytes;
}

// One input of the readers that take several files (fuzzing::parts).
void writeParts(const fs::path& file, std::initializer_list<std::string_view> parts) {
    std::string bytes;
    for (std::string_view p : parts) {
        if (p.data() != parts.begin()->data()) bytes += fuzzing::kPartMarker;
        bytes += p;
    }
    platform::writeFileAtomic(file, bytes);
}

void yearFiles() {
    for (int period : {1, 6, 13})
        platform::writeFileAtomic(seed("year_file", "period" + std::to_string(period) + ".dat"),
                                  yearBytes("令和", 8, {period}));
}

void yearEnd() {
    const std::string year = yearBytes("令和", 8, {1, 6, 12, 14});
    const std::string last = yearBytes("令和", 7, {12});
    const std::string heiseiLast = yearBytes("平成", 27, {12});
    const std::string now = withholdingBytes(false), old = withholdingBytes(true);
    const std::string nowPacked = fuzzing::pack(now);
    writeParts(seed("year_end_load", "carried"),
               {std::string("\0\1", 2), year, last, "", nowPacked});
    writeParts(seed("year_end_load", "saved"), {std::string("\0\2", 2), year, last, nowPacked, ""});
    writeParts(seed("year_end_load", "fresh"), {std::string("\0\3", 2), year, "", "", ""});
    writeParts(seed("year_end_load", "converted"),
               {std::string("\2\1", 2), year, heiseiLast, "", fuzzing::pack(old)});
    // Both layouts read the record from the same bytes; 令和8 and 平成20.
    platform::writeFileAtomic(seed("year_end_tax", "reiwa8"),
                              std::string("\x0f\x01", 2) + now.substr(300, 1500));
    platform::writeFileAtomic(seed("year_end_tax", "heisei20"),
                              std::string("\x26\x01", 2) + old.substr(300, 500));
}

void periodFiles() {
    const std::string year = yearBytes("令和", 8, {1, 4, 5, 12, 14});
    const std::string last = yearBytes("令和", 7, {11, 12});
    writeParts(seed("period_selection", "saved"), {"\x04", year, "[Option]\r\nDefJikanD=8.0\r\n"});
    writeParts(seed("period_selection", "new"), {"\x05", year, ""});
    writeParts(seed("carry_over", "january"), {std::string(1, '\0'), year, last});
    writeParts(seed("carry_over", "month"), {"\x05", year, ""});
    writeParts(seed("carry_over", "bonus"), {"\x0c", year, ""});
    writeParts(seed("carry_over", "reference"), {"\x0a", yearBytes("令和", 8, {12, 14}), last});
    writeParts(seed("report_readers", "salary"), {std::string("\x04\x00\x19", 3), year});
    writeParts(seed("report_readers", "bonus"), {"\x0d\x01\x0a", year});
    writeParts(seed("report_readers", "december"), {"\x0b\x02\x1e", year});
}

// An entry of a backup folder as the restore harness reads it.
std::string entry(std::string_view name, std::string_view bytes = {}) {
    return std::string(name) + '\0' + std::string(bytes);
}

void backupFolders() {
    writeParts(seed("restore_folder", "backup"),
               {entry("令和8年給与･賞与.dat", yearBytes("令和", 8, {1})),
                entry("Tolvane.ini", "[Option]\r\nBackupPath=/tmp\r\n"),
                entry("社員情報.dat", "template"), entry("源泉徴収(令和8年).dat", "x")});
    writeParts(seed("restore_folder", "odd"),
               {entry("Tolvane.ini"), entry("folder.dat/"), entry(".restore-a1b2c3/")});
}

void withholdingFiles() {
    withholding::WithholdingData d;
    d.Record(1).PaidAmount = 4200000;
    d.OldRecord(1).PaidAmount = 3100000;
    // The layout follows the year in the name; the harness tells it by the size.
    for (const char* name : {"源泉徴収(令和8年).dat", "源泉徴収(平成20年).dat"}) {
        const fs::path work = corpus / name;
        withholding::SaveWithholdingFile(work, d);
        fs::rename(work, seed("withholding_file", name));
    }
}

void settingsFiles() {
    const fs::path file = seed("settings_file", "Tolvane.ini");
    fs::remove(file);
    platform::IniFile ini(file);
    ledger::SysOption option;
    ledger::SaveSysOption(ini, option, 8);
    for (auto kind : {ledger::SlipKind::Salary, ledger::SlipKind::Bonus})
        ledger::SaveItemTables(ini, kind, ledger::ItemTables(), option);
    ledger::WriteWindowPlacement(ini, ledger::WindowPlacement{});
    withholding::SaveYearEndOption(ini, withholding::YearEndOption{});
    ini.writeInteger("Option", "PrAdjustH", -15);
    ini.writeQuoted("Option", "Syubetu", " 給与･賞与 ");
}

void tableFiles() {
    const fs::path dir = TOLVANE_TABLES_DIR;
    copyWithPrefix(dir / "税額表(給与).dat", seed("tax_tables", "salary"), 0);
    copyWithPrefix(dir / "税額表(賞与).dat", seed("tax_tables", "bonus"), 1);
    copyWithPrefix(dir / "健康保険料額表.dat", seed("tax_tables", "grades"), 2);
    platform::writeFileAtomic(seed("health_rates", "rates.dat"),
                              platform::readFile(dir / "健康保険料率.dat"));
}

void postalCodes() {
    std::string text;
    for (const char* line : {"1000001 東京都千代田区千代田", "0600000 北海道札幌市中央区",
                             "9071801 沖縄県八重山郡与那国町"})
        text += sjis::fromUtf8(line) + "\r\n";
    platform::writeFileAtomic(seed("postal_codes", "YubinNo.dat"), text);
}

void templateAndLog() {
    const fs::path work = corpus / "work";
    fs::create_directories(work);
    ledger::TEmployeeRec rec{};
    rec.Kind = 2;
    rec.PayForm = 1;
    rec.Status = 1;
    rec.Dept.set("営業部");
    ledger::SaveTemplate(work, rec);
    fs::rename(work / ledger::kEmployeeTemplateName, seed("employee_template", "template.dat"));

    const ledger::FixedClock clock({2026, 6, 1, 9, 30, 0});
    for (int code = 0; code < 6; ++code) ledger::WriteSysLog(work, clock, code);
    fs::rename(ledger::SysLogFile(work), seed("event_log", "log.dat"));
    fs::remove_all(work);
}

void journals() {
    ledger::RestoreJournal j;
    j.dataStage = ".restore-a1b2c3";
    j.settingsStage = ".restore-d4e5f6";
    j.files = {{ledger::RestoreJournal::Place::Data, "令和8年給与･賞与.dat", true},
               {ledger::RestoreJournal::Place::Data, "社員情報.dat", false},
               {ledger::RestoreJournal::Place::Settings, "Tolvane.ini", true}};
    platform::writeFileAtomic(seed("restore_journal", "forward"), j.text());
    j.phase = ledger::RestoreJournal::Phase::Back;
    platform::writeFileAtomic(seed("restore_journal", "back"), j.text());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <corpus folder>\n");
        return 2;
    }
    corpus = argv[1];
    fs::create_directories(corpus);
    yearFiles();
    yearEnd();
    periodFiles();
    backupFolders();
    withholdingFiles();
    settingsFiles();
    tableFiles();
    postalCodes();
    templateAndLog();
    journals();
    return 0;
}
