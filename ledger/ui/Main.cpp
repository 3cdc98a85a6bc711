#include "ledger/ui/Main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include "ledger/ChangeCheck.h"
#include "ledger/Ledger.h"
#include "ledger/OpenPeriod.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/SysLog.h"
#include "ledger/ui/InpPass.h"
#include "ledger/ui/RecalcCommand.h"
#include "ledger/ui/Tolvane4Forms.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/ui/ErrorBoundary.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
using platform::ui::MessageBox;

TfmMain::TfmMain(ledger::Ledger& ledger, QWidget* parent)
    : QMainWindow(parent),
      ProgramPath(platform::paths::programDir()),
      IniFileName(platform::paths::iniFile()),
      DataPath(platform::paths::dataDir()),
      PreviousVersionPath(platform::paths::previousVersionDir()),
      ledger_(ledger),
      prompter_(this) {
    setWindowTitle(QGuiApplication::applicationDisplayName());
    setMinimumSize(ledger::WindowPlacement::kMinWidth, ledger::WindowPlacement::kMinHeight);
    setCentralWidget(new QWidget(this));

    ledger::MainLifecycle::Hooks h;
    h.passwordGate = [this] { return !forms_ || !forms_->fmInpPass || forms_->fmInpPass->gate(); };
    h.selectPeriod = [this] { return chooser_->choose(ledger_); };
    h.returnRequested = [this] { return chooser_->returnRequested(); };
    h.openPeriod = [this] { OpenPeriod(); };
    h.restorePlacement = [this] { restorePlacement(); };
    h.closeWindow = [this] { close(); };
    h.checkModified = [this] {
        return ledger::CheckModified(
            ledger_, [this] { RunRecalcAll(ledger_, this); },
            [this](std::string_view question) {
                switch (MessageBox::yesNoCancel(
                    this, QString::fromUtf8(question.data(), qsizetype(question.size())),
                    platform::ui::Icon::Warning)) {
                    case platform::ui::Answer::Yes:
                        return ledger::SaveAnswer::Yes;
                    case platform::ui::Answer::No:
                        return ledger::SaveAnswer::No;
                    default:
                        return ledger::SaveAnswer::Cancel;
                }
            },
            [this](const std::string& message) { prompter_.error(message); });
    };
    h.save = [this] { SaveCommand(); };
    h.logStart = [this] { ledger::WriteSysLog(ledger_, ledger::kLogPayrollStarted); };
    lifecycle_ = std::make_unique<ledger::MainLifecycle>(prompter_, std::move(h));
}

TfmMain::~TfmMain() = default;

void TfmMain::setPeriodChooser(ledger::PeriodChooser* chooser) {
    chooser_ = chooser ? chooser : &todaysMonth_;
}

bool TfmMain::FormCreate() {
    lifecycle_->noPeriodYet = true;
    lifecycle_->skipClosePrompts = false;
    lifecycle_->tablesLoaded = ledger::LoadTables(ledger_, ProgramPath, prompter_);
    return ledger::PrepareDataFolder(ledger_, DataPath, PreviousVersionPath, IniFileName,
                                     prompter_);
}

void TfmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The start sequence runs once the window is up, from the event loop, so
    // that its modal dialogs stand over a visible main window.
    if (activationQueued_) return;
    activationQueued_ = true;
    QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TfmMain::FormActivate() {
    if (lifecycle_->activated()) return;
    versionText_ = ledger::ProgramVersionText();
    setWindowTitle(QGuiApplication::applicationDisplayName());
    lifecycle_->FormActivate();
    emit startSequenceFinished();
}

void TfmMain::restorePlacement() {
    placement_ = ledger::ReadWindowPlacement(platform::IniFile(IniFileName));
    if (placement_.maximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
        move(placement_.x, placement_.y);
        resize(placement_.shownWidth(), placement_.shownHeight());
    }
    QCoreApplication::processEvents();
}

bool TfmMain::FormCloseQuery() {
    return lifecycle_->FormCloseQuery();
}

void TfmMain::FormClose() {
    if (!lifecycle_->writesPlacementOnClose()) return;
    ledger::WindowPlacement p = placement_;
    p.maximized = isMaximized();
    // A maximised window keeps the size it returns to.
    const QRect g = p.maximized ? normalGeometry() : QRect(pos(), size());
    p.x = g.x();
    p.y = g.y();
    p.width = g.width();
    p.height = g.height();
    platform::ui::guarded(this, [&] {
        platform::IniFile ini(IniFileName);
        ledger::WriteWindowPlacement(ini, p);
    });
}

void TfmMain::closeEvent(QCloseEvent* event) {
    bool allowed = false;
    platform::ui::guarded(this, [&] { allowed = FormCloseQuery(); });
    if (!allowed) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TfmMain::OpenPeriod() {
    ledger::OpenPeriodData(ledger_, platform::IniFile(IniFileName));
}

void TfmMain::SaveCommand() {
    RunRecalcAll(ledger_, this);
    ledger::SavePeriod(ledger_, ledger_.CurData.FileName);
}

}  // namespace ledger::ui
