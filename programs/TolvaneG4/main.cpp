#include <memory>

#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/RestoreJournal.h"
#include "ledger/StaleFiles.h"
#include "ledger/Startup.h"
#include "ledger/ui/MessageBoxSink.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationTitle.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/QtTranslation.h"
#include "platform/ui/SingleInstance.h"
#include "platform/ui/TestHooks.h"
#include "withholding/WithholdingFile.h"
#include "withholding/YearEndOption.h"
#include "withholding/YearEndStartup.h"
#include "withholding/ui/CompanyInfoDialog.h"
#include "withholding/ui/MainWindow.h"
#include "withholding/ui/RecordEditors.h"
#include "withholding/ui/YearEndOptionsDialog.h"
#include "withholding/ui/YearEndPrintDialog.h"

int main(int argc, char** argv) {
    platform::ui::Application app(argc, argv);
    const QString title = QString::fromUtf8(withholding::kAppTitle.data());
    platform::ui::setApplicationTitle(title);
    const platform::ui::QtTranslation qtTexts;
    platform::ui::installFontSubstitutions();
    platform::ui::testhooks::install();

    const auto settings = platform::paths::settingsDir();
    ledger::ui::MessageBoxSink prompter;
    // The single-instance lock lives in the settings folder, so it must be there
    // and be the user's own first.
    if (!ledger::CheckSettingsFolder(settings, platform::paths::iniFile(),
                                     platform::paths::dataDir(),
                                     platform::paths::previousVersionDir(), prompter))
        return 0;
    platform::ui::SingleInstance instance(QStringLiteral("TolvaneG4"),
                                          QString::fromStdString(settings.string()));
    if (!instance.startOrExplain()) return 0;

    // Before anything reads the data: a restore a crash cut short is finished or
    // undone, and what dead saves left behind goes.
    if (!ledger::RecoverUnfinishedRestore({platform::paths::dataDir(), platform::paths::iniFile()},
                                          prompter))
        return 1;
    ledger::RemoveStaleFiles(platform::paths::dataDir(), platform::paths::iniFile());

    ledger::SystemClock clock;
    ledger::Ledger ledger(clock);
    withholding::WithholdingData data;
    withholding::YearEndOption option;
    std::unique_ptr<withholding::ui::MainWindow> mainWindow;
    if (!platform::ui::guarded(nullptr, [&] {
            mainWindow = std::make_unique<withholding::ui::MainWindow>(ledger, data,
                                                                       platform::paths::iniFile());
        }))
        return 1;
    auto* corpInfo = new withholding::ui::CompanyInfoDialog(ledger, data, mainWindow.get());
    mainWindow->setCorpInfo(corpInfo);
    auto* fmOption = new withholding::ui::YearEndOptionsDialog(
        option, ledger, platform::paths::iniFile(), mainWindow->DataPath, mainWindow.get());
    withholding::ui::YearEndDialogs dialogs;
    dialogs.showOptions = [&mainWindow, fmOption] { mainWindow->runModal(*fmOption); };
    auto printForms =
        std::make_unique<withholding::ui::YearEndPrintWindows>(*mainWindow, ledger, data, option);
    dialogs.print = printForms->printCommand();
    dialogs.editRecord = withholding::ui::CreateRecordEditors(*mainWindow, ledger, data, option);
    mainWindow->setDialogs(dialogs);

    if (platform::ui::testhooks::acceptDialogs()) {
        // The newest pay-data file of the data folder, without the open dialog.
        const auto dataPath = mainWindow->DataPath;
        mainWindow->chooseFile = [dataPath]() -> std::optional<std::filesystem::path> {
            std::optional<std::filesystem::path> chosen;
            for (const auto& f : platform::listByPattern(dataPath, "*.dat"))
                if (withholding::ChosenPayDataYear(f)) chosen = f;
            return chosen;
        };
    }
    instance.setWindow(mainWindow.get());
    platform::ui::testhooks::closeAfter(mainWindow.get(),
                                        &withholding::ui::MainWindow::startSequenceFinished);
    mainWindow->show();
    return app.exec();
}
