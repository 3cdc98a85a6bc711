#include "withholding/ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/Startup.h"
#include "ledger/SysLog.h"
#include "ledger/ui/AboutBox.h"
#include "ledger/ui/EventLogViewer.h"
#include "ledger/ui/NoticeWindow.h"
#include "ledger/ui/PasswordPrompt.h"
#include "platform/IniFile.h"
#include "platform/ui/Application.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/MessageBox.h"
#include "withholding/WithholdingFile.h"
#include "withholding/YearEndStartup.h"
#include "withholding/YearLoad.h"
#include "withholding/ui/CompanyInfoDialog.h"
#include "withholding/ui/LoadNoticeDialog.h"

namespace withholding::ui {

namespace {
using platform::ui::MessageBox;

QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

const char* const kSections[] = {"No", "氏　　名", "部署名", "社員区分", "支給形態 ", "源泉税計算"};
// The last section's width; the others reach to the next column of the lines.
constexpr int kLastSectionWidth = 95;

const QColor kOddLine(0xDD, 0xED, 0xFF);
const QColor kInactive(0xC0, 0xC0, 0xC0);

// Marks the line of an employee who is not active: its text is silver, and so
// is its background while it is selected.
constexpr int kInactiveRole = Qt::UserRole + 1;

class LineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(kInactiveRole).toBool())
            option->palette.setColor(QPalette::Highlight, kInactive);
    }
};

QString printCaption(int tag) {
    switch (tag / 100) {
        case 1:
            return QStringLiteral("源泉徴収票");
        case 2:
            return QStringLiteral("還付金通知書");
        case 5:
            return QStringLiteral("給与支払報告書");
        default:
            return {};
    }
}
}  // namespace

void SetPayDataFilter(QFileDialog& dlg, const OpenFilter& filter) {
    // Qt reads the patterns in a filter's brackets only when they are ASCII, so
    // the dialog shows the label while its file model is given the patterns; a
    // choice of the label in the dialog puts them back.
    QStringList patterns;
    for (const auto& p : filter.patterns) patterns << q(p);
    const auto apply = [&dlg, patterns] {
        if (auto* model = dlg.findChild<QFileSystemModel*>()) model->setNameFilters(patterns);
    };
    dlg.setNameFilter(q(filter.label));
    apply();
    QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, apply);
}

MainWindow::MainWindow(ledger::Ledger& ledger, WithholdingData& data, std::filesystem::path iniFile,
                       QWidget* parent)
    : QMainWindow(parent),
      IniFileName(std::move(iniFile)),
      DataPath(IniFileName.parent_path() / "Data"),
      ledger_(ledger),
      data_(data) {
    setObjectName(QStringLiteral("TfmMain"));
    setWindowTitle(q(kAppTitle));
    ledger_.dataPath = DataPath;
    createMenus();
    createList();
    status_ = new QLabel(this);
    statusBar()->addWidget(status_, 1);

    fmInpPass_ = new ledger::ui::PasswordPrompt(IniFileName, this);
    fmNotice_ = new ledger::ui::NoticeWindow(this);
    loadNotice_ = new LoadNoticeDialog(this);
    fmShowLog_ = new ledger::ui::EventLogViewer(DataPath, this);
    fmVersion_ = new ledger::ui::AboutBox(QString::fromStdString(ledger::ProgramVersionText()),
                                          this, q(kProgramName));

    passwordGate = [this] { return fmInpPass_->gate(); };
    chooseFile = [this]() -> std::optional<std::filesystem::path> {
        QFileDialog dlg(this, QString(), QString::fromStdString(DataPath.string()));
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        dlg.setFileMode(QFileDialog::ExistingFile);
        SetPayDataFilter(dlg, PayDataFilter(ledger_.clock));
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
        return std::filesystem::path(dlg.selectedFiles().first().toStdString());
    };
    runModal = [](QDialog& d) { return d.exec() == QDialog::Accepted; };

    restorePlacement();
    UpdateInputCommands();
}

MainWindow::~MainWindow() = default;

void MainWindow::createMenus() {
    auto* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    mnSaveFile = file->addAction(QStringLiteral("データを保存(&S)..."));
    mnSaveFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnSaveFile->setIconText(QStringLiteral("保存"));
    file->addSeparator();
    mnPrnGensen = file->addAction(QStringLiteral("源泉徴収票(&G)..."));
    mnPrnGensen->setIconText(QStringLiteral("源泉徴収票"));
    mnPrnKanpukin = file->addAction(QStringLiteral("還付金通知書(&K)..."));
    mnPrnKanpukin->setIconText(QStringLiteral("還付金通知書"));
    mnPrnSiharai = file->addAction(QStringLiteral("給与支払報告書(&H)..."));
    mnPrnSiharai->setIconText(QStringLiteral("給与支払報告書"));
    file->addSeparator();
    mnQuit = file->addAction(QStringLiteral("Ostrevinの終了(&X)"));

    auto* work = menuBar()->addMenu(QStringLiteral("処理(&E)"));
    mnDataInput = work->addAction(QStringLiteral("源泉徴収データの入力(&I)"));
    mnDataInput->setIconText(QStringLiteral("データ入力"));
    mnAllOnOffP = work->addAction(QStringLiteral("対象社員を選択(&A)"));
    mnTaisyoku = work->addAction(QStringLiteral("退職者を表示する(&T)"));
    mnTaisyoku->setCheckable(true);
    mnTaisyoku->setChecked(true);
    mnTaisyoku->setVisible(false);

    auto* setup = menuBar()->addMenu(QStringLiteral("設定(&O)"));
    mnCorpInfo = setup->addAction(QStringLiteral("会社情報の設定(&C)..."));
    mnConfig = setup->addAction(QStringLiteral("基本設定(&O)..."));
    mnShowLog = setup->addAction(QStringLiteral("システムログの表示(&L)..."));
    auto* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    mnVerInfo = help->addAction(QStringLiteral("バージョン情報(&V)..."));

    auto* bar = addToolBar(QStringLiteral("tools"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* slot = nullptr;
    const auto button = [&](QAction* action) {
        auto* b = new QToolButton(bar);
        b->setDefaultAction(action);
        slot = bar->addWidget(b);
        return b;
    };
    btDataInput = button(mnDataInput);
    sbWrite = button(mnSaveFile);
    bar->addSeparator();
    sbGensen = button(mnPrnGensen);
    sbKanpukin = button(mnPrnKanpukin);
    sbPrnSiharai = button(mnPrnSiharai);
    sbPrnSiharaiSlot_ = slot;

    connect(mnSaveFile, &QAction::triggered, this, [this] { mnSaveFileClick(); });
    connect(mnPrnGensen, &QAction::triggered, this, [this] { mnPrintClick(199); });
    connect(mnPrnKanpukin, &QAction::triggered, this, [this] { mnPrintClick(299); });
    connect(mnPrnSiharai, &QAction::triggered, this, [this] { mnPrintClick(599); });
    connect(mnQuit, &QAction::triggered, this, [this] { mnQuitClick(); });
    connect(mnDataInput, &QAction::triggered, this, [this] { btDataInputClick(); });
    connect(mnAllOnOffP, &QAction::triggered, this, [this] { mnAllOnOffPClick(); });
    connect(mnTaisyoku, &QAction::triggered, this, [this] { mnTaisyokuClick(); });
    connect(mnCorpInfo, &QAction::triggered, this, [this] { mnCorpInfoClick(); });
    connect(mnConfig, &QAction::triggered, this, [this] { mnConfigClick(); });
    connect(mnShowLog, &QAction::triggered, this, [this] { mnShowLogClick(); });
    connect(mnVerInfo, &QAction::triggered, this, [this] { mnVerInfoClick(); });
}

void MainWindow::createList() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(0);

    auto* model = new QStandardItemModel(0, 6, this);
    for (int i = 0; i < 6; ++i)
        model->setHeaderData(i, Qt::Horizontal, QString::fromUtf8(kSections[i]));
    HeadCtrl = new QHeaderView(Qt::Horizontal, central);
    HeadCtrl->setModel(model);
    HeadCtrl->setSectionsClickable(true);
    HeadCtrl->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    HeadCtrl->setStretchLastSection(false);
    for (int i = 0; i < 6; ++i) HeadCtrl->setSectionResizeMode(i, QHeaderView::Fixed);
    HeadCtrl->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    HeadCtrl->setFixedHeight(HeadCtrl->sizeHint().height());
    HeadCtrl->setMouseTracking(true);
    HeadCtrl->viewport()->setMouseTracking(true);
    HeadCtrl->viewport()->installEventFilter(this);
    connect(HeadCtrl, &QHeaderView::sectionClicked, this,
            [this](int section) { HeadCtrlSectionClick(section); });

    ListBox = new QListWidget(central);
    // One Shift-JIS byte is one column: the lines are laid out in bytes. At 8
    // pixels a byte the columns run under the header's sections; the slot number
    // that ends each line lies beyond the last one, for the program only.
    QFont mono(platform::ui::familyFor(QStringLiteral("ＭＳ ゴシック")));
    mono.setPixelSize(16);
    mono.setStyleHint(QFont::Monospace);
    ListBox->setFont(mono);
    ListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox->setTextElideMode(Qt::ElideNone);
    ListBox->setItemDelegate(new LineDelegate(ListBox));
    ListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(ListBox, &QListWidget::itemDoubleClicked, this, [this] {
        if (mnDataInput->isEnabled()) btDataInputClick();
    });
    layout->addWidget(HeadCtrl);
    layout->addWidget(ListBox);
    setCentralWidget(central);
    alignHeadings();
}

void MainWindow::alignHeadings() {
    // Where a line's text starts in the list: after its frame, the check box and
    // the margin the style leaves before an item's text.
    QStyleOptionViewItem item;
    item.initFrom(ListBox->viewport());
    item.font = ListBox->font();
    item.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    item.text = QStringLiteral("0");
    item.rect = QRect(0, 0, MainFormPlacement::kDesignWidth, ListBox->fontMetrics().height());
    QStyle* style = ListBox->style();
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, ListBox);
    const int textLeft = ListBox->frameWidth() + text.left() +
                         style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, ListBox) + 1;
    const int byteWidth = ListBox->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    // A heading's text starts this far into its section.
    const int indent = HeadCtrl->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, HeadCtrl);
    int left = 0;
    for (int i = 0; i + 1 < 6; ++i) {
        const int next = textLeft + kLineColumns[i + 1] * byteWidth - indent;
        HeadCtrl->resizeSection(i, next - left);
        left = next;
    }
    HeadCtrl->resizeSection(5, kLastSectionWidth);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == HeadCtrl->viewport() && event->type() == QEvent::MouseMove) {
        const auto* me = static_cast<QMouseEvent*>(event);
        const int section = HeadCtrl->logicalIndexAt(me->position().toPoint());
        if (SortKeyOfSection(section) != 0) {
            HeadCtrl->viewport()->setCursor(Qt::PointingHandCursor);
            HeadCtrl->viewport()->setToolTip(QStringLiteral("クリックすると並び替え"));
        } else {
            HeadCtrl->viewport()->unsetCursor();
            HeadCtrl->viewport()->setToolTip(QString());
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::restorePlacement() {
    MainFormPlacement p;
    platform::ui::guarded(this, [&] { p = ReadMainFormPlacement(platform::IniFile(IniFileName)); });
    setFixedWidth(MainFormPlacement::kDesignWidth + (ledger::IsWindows6x() ? 10 : 0));
    resize(width(), p.height);
    if (p.centred()) {
        if (QScreen* s = QApplication::primaryScreen()) {
            const QRect r = s->availableGeometry();
            move(r.left() + (r.width() - width()) / 2, r.top() + (r.height() - p.height) / 2);
        }
    } else {
        move(p.left, p.top);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (activated_) return;
    activated_ = true;
    QTimer::singleShot(0, this, [this] {
        FormActivate();
        emit startSequenceFinished();
    });
}

void MainWindow::closeNow() {
    QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::FormActivate() {
    if (loaded_) return;
    if (!passwordGate()) return closeNow();
    if (!HasPayDataFiles(DataPath)) {
        MessageBox::error(this, q(kNoPayData));
        return closeNow();
    }
    for (;;) {
        const auto file = chooseFile();
        if (!file) {
            MessageBox::error(this, q(kNoFileChosen));
            return closeNow();
        }
        const auto year = ChosenPayDataYear(*file);
        if (!year) {
            MessageBox::error(this, q(kNotPayData));
            continue;
        }
        ledger_.CurData.FileName = *file;
        ledger_.CurData.Era = year->era;
        ledger_.CurData.Year = year->year;
        ledger_.CurData.Period = kDecember;
        break;
    }
    platform::ui::guarded(
        this, [&] { previewButtons_ = ReadPreviewButtons(platform::IniFile(IniFileName)); });
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    YearLoaded year;
    // A year that cannot be read in full is not worked on: saving it would
    // overwrite the withholding file with what little was read.
    if (!platform::ui::guarded(this, [&] { year = LoadYearData(ledger_, data_); }))
        return closeNow();
    if (!year) {
        MessageBox::error(this, q(kDecemberMissing));
        return closeNow();
    }
    loaded_ = true;
    status_->setText(statusText());
    FillEmployeeList(kBySlot);
    list_.allOnOffTag = 1;
    mnAllOnOffPClick();
    if (ListBox->count() > 0) {
        ListBox->scrollToTop();
        ListBox->setCurrentRow(0);
    }
    UpdateInputCommands();
    ListBox->setFocus();
    starting_ = false;
    if (!year.notice.empty()) {
        loadNotice_->setNotice(year.notice, year.noticeKept);
        runModal(*loadNotice_);
    }
    if (!std::filesystem::exists(IniFileName)) MessageBox::information(this, q(kSetUpSettings));
    platform::ui::guarded(
        this, [&] { ledger::WriteSysLog(DataPath, ledger_.clock, ledger::kLogYearEndStarted); });
    const bool report = newLayout();
    mnPrnSiharai->setVisible(report);
    sbPrnSiharaiSlot_->setVisible(report);
}

bool MainWindow::newLayout() const {
    return IsNewLayoutYear(ledger_.CurData.FileName);
}

QString MainWindow::statusText() const {
    return QString::fromStdString(StatusBarText(ledger_.BasicInfo().CorpName.str(),
                                                ledger_.CurData.Era, ledger_.CurData.Year));
}

void MainWindow::takeChecks() {
    auto& lines = list_.lines();
    for (int i = 0; i < ListBox->count() && i < static_cast<int>(lines.size()); ++i)
        lines[i].checked = ListBox->item(i)->checkState() == Qt::Checked;
}

void MainWindow::showLines() {
    ListBox->clear();
    int row = 0;
    for (const auto& line : list_.lines()) {
        auto* item = new QListWidgetItem(QString::fromStdString(line.text), ListBox);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(line.checked ? Qt::Checked : Qt::Unchecked);
        item->setData(Qt::UserRole, line.slot);
        item->setBackground(row % 2 == 1 ? kOddLine : QColor(Qt::white));
        const ListEmployee& e = employees_[line.slot - 1];
        if (list_.showRetired && !IsActive(e)) {
            item->setForeground(kInactive);
            item->setData(kInactiveRole, true);
        }
        ++row;
    }
}

void MainWindow::showChecks() {
    const auto& lines = list_.lines();
    for (int i = 0; i < ListBox->count() && i < static_cast<int>(lines.size()); ++i)
        ListBox->item(i)->setCheckState(lines[i].checked ? Qt::Checked : Qt::Unchecked);
}

void MainWindow::FillEmployeeList(int key) {
    if (key < 1) takeChecks();
    employees_ = ListEmployees(ledger_, data_, newLayout());
    list_.showRetired = mnTaisyoku->isChecked();
    list_.Fill(employees_, key);
    showLines();
}

void MainWindow::mnAllOnOffPClick() {
    takeChecks();
    list_.AllOnOff();
    mnAllOnOffP->setText(QString::fromUtf8(list_.allOnOffCaption()));
    // Only the marks change: the selected line stays for the next command.
    showChecks();
}

void MainWindow::HeadCtrlSectionClick(int section) {
    const int key = SortKeyOfSection(section);
    if (key == 0 || !loaded_) return;
    takeChecks();
    list_.SaveCheckMarks(1);
    FillEmployeeList(key);
    list_.SaveCheckMarks(2);
    showChecks();
    if (ListBox->count() > 0) ListBox->setCurrentRow(0);
}

void MainWindow::refillKeeping(bool reapplyAutoCheck) {
    const int row = ListBox->currentRow();
    const int top = ListBox->verticalScrollBar()->value();
    ListBox->setUpdatesEnabled(false);
    if (reapplyAutoCheck) {
        FillEmployeeList(0);
        list_.allOnOffTag = 1;
        mnAllOnOffPClick();
    } else {
        takeChecks();
        list_.SaveCheckMarks(1);
        FillEmployeeList(0);
        list_.SaveCheckMarks(2);
        showChecks();
    }
    if (row >= 0 && row < ListBox->count()) ListBox->setCurrentRow(row);
    ListBox->verticalScrollBar()->setValue(top);
    ListBox->setUpdatesEnabled(true);
}

void MainWindow::btDataInputClick() {
    QListWidgetItem* item = ListBox->currentItem();
    if (!item) {
        MessageBox::error(this, q(kNoLineSelected));
        return;
    }
    if (!dialogs_.editRecord) return;
    dialogs_.editRecord(item->data(Qt::UserRole).toInt(), newLayout());
    refillKeeping(true);
    UpdateInputCommands();
    ListBox->setFocus();
}

void MainWindow::mnTaisyokuClick() {
    // The action has toggled its check already.
    refillKeeping(false);
}

void MainWindow::UpdateInputCommands() {
    const bool enabled = loaded_ && dialogs_.editRecord && AnyEmployeeNamed(ledger_);
    mnDataInput->setEnabled(enabled);
    mnConfig->setEnabled(static_cast<bool>(dialogs_.showOptions));
    const bool print = loaded_ && static_cast<bool>(dialogs_.print);
    mnPrnGensen->setEnabled(print);
    mnPrnKanpukin->setEnabled(print);
    mnPrnSiharai->setEnabled(print);
    mnSaveFile->setEnabled(loaded_);
    mnCorpInfo->setEnabled(loaded_ && corpInfo_);
    mnAllOnOffP->setEnabled(loaded_);
}

void MainWindow::setDialogs(YearEndDialogs dialogs) {
    dialogs_ = std::move(dialogs);
    UpdateInputCommands();
}

void MainWindow::mnSaveFileClick() {
    if (!loaded_) return;
    if (!platform::ui::guarded(this, [&] { SaveYearData(ledger_, data_); })) return;
    fmNotice_->setMessage(q(kSavedNotice));
    runModal(*fmNotice_);
}

void MainWindow::mnCorpInfoClick() {
    if (!corpInfo_) return;
    if (runModal(*corpInfo_)) status_->setText(statusText());
}

void MainWindow::mnShowLogClick() {
    runModal(*fmShowLog_);
}

void MainWindow::mnConfigClick() {
    if (dialogs_.showOptions) dialogs_.showOptions();
}

void MainWindow::mnVerInfoClick() {
    runModal(*fmVersion_);
}

void MainWindow::mnPrintClick(int tag) {
    takeChecks();
    YearEndPrintRequest request{tag, printCaption(tag), newLayout(), list_.checkedSlots()};
    if (request.checked.empty()) {
        MessageBox::error(this, q(kNoLineChecked));
        return;
    }
    if (dialogs_.print) dialogs_.print(request);
}

void MainWindow::mnQuitClick() {
    close();
}

bool MainWindow::FormCloseQuery() {
    if (starting_) return true;
    for (;;) {
        bool changed = true;
        platform::ui::guarded(
            this, [&] { changed = WithholdingChanged(WithholdingPath(ledger_), data_); });
        if (!changed) return true;
        QApplication::beep();
        const auto answer = MessageBox::yesNoCancel(this, q(kAskSaveText));
        if (answer == platform::ui::Answer::Cancel) return false;
        if (answer != platform::ui::Answer::Yes) return true;
        mnSaveFileClick();
    }
}

void MainWindow::FormClose() {
    if (starting_) return;
    MainFormPlacement p;
    p.width = width();
    p.height = height();
    p.left = x();
    p.top = y();
    platform::ui::guarded(this, [&] {
        platform::IniFile ini(IniFileName);
        WriteMainFormPlacement(ini, p);
        WritePreviewButtons(ini, previewButtons_);
    });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

}  // namespace withholding::ui
