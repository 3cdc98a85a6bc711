#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/Messages.h"

namespace platform {
class IniFile;
}

// The start-up steps of the payroll program that need no window: proving that the
// settings folder can be written, the first-run migration from Tolvane3, the
// version text, and the window placement kept in [Window].
namespace ledger {

struct Ledger;

// The program's title: its main window's caption, before the open period's name.
inline constexpr std::string_view kAppTitle = "Pembrel Tolvane4";
inline constexpr std::string_view kSettingsNotWritable = "設定ファイルに書き込み出来ません。";
inline constexpr std::string_view kCannotStart = "プログラム起動不可[%d]";
inline constexpr std::string_view kProbeFileName = "Write.chk";
inline constexpr std::string_view kFolderNotOwn =
    "次のフォルダーは他のユーザーの物か、他のユーザーも書き込めるため使えません。";
inline constexpr std::string_view kSettingsTooLarge =
    "設定ファイルが大きすぎるため読み込めません。既定の設定で起動します。";
inline constexpr std::string_view kDataFolderNotCreated = "データ用フォルダーが作成できません。";
inline constexpr std::string_view kMigrated = "｢Pembrel Tolvane3｣のデータを移行しました。";
inline constexpr std::string_view kTablesMissing = "必要な表データファイルが足りません。";
inline constexpr std::string_view kExitQuestion = "プログラムを終了しますか？";

// True when no one may write the file: no write bit for owner, group or others.
// The permission bits stand in for the read-only attribute, so the answer is the
// same for every user, root included.
bool HasReadOnlyAttribute(const std::filesystem::path& file);

// Creates and deletes the probe file "Write.chk" in the folder; 0 on success,
// else the errno of the failure. Whatever else has the name (a pipe, a link) is
// refused without waiting or writing through it.
int ProbeWritable(const std::filesystem::path& folder);

// The messages for a failed probe with that errno: a folder that is missing,
// read-only or not ours to write also gets the "cannot write" text.
std::vector<std::string> SettingsFolderFailureMessages(int err);

// Creates the settings folder when missing and proves it writable; it and the
// data folder, when there, must be the user's own and closed to other accounts,
// and no folder on the way to them another account's to swap (walkFolderWay);
// while the data folder is still to be made, neither may the way to the previous
// version's data be. Every way is checked before anything is made.
// A settings file too large to read is reported; the start goes on with the
// defaults and leaves the file as it is. On failure the messages are shown and false returned: the
// program must end without a window.
bool CheckSettingsFolder(const std::filesystem::path& settingsDir,
                         const std::filesystem::path& iniFile, const std::filesystem::path& dataDir,
                         const std::filesystem::path& previousDir, Prompter& prompter);

// Reads the three table files of the folder into ledger.tables and returns how
// many were loaded. A file that is there but short or unusable is reported (and
// `unreadable` set, when given); a missing one is left to the check at the first
// activation.
int LoadTables(Ledger& ledger, const std::filesystem::path& folder, MessageSink& messages,
               bool* unreadable = nullptr);

// First run: copies every *.dat file of Tolvane3's data folder into the data
// folder and Tolvane3's settings file over ours, both replacing. A copy that fails
// is reported with its error; the "migrated" note comes only when the settings
// file and every data file were copied.
void MigrateOldData(const std::filesystem::path& previousDir, const std::filesystem::path& dataPath,
                    const std::filesystem::path& iniFile, Prompter& prompter);

// Sets the data folder and today's year file in the ledger, creates the data
// folder on the first run (and migrates, unless another account could have put
// the previous version's folders there: then nothing is created), and creates
// today's year file unless it exists. False when the program cannot go on; the reason was shown.
bool PrepareDataFolder(Ledger& ledger, const std::filesystem::path& dataPath,
                       const std::filesystem::path& previousDir,
                       const std::filesystem::path& iniFile, Prompter& prompter);

// The creation steps of the main window: the tables of programDir (their count
// goes to tablesLoaded), then PrepareDataFolder. A table file that is there but
// cannot be read ends the steps after its report, before anything is created or
// migrated: the window comes up with too few tables, and its first activation
// ends the program. False when the program must end without showing the window.
bool MainWindowCreateSteps(Ledger& ledger, const std::filesystem::path& programDir,
                           const std::filesystem::path& dataPath,
                           const std::filesystem::path& previousDir,
                           const std::filesystem::path& iniFile, Prompter& prompter,
                           int& tablesLoaded);

// The version text of a file version: its first, third and fifth characters,
// the first two joined by "." ("1.1.0.0" gives "1.10"); empty for no version.
std::string VersionText(std::string_view fileVersion);
// The version text of this build.
std::string ProgramVersionText();

// The original asked for one version of the other platform; no such system here.
inline bool IsWindows6x() {
    return false;
}

// The main window's placement as [Window] keeps it.
struct WindowPlacement {
    static constexpr int kMinWidth = 800;
    static constexpr int kMinHeight = 570;

    bool maximized = true;
    int x = 0;
    int y = 0;
    int width = 640;
    int height = 440;
    // The employee list's size; kept as stored until that list sets it.
    std::optional<int> membListWidth;
    std::optional<int> membListHeight;

    // The size the window takes: never below the minimum.
    int shownWidth() const { return width < kMinWidth ? kMinWidth : width; }
    int shownHeight() const { return height < kMinHeight ? kMinHeight : height; }
};

// Reads [Window]. No State means maximised, and so does "wsMaximized"; any other
// State places the window by the stored keys. A value that is not a number or
// lies far outside any screen takes its default.
WindowPlacement ReadWindowPlacement(const platform::IniFile& ini);

// Writes every [Window] key of the placement. Throws platform::IoError when the
// settings file cannot be written.
void WriteWindowPlacement(platform::IniFile& ini, const WindowPlacement& placement);

}  // namespace ledger
