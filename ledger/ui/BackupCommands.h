#pragma once
#include <QWidget>
#include <filesystem>

namespace ledger {
class MainLifecycle;
}

// The two commands of the period selection's menu "データの管理(&D)".
namespace ledger::ui {

class FolderChooser;

// "データのバックアップ(&B)": the folder is chosen in the chooser (with "ﾌｫﾙﾀﾞｰ作成"),
// then the data files and the settings file are copied into it and the folder is
// remembered. Every outcome is shown in a box.
void DataBackupCommand(QWidget* parent, FolderChooser& chooser,
                       const std::filesystem::path& dataPath, const std::filesystem::path& iniFile);

// "データの復元(&R)": asks first, then the folder is chosen (no "ﾌｫﾙﾀﾞｰ作成") and
// its files replace the current ones, all or none. True when the data were
// restored: the lifecycle's skip-close-prompts flag is then set and the caller
// must end the program (the period selection closes with Cancel, and the main
// window then closes without its questions and without writing [Window]).
bool DataRestoreCommand(QWidget* parent, FolderChooser& chooser,
                        const std::filesystem::path& dataPath, const std::filesystem::path& iniFile,
                        ledger::MainLifecycle& lifecycle);

}  // namespace ledger::ui
