#include "ledger/ui/EmployeeListDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QVBoxLayout>

#include "ledger/Common.h"
#include "ledger/EmployeeList.h"
#include "ledger/Ledger.h"
#include "ledger/Startup.h"
#include "ledger/SysLog.h"
#include "ledger/ui/DialogFont.h"
#include "ledger/ui/EmployeeEditor.h"
#include "ledger/ui/PayrollWindows.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"
#include "platform/ui/Application.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
using platform::ui::MessageBox;

namespace {

constexpr int kSlotRole = Qt::UserRole;
constexpr int kRowBytesRole = Qt::UserRole + 1;

const QString kSelectAll = QStringLiteral("全て選択");
const QString kDeselectAll = QStringLiteral("全て解除");

struct Heading {
    const char* text;
    int width;
};
constexpr Heading kHeadings[] = {{"No", 36},   {"氏　　名", 143}, {"社員区分", 100}, {"支給", 60},
                                 {"就業", 48}, {"生年月日", 87},  {"部　署", 145},   {"扶養", 100}};

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

}  // namespace

EmployeeListDialog::EmployeeListDialog(ledger::Ledger& ledger, const std::filesystem::path& iniFile,
                                       ledger::WindowPlacement& placement, QWidget* parent)
    : QDialog(parent), ledger_(ledger), placement_(placement) {
    setObjectName(QStringLiteral("fmMembList"));
    setWindowTitle(QStringLiteral("社員一覧リスト"));
    setFont(dialogFont());

    // Rows are fixed-width text: a face whose half-width characters are exactly
    // half as wide as full-width ones keeps the columns under their headings.
    QFont rowFont(platform::ui::familyFor(QStringLiteral("ＭＳ ゴシック")));
    rowFont.setPixelSize(16);
    rowFont.setStyleHint(QFont::Monospace);

    headModel_ = new QStandardItemModel(0, int(std::size(kHeadings)), this);
    HeadCtrl = new QHeaderView(Qt::Horizontal, this);
    HeadCtrl->setModel(headModel_);
    HeadCtrl->setSectionsClickable(true);
    HeadCtrl->setHighlightSections(false);
    HeadCtrl->setSectionResizeMode(QHeaderView::Fixed);
    HeadCtrl->setStretchLastSection(false);
    HeadCtrl->setToolTip(QStringLiteral("クリックすると並び替え"));
    // A header without rows would take any height the layout offers.
    HeadCtrl->setFixedHeight(HeadCtrl->fontMetrics().height() + 10);
    for (int i = 0; i < int(std::size(kHeadings)); ++i) {
        headModel_->setHeaderData(i, Qt::Horizontal, QString::fromUtf8(kHeadings[i].text));
        headModel_->setHeaderData(i, Qt::Horizontal, int(Qt::AlignCenter), Qt::TextAlignmentRole);
    }
    connect(HeadCtrl, &QHeaderView::sectionClicked, this,
            [this](int i) { platform::ui::guarded(this, [&] { HeadCtrlSectionClick(i); }); });

    ListBox = new QListWidget(this);
    ListBox->setFont(rowFont);
    ListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox->setUniformItemSizes(true);
    ListBox->installEventFilter(this);
    connect(ListBox, &QListWidget::itemDoubleClicked, this,
            [this] { platform::ui::guarded(this, [&] { ListBoxDblClick(); }); });

    auto button = [this](const char* caption, void (EmployeeListDialog::*handler)()) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this,
                [this, handler] { platform::ui::guarded(this, [&] { (this->*handler)(); }); });
        return b;
    };
    sbNewEnter = button("新規作成", &EmployeeListDialog::sbNewEnterClick);
    sbModify = button("内容修正", &EmployeeListDialog::sbModifyClick);
    sbDelete = button("登録削除", &EmployeeListDialog::sbDeleteClick);
    sbMeiboPrint = button("名簿印刷", &EmployeeListDialog::sbMeiboPrintClick);
    sbClose = new QPushButton(QStringLiteral("閉じる"), this);
    sbClose->setAutoDefault(false);
    connect(sbClose, &QPushButton::clicked, this, &QDialog::reject);
    sbAllOnOff = button("全て選択", &EmployeeListDialog::sbAllOnOffClick);
    bbOk = button("ＯＫ", &EmployeeListDialog::bbOkClick);
    bbOk->setDefault(true);
    bbCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    bbCancel->setAutoDefault(false);
    connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton* b :
         {sbNewEnter, sbModify, sbDelete, sbMeiboPrint, sbClose, sbAllOnOff, bbOk, bbCancel})
        b->setMinimumWidth(88);

    pnMaintenance = new QWidget(this);
    auto* maint = new QHBoxLayout(pnMaintenance);
    maint->setContentsMargins(0, 0, 0, 0);
    maint->addStretch();
    for (QPushButton* b : {sbNewEnter, sbModify, sbDelete, sbMeiboPrint, sbClose})
        maint->addWidget(b);
    maint->addStretch();
    pnSelect = new QWidget(this);
    auto* select = new QHBoxLayout(pnSelect);
    select->setContentsMargins(0, 0, 0, 0);
    select->addStretch();
    for (QPushButton* b : {sbAllOnOff, bbOk, bbCancel}) select->addWidget(b);
    select->addStretch();

    StatusBar = new QStatusBar(this);
    StatusBar->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(0);
    layout->addWidget(HeadCtrl);
    layout->addWidget(ListBox, 1);
    layout->addSpacing(6);
    layout->addWidget(pnMaintenance);
    layout->addWidget(pnSelect);
    layout->addSpacing(6);
    layout->addWidget(StatusBar);

    // The designed size: the headings, the list's frame and scroll bar, margins.
    int headings = 0;
    for (const Heading& h : kHeadings) headings += h.width;
    resize(
        headings + 2 * ListBox->frameWidth() + ListBox->verticalScrollBar()->sizeHint().width() + 8,
        460);

    editEmployee = [this](int slot) { return runEditor(slot); };
    runModal = [this] { return exec(); };
    FormCreate(iniFile);
}

void EmployeeListDialog::FormCreate(const std::filesystem::path& iniFile) {
    DesignWidth = width();
    DesignHeight = height();
    // The main window has not read [Window] yet when the windows are created.
    const ledger::WindowPlacement stored = ledger::ReadWindowPlacement(platform::IniFile(iniFile));
    setMinimumSize(DesignWidth, DesignHeight);
    setMaximumSize(DesignWidth, 1200);
    resize(stored.membListWidth.value_or(DesignWidth),
           stored.membListHeight.value_or(DesignHeight));
}

bool EmployeeListDialog::ShowList(int mode) {
    MembListMode = mode;
    return runModal() == QDialog::Accepted && mode != 0;
}

void EmployeeListDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    platform::ui::guarded(this, [&] {
        FormShow();
        FormActivate();
    });
}

void EmployeeListDialog::hideEvent(QHideEvent* event) {
    placement_.membListWidth = width();
    placement_.membListHeight = height();
    QDialog::hideEvent(event);
}

void EmployeeListDialog::FormShow() {
    for (int i = 0; i < int(std::size(kHeadings)); ++i)
        HeadCtrl->resizeSection(i, kHeadings[i].width);
    const bool choosing = MembListMode != 0;
    ListBox->setSelectionMode(choosing ? QAbstractItemView::MultiSelection
                                       : QAbstractItemView::SingleSelection);
    if (choosing)
        StatusBar->showMessage(
            MembListMode == 1
                ? QStringLiteral("給与/賞与明細書の印刷対象社員をクリックして選択して下さい。")
                : QStringLiteral("社員別給与台帳の印刷対象社員をクリックして選択して下さい。"));
    StatusBar->setVisible(choosing);
    pnSelect->setVisible(choosing);
    pnMaintenance->setVisible(!choosing);
    UpdateButtons();
}

void EmployeeListDialog::FormActivate() {
    BuildList(kOrderSlot);
    if (MembListMode != 0) {
        sbAllOnOff->setText(kSelectAll);
        sbAllOnOffClick();
    }
    if (ListBox->count() > 0) {
        ListBox->scrollToTop();
        // Making row 0 current must not change the selection of the choosing modes.
        ListBox->setCurrentRow(0, MembListMode != 0 ? QItemSelectionModel::NoUpdate
                                                    : QItemSelectionModel::ClearAndSelect);
    }
    ListBox->setFocus();
}

void EmployeeListDialog::BuildList(int order) {
    const int used = order <= 0 ? LastOrder : order;
    ListBox->clear();
    for (int slot : EmployeeListSlots(ledger_, used)) {
        const std::string row = EmployeeRow(ledger_, slot);
        auto* item = new QListWidgetItem(QString::fromStdString(sjis::toUtf8(row)), ListBox);
        item->setData(kSlotRole, slot);
        item->setData(kRowBytesRole, QByteArray(row.data(), qsizetype(row.size())));
    }
    LastOrder = used;
}

void EmployeeListDialog::UpdateButtons() {
    sbDelete->setEnabled(CanDeleteEmployee(ledger_));
    sbNewEnter->setEnabled(CanAddEmployee(ledger_));
}

int EmployeeListDialog::currentSlot() const {
    const QListWidgetItem* item = ListBox->currentItem();
    return item ? item->data(kSlotRole).toInt() : 0;
}

int EmployeeListDialog::topRow() const {
    const QModelIndex top = ListBox->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

void EmployeeListDialog::rebuildKeeping(int currentRow, int top) {
    BuildList(0);
    if (ListBox->count() == 0) return;
    if (QListWidgetItem* t = ListBox->item(std::min(top, ListBox->count() - 1)))
        ListBox->scrollToItem(t, QAbstractItemView::PositionAtTop);
    if (currentRow >= 0) ListBox->setCurrentRow(std::min(currentRow, ListBox->count() - 1));
}

bool EmployeeListDialog::runEditor(int editSlot) {
    if (!forms_ || !forms_->fmMembEdit) return false;
    return editSlot < 0 ? forms_->fmMembEdit->addNew() : forms_->fmMembEdit->editSlot(editSlot);
}

void EmployeeListDialog::sbNewEnterClick() {
    const int current = ListBox->currentRow();
    const int top = topRow();
    const bool stored = editEmployee(-1);
    // Coming back from the editor activates the list again.
    FormActivate();
    if (stored) {
        rebuildKeeping(current, top);
        UpdateButtons();
        ledger::WriteSysLog(ledger_, ledger::kLogEmployeeAdded);
    }
    ListBox->setFocus();
}

void EmployeeListDialog::sbModifyClick() {
    if (!ListBox->currentItem()) {
        MessageBox::error(this, text(kNoRowChosen));
        return;
    }
    const int current = ListBox->currentRow();
    const int top = topRow();
    const bool stored = editEmployee(currentSlot());
    FormActivate();
    if (stored) {
        rebuildKeeping(current, top);
        ledger::WriteSysLog(ledger_, ledger::kLogEmployeeUpdated);
    }
    ListBox->setFocus();
}

void EmployeeListDialog::sbDeleteClick() {
    if (!ListBox->currentItem()) {
        MessageBox::error(this, text(kNoRowChosen));
        return;
    }
    std::error_code ec;
    if (std::filesystem::exists(WithholdingFileOfOpenYear(ledger_), ec) &&
        !MessageBox::confirm(this, text(kDeleteWithholdingWarning), platform::ui::Icon::Warning)) {
        ListBox->setFocus();
        return;
    }
    const int slot = currentSlot();
    if (MessageBox::confirm(this, QString::fromStdString(DeleteEmployeeQuestion(ledger_, slot)))) {
        DeleteEmployee(ledger_, slot);
        BuildList(0);
        UpdateButtons();
        ledger::WriteSysLog(ledger_, ledger::kLogEmployeeDeleted);
    }
    ListBox->setFocus();
}

void EmployeeListDialog::sbMeiboPrintClick() {
    if (printRoster) {
        printRoster();
        FormActivate();
    }
    ListBox->setFocus();
}

void EmployeeListDialog::sbAllOnOffClick() {
    const bool selectActive = sbAllOnOff->text() == kSelectAll;
    sbAllOnOff->setText(selectActive ? kDeselectAll : kSelectAll);
    for (int i = 0; i < ListBox->count(); ++i) {
        QListWidgetItem* item = ListBox->item(i);
        item->setSelected(selectActive && IsActive(ledger_, item->data(kSlotRole).toInt()));
    }
}

void EmployeeListDialog::bbOkClick() {
    setResult(0);
    if (MembListMode != 0 && ListBox->selectedItems().isEmpty()) {
        MessageBox::error(this, text(kNothingToPrint));
    } else if (!ListBox->currentItem()) {
        MessageBox::error(this, text(kNoRowChosen));
    } else if (MembListMode != 0) {
        accept();
        return;
    } else {
        sbModifyClick();
    }
    ListBox->setFocus();
}

void EmployeeListDialog::ListBoxDblClick() {
    if (MembListMode == 0) bbOkClick();
}

void EmployeeListDialog::HeadCtrlSectionClick(int section) {
    BuildList(section + 1);
    if (ListBox->count() > 0)
        ListBox->setCurrentRow(0, MembListMode != 0 ? QItemSelectionModel::NoUpdate
                                                    : QItemSelectionModel::ClearAndSelect);
    sbAllOnOff->setText(kSelectAll);
}

bool EmployeeListDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            platform::ui::guarded(this, [&] { ListBoxDblClick(); });
            return true;
        }
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::vector<int> EmployeeListDialog::chosenSlots() const {
    std::vector<int> out;
    for (int i = 0; i < ListBox->count(); ++i)
        if (ListBox->item(i)->isSelected())
            out.push_back(ListBox->item(i)->data(kSlotRole).toInt());
    return out;
}

std::vector<std::string> EmployeeListDialog::chosenRows() const {
    std::vector<std::string> out;
    for (int i = 0; i < ListBox->count(); ++i) {
        if (!ListBox->item(i)->isSelected()) continue;
        const QByteArray row = ListBox->item(i)->data(kRowBytesRole).toByteArray();
        out.emplace_back(row.constData(), std::size_t(row.size()));
    }
    return out;
}

}  // namespace ledger::ui
