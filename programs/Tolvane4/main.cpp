#include <memory>

#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/RestoreJournal.h"
#include "ledger/StaleFiles.h"
#include "ledger/Startup.h"
#include "ledger/ui/MainWindow.h"
#include "ledger/ui/MessageBoxSink.h"
#include "ledger/ui/PayrollWindows.h"
#include "ledger/ui/PeriodSelectionDialog.h"
#include "platform/Paths.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationTitle.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/QtTranslation.h"
#include "platform/ui/SingleInstance.h"
#include "platform/ui/TestHooks.h"
#include "reports/ui/ReportWindows.h"

int main(int argc, char** argv) {
    platform::ui::Application app(argc, argv);
    platform::ui::setApplicationTitle(QString::fromUtf8(ledger::kAppTitle.data()));
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
    platform::ui::SingleInstance instance(QStringLiteral("Tolvane4"),
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
    std::unique_ptr<ledger::ui::PayrollWindows> forms;
    // A settings file that cannot be read is reported; the program then ends.
    if (!platform::ui::guarded(
            nullptr, [&] { forms = std::make_unique<ledger::ui::PayrollWindows>(ledger); }))
        return 1;
    if (!forms->created) return 0;
    std::unique_ptr<reports::ui::ReportWindows> reportForms;
    if (!platform::ui::guarded(
            nullptr, [&] { reportForms = reports::ui::CreateReportWindows(ledger, *forms); }))
        return 1;

    ledger::ui::MainWindow* mainWindow = forms->fmMain.get();
    forms->fmSelData->acceptAtOnce = platform::ui::testhooks::acceptDialogs();
    instance.setWindow(mainWindow);
    platform::ui::testhooks::closeAfter(mainWindow, &ledger::ui::MainWindow::startSequenceFinished);
    mainWindow->show();
    return app.exec();
}
