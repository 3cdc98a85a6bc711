#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/Messages.h"
#include "ledger/RestoreJournal.h"

namespace platform {
class Folder;
class IniFile;
}  // namespace platform

// Backing up the data folder's files and the settings file into a folder the user
// chose, and restoring them from such a folder. The year-end program's
// withholding files never travel either way; the postal-code file is not backed
// up but is restored when a backup holds one.
namespace ledger {

inline constexpr std::string_view kBackupCaption = "データファイルのバックアップ場所を指定";
inline constexpr std::string_view kRestoreCaption = "復元するデータファイルの場所を指定";
inline constexpr std::string_view kBackupFailed =
    "容量不足､書き込み不可等のエラーにより中断しました。";
inline constexpr std::string_view kBackupDone = "指定場所にバックアップしました。";
inline constexpr std::string_view kRestoreQuestion =
    "復元を行うと現在の設定内容とデータは上書きされます。";
inline constexpr std::string_view kRestoreNoData = "該当するデータが存在しないので続行できません。";
inline constexpr std::string_view kRestoreFailed =
    "ファイルが存在しない等のエラーにより中断しました。";
inline constexpr std::string_view kRestoreSkipped =
    "次のファイルは通常のファイルではないため復元しませんでした。";
inline constexpr std::string_view kRestoreDone =
    "指定された場所のデータで復元しました。\r復元を有効にする為、プログラムを終了します。";

// [Option] BackupPath: the folder of the last successful backup.
inline constexpr const char* kBackupPathKey = "BackupPath";

// A withholding file of the year-end program: its name begins with "源泉徴収".
bool IsWithholdingFileName(const std::string& name);

// The data files a backup copies: every *.dat of the data folder but the
// withholding files and the postal-code file "YubinNo.dat" (any case).
std::vector<std::filesystem::path> BackupSourceFiles(const std::filesystem::path& dataPath);
// The files a restore copies from a backup folder: every *.dat but the
// withholding files, when it is a regular file. A backup medium may hold
// anything: a symbolic link (to another account's or another folder's file), a
// pipe or a folder is skipped, never followed, and named in `skipped`.
struct RestoreSources {
    std::vector<std::filesystem::path> files;
    std::vector<std::string> skipped;
};
RestoreSources ListRestoreSources(const platform::Folder& folder);
RestoreSources ListRestoreSources(const std::filesystem::path& folder);
std::vector<std::filesystem::path> RestoreSourceFiles(const std::filesystem::path& folder);

// Whether the folder holds the settings file a restore needs: a regular file of
// the settings file's name, not a link to one.
bool HoldsSettingsFile(const std::filesystem::path& folder, const std::filesystem::path& iniFile);
bool HoldsSettingsFile(const platform::Folder& folder, const std::filesystem::path& iniFile);

// The remembered backup folder, or `fallback` when none is stored.
std::string ReadBackupPath(const platform::IniFile& ini, const std::string& fallback);

// Copies the data files and then the settings file into the folder, each
// replacing a file of that name. The folder is opened once and every copy made
// in the folder so opened, whatever is done to its path meanwhile. The first
// failed copy stops it and false is returned, with the file that could not be
// read or written and the cause in `failure`; what was copied before stays (each
// file is whole: old or new). `afterCopy` runs after each copy, for tests.
bool BackupData(const std::filesystem::path& dataPath, const std::filesystem::path& iniFile,
                const std::filesystem::path& folder, std::string* failure = nullptr,
                const std::function<void()>& afterCopy = {});

// The backup command after the folder was chosen: copies, remembers the folder in
// [Option] BackupPath on success, and reports the outcome (a failure with the file
// and its cause). True on success.
bool DataBackup(const std::filesystem::path& dataPath, const std::filesystem::path& iniFile,
                const std::filesystem::path& folder, MessageSink& messages);

enum class RestoreResult { Restored, NoSettingsFile, Failed };

// Brings the backup folder's files back: the data files into the data folder and
// the folder's settings file over the settings file. The backup folder is opened
// once and every file read from the folder so opened. Every file is first copied
// beside its target and only when all copies succeeded do they replace the
// current files, so a failure leaves the data folder and the settings file as
// they were; nothing is copied when the folder holds no settings file. A crash
// during the replacements is finished at the next start (RestoreJournal.h).
// The names of the folder's entries that were skipped go to `skipped`.
RestoreResult RestoreData(const std::filesystem::path& dataPath,
                          const std::filesystem::path& iniFile, const std::filesystem::path& folder,
                          const RestoreStepHook& step = {},
                          std::vector<std::string>* skipped = nullptr);

// The restore command after the question and the folder choice: restores and
// reports the outcome, with the entries it skipped. True when the data were
// restored and the program must end.
bool DataRestore(const std::filesystem::path& dataPath, const std::filesystem::path& iniFile,
                 const std::filesystem::path& folder, MessageSink& messages);

}  // namespace ledger
