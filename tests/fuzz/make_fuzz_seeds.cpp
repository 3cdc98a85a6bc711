// Writes each harness's seed corpus with the programs' own writers, so that the
// fuzzer starts from files as the programs really leave them.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

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

void yearFiles() {
    const ledger::FixedClock clock({2026, 6, 1, 9, 0, 0});
    for (int period : {1, 6, 13}) {
        ledger::Ledger l(clock);
        const fs::path file = seed("year_file", "period" + std::to_string(period) + ".dat");
        fs::remove(file);
        l.CurData = {file, "令和", 8, period};
        ledger::CreateDataFile(l, file);
        l.BasicInfo().CorpName.set("株式会社テスト");
        l.BasicInfo().PayDay = 25;
        for (int slot = 1; slot <= 3; ++slot) {
            auto& e = l.Employee(slot);
            e.Key.set("26010" + std::to_string(slot) + "_090000");
            e.Name.set("山田太郎");
            e.Kana.set("ﾔﾏﾀﾞﾀﾛｳ");
            e.Status = 1;
            e.PayForm = slot;
            l.block->PaymentTbl[slot - 1].Amounts[ledger::kPayBase] = 250000 * slot;
            l.block->AttendanceTbl[slot - 1].Values[ledger::kAttHoursWorked] = 160.5;
        }
        ledger::SavePeriod(l, file);
    }
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
    withholdingFiles();
    settingsFiles();
    tableFiles();
    postalCodes();
    templateAndLog();
    journals();
    return 0;
}
