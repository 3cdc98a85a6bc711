// The shared settings file, through every reader of both programs' keys.
#include <exception>

#include "FuzzFile.h"
#include "ledger/ItemTables.h"
#include "ledger/Password.h"
#include "ledger/Startup.h"
#include "ledger/SysOption.h"
#include "platform/IniFile.h"
#include "reports/PrintInfo.h"
#include "withholding/YearEndOption.h"
#include "withholding/YearEndStartup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzing::writeInput("Tolvane.ini", data, size);
    const platform::IniFile ini(file);
    try {
        ledger::SysOption option;
        ledger::LoadSysOption(ini, option);
        (void)ledger::ReadWindowPlacement(ini);
        (void)ledger::ReadPassword(ini);
        for (auto kind : {ledger::SlipKind::Salary, ledger::SlipKind::Bonus}) {
            ledger::ItemTables tables;
            ledger::LoadItemTables(ini, kind, tables, option);
            (void)ledger::BuildPrnLayout(tables, kind);
        }
        (void)reports::ReadPrintInfo(ini);
        (void)reports::ReadPrintOptions(ini);
        (void)withholding::LoadYearEndOption(ini);
        (void)withholding::ReadMainFormPlacement(ini);
        for (const auto& key : ini.readSectionKeys("Option"))
            (void)ini.readInteger("Option", key, 0);
    } catch (const std::exception&) {
    }
    return 0;
}
