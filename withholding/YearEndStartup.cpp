#include "withholding/YearEndStartup.h"

#include <system_error>

#include "ledger/YearFileName.h"
#include "platform/Files.h"
#include "platform/IniFile.h"

namespace withholding {

bool HasPayDataFiles(const std::filesystem::path& dataPath) {
    std::error_code ec;
    if (!std::filesystem::is_directory(dataPath, ec)) return false;
    try {
        for (const auto& f : platform::listByPattern(dataPath, "*.dat"))
            if (ChosenPayDataYear(f)) return true;
    } catch (const std::exception&) {
        // A folder that cannot be listed offers nothing to open.
    }
    return false;
}

OpenFilter PayDataFilter(const ledger::Clock& clock) {
    OpenFilter f;
    std::string listed;
    for (std::optional<std::string> era = ledger::eraOf(clock.now()).era; era;
         era = ledger::previousEra(*era)) {
        f.patterns.push_back(*era + "*" + std::string(ledger::kYearFileSuffix));
        listed += (listed.empty() ? "" : " ") + f.patterns.back();
    }
    f.label = "給与･賞与ﾃﾞｰﾀﾌｧｲﾙ(" + listed + ")";
    return f;
}

std::optional<ledger::EraYear> ChosenPayDataYear(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    auto year = ledger::ParseYearFileName(name);
    if (!year || year->era.empty() || year->year < 1) return std::nullopt;
    // The whole name must be the one the payroll program gives that year.
    if (ledger::YearFileName(year->era, year->year) != name) return std::nullopt;
    return year;
}

std::string YearTitle(std::string_view era, int year) {
    return std::string(era) + std::to_string(year) + "年分";
}

std::string StatusBarText(std::string_view corpName, std::string_view era, int year) {
    return std::string(corpName) + " " + YearTitle(era, year);
}

MainFormPlacement ReadMainFormPlacement(const platform::IniFile& ini) {
    MainFormPlacement p;
    // Far beyond any screen: such a value was damaged, not chosen.
    constexpr int kLimit = 100000;
    auto value = [&](const char* key, int def, int low) {
        const int v = ini.readInteger("Window", key, def);
        return v < low || v > kLimit ? def : v;
    };
    p.width = value("MainFormSX", p.width, 1);
    p.height = value("MainFormSY", p.height, 1);
    p.left = value("MainFormPX", p.left, -kLimit);
    p.top = value("MainFormPY", p.top, -kLimit);
    return p;
}

void WriteMainFormPlacement(platform::IniFile& ini, const MainFormPlacement& p) {
    ini.writeInteger("Window", "MainFormSX", p.width);
    ini.writeInteger("Window", "MainFormSY", p.height);
    ini.writeInteger("Window", "MainFormPX", p.left);
    ini.writeInteger("Window", "MainFormPY", p.top);
}

bool ReadPreviewButtons(const platform::IniFile& ini) {
    return ini.readBool("Option", "PreViewBtn", true);
}

void WritePreviewButtons(platform::IniFile& ini, bool shown) {
    ini.writeBool("Option", "PreViewBtn", shown);
}

}  // namespace withholding
