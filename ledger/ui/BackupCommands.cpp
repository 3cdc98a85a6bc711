#include "ledger/ui/BackupCommands.h"

#include "ledger/Backup.h"
#include "ledger/MainLifecycle.h"
#include "ledger/ui/FolderChooser.h"
#include "ledger/ui/MessageBoxSink.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {

namespace {

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::filesystem::path chosenFolder(const FolderChooser& chooser) {
    return std::filesystem::path(chooser.FolderPath.toStdString());
}

}  // namespace

void DataBackupCommand(QWidget* parent, FolderChooser& chooser,
                       const std::filesystem::path& dataPath,
                       const std::filesystem::path& iniFile) {
    if (!chooser.choose(text(ledger::kBackupCaption), true)) return;
    MessageBoxSink messages(parent);
    ledger::DataBackup(dataPath, iniFile, chosenFolder(chooser), messages);
}

bool DataRestoreCommand(QWidget* parent, FolderChooser& chooser,
                        const std::filesystem::path& dataPath, const std::filesystem::path& iniFile,
                        ledger::MainLifecycle& lifecycle) {
    if (!platform::ui::MessageBox::confirm(parent, text(ledger::kRestoreQuestion))) return false;
    if (!chooser.choose(text(ledger::kRestoreCaption), false)) return false;
    MessageBoxSink messages(parent);
    if (!ledger::DataRestore(dataPath, iniFile, chosenFolder(chooser), messages)) return false;
    lifecycle.skipClosePrompts = true;
    return true;
}

}  // namespace ledger::ui
