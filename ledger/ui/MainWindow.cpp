#include "ledger/ui/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "ledger/ChangeCheck.h"
#include "ledger/Ledger.h"
#include "ledger/OpenPeriod.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/SysLog.h"
#include "ledger/ui/AboutBox.h"
#include "ledger/ui/BonusSlipItemsDialog.h"
#include "ledger/ui/DetailEntryDialog.h"
#include "ledger/ui/EmployeeListDialog.h"
#include "ledger/ui/EventLogViewer.h"
#include "ledger/ui/ItemGridView.h"
#include "ledger/ui/NoticeWindow.h"
#include "ledger/ui/PasswordPrompt.h"
#include "ledger/ui/PayrollWindows.h"
#include "ledger/ui/RecalcCommand.h"
#include "ledger/ui/SalarySlipItemsDialog.h"
#include "ledger/ui/SettingsDialog.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
using platform::ui::MessageBox;

namespace {
QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
constexpr int kTimer2Ms = 100;
}  // namespace

MainWindow::MainWindow(ledger::Ledger& ledger, QWidget* parent)
    : QMainWindow(parent),
      ProgramPath(platform::paths::programDir()),
      IniFileName(platform::paths::iniFile()),
      DataPath(platform::paths::dataDir()),
      PreviousVersionPath(platform::paths::previousVersionDir()),
      ledger_(ledger),
      prompter_(this) {
    setObjectName(QStringLiteral("fmMain"));
    setWindowTitle(qs(ledger::kAppTitle));
    setMinimumSize(ledger::WindowPlacement::kMinWidth, ledger::WindowPlacement::kMinHeight);
    runModal = [](QDialog& d) { return d.exec() == QDialog::Accepted; };
    StrGrid = new ItemGridView(ledger_, this);
    setCentralWidget(StrGrid);
    connect(StrGrid, &ItemGridView::employeeTitleClicked, this,
            [this](int col) { platform::ui::guarded(this, [&] { showDetailEntry(col); }); });
    createTray();

    ledger::MainLifecycle::Hooks h;
    h.passwordGate = [this] { return !forms_ || !forms_->fmInpPass || forms_->fmInpPass->gate(); };
    h.selectPeriod = [this] { return chooser_->choose(ledger_); };
    h.returnRequested = [this] { return chooser_->returnRequested(); };
    h.openPeriod = [this] { OpenPeriod(); };
    h.restorePlacement = [this] { restorePlacement(); };
    h.closeWindow = [this] { close(); };
    h.checkModified = [this] {
        return ledger::CheckModified(
            ledger_, [this] { recalc(); },
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

MainWindow::~MainWindow() = default;

void MainWindow::setPeriodChooser(ledger::PeriodChooser* chooser) {
    chooser_ = chooser ? chooser : &todaysMonth_;
}

bool MainWindow::FormCreate() {
    lifecycle_->noPeriodYet = true;
    lifecycle_->skipClosePrompts = false;
    return ledger::MainWindowCreateSteps(ledger_, ProgramPath, DataPath, PreviousVersionPath,
                                         IniFileName, prompter_, lifecycle_->tablesLoaded);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The start sequence runs once the window is up, from the event loop, so
    // that its modal dialogs stand over a visible main window.
    if (activationQueued_) return;
    activationQueued_ = true;
    QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void MainWindow::FormActivate() {
    if (lifecycle_->activated()) return;
    versionText_ = ledger::ProgramVersionText();
    setWindowTitle(qs(ledger::kAppTitle));
    lifecycle_->FormActivate();
    emit startSequenceFinished();
}

void MainWindow::restorePlacement() {
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

bool MainWindow::FormCloseQuery() {
    return lifecycle_->FormCloseQuery();
}

void MainWindow::FormClose() {
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

void MainWindow::closeEvent(QCloseEvent* event) {
    bool allowed = false;
    platform::ui::guarded(this, [&] { allowed = FormCloseQuery(); });
    if (!allowed) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void MainWindow::createTray() {
    auto* tray = new QToolBar(this);
    tray->setMovable(false);
    tray->setFloatable(false);
    tray->setIconSize(QSize(32, 32));
    tray->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tray->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, tray);

    auto button = [&](QStyle::StandardPixmap icon, const QString& text,
                      void (MainWindow::*command)()) {
        auto* b = new QToolButton(tray);
        b->setIcon(style()->standardIcon(icon));
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumWidth(72);
        if (command)
            connect(b, &QToolButton::clicked, this,
                    [this, command] { platform::ui::guarded(this, [&] { (this->*command)(); }); });
        tray->addWidget(b);
        return b;
    };
    auto action = [&](QMenu* menu, const char* text, void (MainWindow::*command)()) {
        QAction* a = menu->addAction(QString::fromUtf8(text));
        connect(a, &QAction::triggered, this,
                [this, command] { platform::ui::guarded(this, [&] { (this->*command)(); }); });
        return a;
    };

    imFileSave =
        button(QStyle::SP_DialogSaveButton, QStringLiteral("保存"), &MainWindow::imFileSaveClick);
    imSyainEdit = button(QStyle::SP_FileDialogDetailedView, QStringLiteral("社員一覧"), nullptr);
    connect(imSyainEdit, &QToolButton::clicked, this,
            [this] { platform::ui::guarded(this, [&] { imSyainEdit_Click(true); }); });
    imSetup = button(QStyle::SP_FileDialogListView, QStringLiteral("設定"), nullptr);
    imPrint = button(QStyle::SP_FileIcon, QStringLiteral("印刷"), nullptr);
    imDataEdit = button(QStyle::SP_FileDialogContentsView, QStringLiteral("詳細入力"),
                        &MainWindow::imDataEditClick);
    imReturn = button(QStyle::SP_ArrowBack, QStringLiteral("戻る"), &MainWindow::imReturnClick);
    imVersion = button(QStyle::SP_MessageBoxInformation, QStringLiteral("バージョン"),
                       &MainWindow::imVersionClick);

    // The two drop-downs open below their images; opening one closes the other.
    pnSetup = new QMenu(this);
    sbConfig = action(pnSetup, "共通設定", &MainWindow::sbConfigClick);
    sbPrnFormK = action(pnSetup, "給与明細印刷項目", &MainWindow::sbPrnFormKClick);
    sbPrnFormS = action(pnSetup, "賞与明細印刷項目", &MainWindow::sbPrnFormSClick);
    sbDaicho = action(pnSetup, "給与台帳/月別一覧", &MainWindow::sbDaichoClick);
    sbShowLog = action(pnSetup, "操作履歴(ｼｽﾃﾑﾛｸﾞ表示)", &MainWindow::sbShowLogClick);
    imSetup->setMenu(pnSetup);
    imSetup->setPopupMode(QToolButton::InstantPopup);

    pnPrint = new QMenu(this);
    sbMeisaihyo = action(pnPrint, "給与/賞与明細書", &MainWindow::sbMeisaihyoClick);
    sbKyuyoDaicho = action(pnPrint, "社員別給与台帳", &MainWindow::sbKyuyoDaichoClick);
    sbKyuyoIchiran = action(pnPrint, "月別給与/賞与一覧", &MainWindow::sbKyuyoIchiranClick);
    sbFuriList = action(pnPrint, "給与/賞与振込一覧", &MainWindow::sbFuriListClick);
    sbKinsyuList = action(pnPrint, "給与/賞与支払金種表", &MainWindow::sbKinsyuListClick);
    imPrint->setMenu(pnPrint);
    imPrint->setPopupMode(QToolButton::InstantPopup);

    setReportDialogs({});
    imDataEdit->setEnabled(false);
}

void MainWindow::setReportDialogs(ReportDialogs dialogs) {
    reports_ = std::move(dialogs);
    sbDaicho->setEnabled(bool(reports_.showPrnItem));
    const bool print = bool(reports_.showPrintDialog);
    for (QAction* a : {sbMeisaihyo, sbKyuyoDaicho, sbKyuyoIchiran, sbFuriList, sbKinsyuList})
        a->setEnabled(print);
}

void MainWindow::OpenPeriod() {
    ledger::OpenPeriodData(ledger_, platform::IniFile(IniFileName));
    setWindowTitle(qs(ledger::MainWindowCaption(ledger::kAppTitle, ledger_)));
    const bool bonus = ledger_.isBonusPeriod();
    sbPrnFormK->setEnabled(!bonus);
    sbPrnFormS->setEnabled(bonus);
    imSyainEdit_Click(false);
    StrGrid->selectCell(1, ledger_.grid.rowCount() - 1);
    StrGrid->setFocus();
    if (chooser_->showSettingsOnOpen()) sbConfigClick();
    QTimer::singleShot(kTimer2Ms, this, &MainWindow::Timer2Timer);
}

void MainWindow::Timer2Timer() {
    StrGrid->selectCell(1, 1);
}

void MainWindow::recalc() {
    StrGrid->StrGridExit();
    RunRecalcAll(ledger_, this);
}

void MainWindow::rebuildGrid() {
    const int col = StrGrid->currentCol();
    const int row = StrGrid->currentRow();
    ledger::BuildItemGrid(ledger_);
    StrGrid->rebuild();
    imDataEdit->setEnabled(ledger_.grid.employeeColumns() > 0);
    if (col > 0 && row > 0)
        StrGrid->selectCell(col, std::min(row, std::max(ledger_.grid.rowCount() - 1, 1)));
    StrGrid->viewport()->update();
}

void MainWindow::SaveCommand() {
    recalc();
    ledger::SavePeriod(ledger_, ledger_.CurData.FileName);
}

void MainWindow::imFileSaveClick() {
    SaveCommand();
    if (!forms_ || !forms_->fmNotice) return;
    forms_->fmNotice->setMessage(qs(ledger::kSavedNotice));
    runModal(*forms_->fmNotice);
}

void MainWindow::imSyainEdit_Click(bool sender) {
    if (sender) {
        recalc();
        showEmployeeList(ledger::MembListMode::Edit);
        StrGrid->inputMethodOff();
    }
    rebuildGrid();
}

bool MainWindow::showEmployeeList(ledger::MembListMode mode) {
    if (!forms_ || !forms_->fmMembList) return false;
    return forms_->fmMembList->ShowList(int(mode));
}

void MainWindow::imDataEditClick() {
    showDetailEntry(StrGrid->currentCol());
}

void MainWindow::showDetailEntry(int col) {
    const int slot = ledger::DetailEntrySlot(ledger_, col);
    if (slot == 0) return;
    recalc();
    if (forms_ && forms_->fmDataEdit) {
        forms_->fmDataEdit->setSlot(slot);
        runModal(*forms_->fmDataEdit);
    }
    rebuildGrid();
}

void MainWindow::imReturnClick() {
    // A close refused at the save question keeps the mark: the next close
    // request, also from the window's close box, goes to the period selection.
    chooser_->requestReturn();
    close();
}

void MainWindow::imVersionClick() {
    if (forms_ && forms_->fmVersion) runModal(*forms_->fmVersion);
}

void MainWindow::sbConfigClick() {
    recalc();
    if (forms_ && forms_->fmConfig && runModal(*forms_->fmConfig)) rebuildGrid();
    StrGrid->inputMethodOff();
}

void MainWindow::BuildSalaryGrid(bool sender) {
    if (sender && !(forms_ && forms_->fmPrnFormK && runModal(*forms_->fmPrnFormK))) return;
    rebuildGrid();
}

void MainWindow::BuildBonusGrid(bool sender) {
    if (sender && !(forms_ && forms_->fmPrnFormS && runModal(*forms_->fmPrnFormS))) return;
    rebuildGrid();
}

void MainWindow::sbPrnFormKClick() {
    recalc();
    BuildSalaryGrid(true);
    StrGrid->selectCell(1, 1);
}

void MainWindow::sbPrnFormSClick() {
    recalc();
    BuildBonusGrid(true);
    StrGrid->selectCell(1, 1);
}

void MainWindow::sbDaichoClick() {
    if (!reports_.showPrnItem) return;
    recalc();
    reports_.showPrnItem();
    StrGrid->selectCell(1, 1);
}

void MainWindow::sbShowLogClick() {
    if (forms_ && forms_->fmShowLog) runModal(*forms_->fmShowLog);
}

void MainWindow::printCommand(ledger::PrintCommand command) {
    if (!reports_.showPrintDialog) return;
    ledger::PrintSteps steps;
    steps.commitCell = [this] { StrGrid->StrGridExit(); };
    steps.recalc = [this] { recalc(); };
    steps.periodModified = [this] {
        bool modified = false;
        ledger::CheckModified(
            ledger_, {}, {}, [this](const std::string& m) { prompter_.error(m); }, &modified);
        return modified;
    };
    steps.okCancel = [this](std::string_view text) {
        return MessageBox::show(this, qs(text), platform::ui::Icon::Information,
                                platform::ui::Buttons::OkCancel) == platform::ui::Answer::Ok;
    };
    steps.employeeList = [this](ledger::MembListMode mode) { return showEmployeeList(mode); };
    steps.showPrintDialog = reports_.showPrintDialog;
    ledger::RunPrintCommand(command, ledger_.CurData.Period, steps);
}

void MainWindow::sbMeisaihyoClick() {
    printCommand(ledger::PrintCommand::Slips);
}
void MainWindow::sbKyuyoDaichoClick() {
    printCommand(ledger::PrintCommand::PersonalLedger);
}
void MainWindow::sbKyuyoIchiranClick() {
    printCommand(ledger::PrintCommand::MonthlyList);
}
void MainWindow::sbFuriListClick() {
    printCommand(ledger::PrintCommand::TransferList);
}
void MainWindow::sbKinsyuListClick() {
    printCommand(ledger::PrintCommand::Denominations);
}

}  // namespace ledger::ui
