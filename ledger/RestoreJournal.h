#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/Messages.h"

// A restore replaces many files, and a crash must never leave some old and some
// restored, or a name empty. Before its first rename the restore writes a journal
// beside the settings file naming every file it replaces, where the restored copy
// waits and where a copy of the old file was put aside. The next start of either
// program finishes the renames the journal lists, or, when the restore was
// already being undone, puts the old files back, before anything reads the data.
// Recovery trusts nothing of a journal it did not see written: it acts only on
// staging folders of its own naming that are real folders beside their files,
// and removes only files that are the restored copies it names.
namespace ledger {

inline constexpr std::string_view kRestoreCompleted =
    "前回の復元が途中で中断されていたため、復元を最後まで行いました。";
inline constexpr std::string_view kRestoreRolledBack =
    "前回の復元が途中で中断されていたため、復元前のデータに戻しました。";
inline constexpr std::string_view kRestoreRecoveryFailed =
    "前回中断された復元の後始末ができませんでした。データフォルダーを確認してください。";

// Called after each step of a restore that is on disk (each file staged, the
// journal written, each rename, the journal removed), so a test can end the
// process there.
using RestoreStepHook = std::function<void()>;

struct RestoreJournal {
    enum class Phase { Forward, Back };
    enum class Place { Data, Settings };
    struct File {
        Place place = Place::Data;
        std::string name;  // the file name in its folder
        bool hadOld = false;
        // The restored copy, so that an undo removes that copy and nothing else.
        std::uint64_t size = 0;
        std::uint64_t fingerprint = 0;
    };

    Phase phase = Phase::Forward;
    std::string dataStage;      // the staging folder's name in the data folder
    std::string settingsStage;  // and in the settings folder
    std::vector<File> files;

    std::string text() const;
    // Nothing for a journal that is damaged or cut short, or that names a
    // staging folder not of our own naming.
    static std::optional<RestoreJournal> parse(std::string_view text);

    // A staging folder's name: ".restore-" and the six characters mkdtemp chose.
    static bool isStageName(std::string_view name);
    // What identifies a restored copy's bytes.
    static std::uint64_t fingerprintOf(std::string_view bytes);
};

// Where the files of a restore live: the data folder and the settings file.
struct RestorePlaces {
    std::filesystem::path dataPath;
    std::filesystem::path iniFile;

    std::filesystem::path journal() const;
    std::filesystem::path folder(RestoreJournal::Place place) const;
    std::filesystem::path target(const RestoreJournal::File& f) const;
    // The restored copy and the old file put aside of the journal's file `i`. Named
    // by position, so that a file name of any allowed length can be staged.
    std::filesystem::path staged(const RestoreJournal& j, std::size_t i) const;
    std::filesystem::path aside(const RestoreJournal& j, std::size_t i) const;
    std::filesystem::path stage(const RestoreJournal& j, RestoreJournal::Place place) const;
};

// Writes the journal so that it is on disk before the call returns.
void WriteRestoreJournal(const RestorePlaces& places, const RestoreJournal& journal);

// Renames every waiting restored copy over its file. Repeatable after a crash.
void RollRestoreForward(const RestorePlaces& places, const RestoreJournal& journal,
                        const RestoreStepHook& step);
// Puts every old file back and removes the restored ones that had none; a file in
// such a place that is not the restored copy is left alone and the undo fails.
// Repeatable after a crash.
void RollRestoreBack(const RestorePlaces& places, const RestoreJournal& journal,
                     const RestoreStepHook& step);
// Removes the journal (the restore is then over) and its staging folders.
void FinishRestore(const RestorePlaces& places, const RestoreJournal& journal,
                   const RestoreStepHook& step);

enum class RestoreRecovery { NothingToDo, Completed, RolledBack, Failed };

// At start-up, before anything reads the data folder: finishes or undoes a
// restore that a crash interrupted, and removes the staging folders of one that
// never reached its journal. Holds the settings file's lock meanwhile. A journal
// that does not hold up (see RestoreJournal) fails with nothing touched.
RestoreRecovery RecoverUnfinishedRestore(const RestorePlaces& places);

// The same, telling the user what was done. False when the data folder could not
// be made whole: the program must not go on.
bool RecoverUnfinishedRestore(const RestorePlaces& places, MessageSink& messages);

}  // namespace ledger
