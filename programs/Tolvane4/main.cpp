#include <QFile>
#include <QTimer>
#include <memory>

#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/Startup.h"
#include "ledger/ui/Main.h"
#include "ledger/ui/MessageBoxSink.h"
#include "ledger/ui/SelData.h"
#include "ledger/ui/Tolvane4Forms.h"
#include "platform/Paths.h"
#include "platform/ui/ErrorBoundary.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/SingleInstance.h"
#include "reports/ui/ReportForms.h"

namespace {
using platform::ui::Answer;
using platform::ui::Buttons;
using platform::ui::MessageBox;

// Test hooks, so that the program runs without a person:
// TOLVANE_TEST_MESSAGES=<file>  every message box writes its text as one line to
//                               the file and is answered with OK or Yes;
// TOLVANE_TEST_QUIT_AFTER_START=1  the program closes once its start sequence ran;
// TOLVANE_TEST_ACCEPT_DIALOGS=1  the period selection takes its default (today's
//                                month of today's year file) without showing.
void installTestHooks() {
    const QString log = qEnvironmentVariable("TOLVANE_TEST_MESSAGES");
    if (log.isEmpty()) return;
    MessageBox::setResponder([log](const platform::ui::MessageRequest& m) {
        QFile f(log);
        if (f.open(QIODevice::Append)) f.write(m.text.toUtf8() + '\n');
        return m.buttons == Buttons::Ok || m.buttons == Buttons::OkCancel ? Answer::Ok
                                                                          : Answer::Yes;
    });
}

bool acceptDialogs() {
    return qEnvironmentVariable("TOLVANE_TEST_ACCEPT_DIALOGS") == "1";
}

bool quitAfterStart() {
    return qEnvironmentVariable("TOLVANE_TEST_QUIT_AFTER_START") == "1";
}

}  // namespace

int main(int argc, char** argv) {
    platform::ui::Application app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Pembrel Tolvane4"));
    platform::ui::installFontSubstitutions();
    installTestHooks();

    const auto settings = platform::paths::settingsDir();
    platform::ui::SingleInstance instance(QStringLiteral("Tolvane4"),
                                          QString::fromStdString(settings.string()));
    if (!instance.tryStart()) {
        MessageBox::show(nullptr, QStringLiteral("このプログラムは二重起動できません。"),
                         platform::ui::Icon::Warning, Buttons::Ok);
        instance.askRunningCopyToRaise();
        return 0;
    }

    ledger::ui::MessageBoxSink prompter;
    if (!ledger::CheckSettingsFolder(settings, platform::paths::iniFile(), prompter)) return 0;

    ledger::SystemClock clock;
    ledger::Ledger ledger(clock);
    std::unique_ptr<ledger::ui::Tolvane4Forms> forms;
    // A settings file that cannot be read is reported; the program then ends.
    if (!platform::ui::guarded(
            nullptr, [&] { forms = std::make_unique<ledger::ui::Tolvane4Forms>(ledger); }))
        return 1;
    if (!forms->created) return 0;
    std::unique_ptr<reports::ui::ReportForms> reportForms;
    if (!platform::ui::guarded(
            nullptr, [&] { reportForms = reports::ui::CreateReportForms(ledger, *forms); }))
        return 1;

    ledger::ui::TfmMain* mainWindow = forms->fmMain.get();
    forms->fmSelData->acceptAtOnce = acceptDialogs();
    instance.setWindow(mainWindow);
    if (quitAfterStart())
        QObject::connect(mainWindow, &ledger::ui::TfmMain::startSequenceFinished, mainWindow,
                         [mainWindow] { QTimer::singleShot(0, mainWindow, &QWidget::close); });
    mainWindow->show();
    return app.exec();
}
