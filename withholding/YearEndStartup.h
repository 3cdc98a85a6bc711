#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/Era.h"

namespace platform {
class IniFile;
}

// The start-up of the year-end program up to the loading of a year, free of any
// window: which pay-data file may be opened and what its name tells.
namespace withholding {

inline constexpr std::string_view kAppTitle = "Pembrel Tolvane4･Ostrevin";
// The name the about box paints.
inline constexpr std::string_view kProgramName = "Ostrevin";
inline constexpr std::string_view kNoPayData = "給与･賞与データファイルが無いので起動できません。";
inline constexpr std::string_view kNoFileChosen =
    "給与･賞与データファイルを選択しないと起動できません。";
inline constexpr std::string_view kNotPayData = "選択ファイルは給与･賞与データでは有りません。";
inline constexpr std::string_view kDecemberMissing = "12月分の給与が入力されていません。";
inline constexpr std::string_view kSetUpSettings = "基本設定の各項目を設定して下さい。";
inline constexpr std::string_view kNoLineSelected = "処理の対象者が選択されていません。";
inline constexpr std::string_view kNoLineChecked =
    "印刷対象者が選択されていません。\r(No欄のチェックボックスをチェックして選択します)";

// Whether the data folder holds a pay-data file the program could open. A
// missing folder, or one without any "…年給与･賞与.dat", cannot start the program.
bool HasPayDataFiles(const std::filesystem::path& dataPath);

// The open dialog's filter: the pay-data files of every era the program knows,
// today's era first, so a year of an earlier era is offered as well.
struct OpenFilter {
    // "給与･賞与ﾃﾞｰﾀﾌｧｲﾙ(令和*年給与･賞与.dat 平成*年給与･賞与.dat …)"
    std::string label;
    // "令和*年給与･賞与.dat", "平成*年給与･賞与.dat", …
    std::vector<std::string> patterns;
};
OpenFilter PayDataFilter(const ledger::Clock& clock);

// The era and era year of a chosen pay-data file, or nothing when its name (the
// folder aside) is not era name + era year + "年給与･賞与.dat". Years of one or
// two digits are read alike.
std::optional<ledger::EraYear> ChosenPayDataYear(const std::filesystem::path& file);

// "令和8年分": the year title of the status bar and the forms.
std::string YearTitle(std::string_view era, int year);
// The status bar: company name and year title.
std::string StatusBarText(std::string_view corpName, std::string_view era, int year);

// The main window's size and place in [Window] (MainFormSX/SY/PX/PY). Left
// and top both 0 mean centred on the screen.
struct MainFormPlacement {
    static constexpr int kDesignWidth = 656;
    static constexpr int kDesignHeight = 480;
    int width = kDesignWidth;
    int height = kDesignHeight;
    int left = 0;
    int top = 0;
    bool centred() const { return left == 0 && top == 0; }
};
MainFormPlacement ReadMainFormPlacement(const platform::IniFile& ini);
// Throws platform::IoError when the settings file cannot be written.
void WriteMainFormPlacement(platform::IniFile& ini, const MainFormPlacement& p);

// [Option] PreViewBtn: whether the print preview shows its tool bar (default on).
bool ReadPreviewButtons(const platform::IniFile& ini);
void WritePreviewButtons(platform::IniFile& ini, bool shown);

}  // namespace withholding
