#include "ledger/ui/SlipItemsDialog.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <functional>

#include "ledger/ItemLabel.h"
#include "ledger/Ledger.h"
#include "ledger/ui/DialogFont.h"
#include "platform/IniFile.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
namespace {

constexpr int kRowHeight = 19;

QColor rgb(unsigned v) {
    return QColor(int(v >> 16) & 0xFF, int(v >> 8) & 0xFF, int(v) & 0xFF);
}

// A two-column item list: a narrow handle to drag the row by, and the name. A
// name selected by the mouse or by moving with the keyboard is reported; the
// handle column never takes the selection.
class ItemListGrid : public QTableWidget {
public:
    ItemListGrid(int rows, QWidget* parent) : QTableWidget(rows, 2, parent) {
        horizontalHeader()->hide();
        verticalHeader()->hide();
        horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
        horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
        setColumnWidth(0, 14);
        verticalHeader()->setMinimumSectionSize(kRowHeight);
        verticalHeader()->setDefaultSectionSize(kRowHeight);
        setSelectionMode(QAbstractItemView::NoSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setShowGrid(true);
        setFixedHeight(rows * kRowHeight + 2 * frameWidth() + 1);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < 2; ++c) {
                auto* item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled);
                setItem(r, c, item);
            }
    }

    std::function<void(int row)> onSelect;
    std::function<void(int from, int to)> onMove;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        QModelIndex index = indexAt(e->position().toPoint());
        if (!index.isValid() || e->button() != Qt::LeftButton) return;
        setFocus();
        if (index.column() == 0) {
            dragFrom_ = index.row();
            viewport()->setCursor(Qt::ClosedHandCursor);
            return;
        }
        setCurrentCell(index.row(), 1);
        if (onSelect) onSelect(index.row());
    }

    void mouseMoveEvent(QMouseEvent*) override {}

    void mouseReleaseEvent(QMouseEvent* e) override {
        if (dragFrom_ < 0) return;
        viewport()->unsetCursor();
        int to = rowAt(int(e->position().y()));
        if (to < 0) to = e->position().y() < 0 ? 0 : rowCount() - 1;
        int from = dragFrom_;
        dragFrom_ = -1;
        if (to != from && onMove) onMove(from, to);
    }

    void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }

    void keyPressEvent(QKeyEvent* e) override {
        switch (e->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Home:
            case Qt::Key_End:
                break;
            default:
                QWidget::keyPressEvent(e);
                return;  // Tab and the rest go to the dialog
        }
        int before = currentRow();
        QTableWidget::keyPressEvent(e);
        int after = currentRow();
        if (currentColumn() != 1) setCurrentCell(after, 1);
        if (after != before && after >= 0 && onSelect) onSelect(after);
    }

private:
    int dragFrom_ = -1;
};

QFrame* swatch(unsigned colour, QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setFixedSize(28, 16);
    f->setFrameShape(QFrame::Box);
    f->setAutoFillBackground(true);
    QPalette p = f->palette();
    p.setColor(QPalette::Window, rgb(colour));
    f->setPalette(p);
    return f;
}

}  // namespace

SlipItemsDialog::SlipItemsDialog(ledger::SlipKind kind, ledger::Ledger& ledger,
                                 std::filesystem::path iniFile, QWidget* parent)
    : QDialog(parent), kind_(kind), ledger_(ledger), iniFile_(std::move(iniFile)) {
    const bool salary = kind == SlipKind::Salary;
    setWindowTitle(salary ? QStringLiteral("給与明細書印刷項目の設定")
                          : QStringLiteral("賞与明細書印刷項目の設定"));
    setFont(dialogFont());

    auto* tabs = new QHBoxLayout;
    tabs->setSpacing(2);
    auto* tabGroup = new QButtonGroup(this);
    const QString names[3] = {QStringLiteral("月 給"), QStringLiteral("日 給"),
                              QStringLiteral("時間給")};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(names[i], this);
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumWidth(80);
        tabGroup->addButton(b, i + 1);
        tabs->addWidget(b);
        pageButtons[std::size_t(i)] = b;
    }
    tabs->addStretch();
    connect(tabGroup, &QButtonGroup::idClicked, this, &SlipItemsDialog::PageControlChange);

    auto* lists = new QHBoxLayout;
    lists->setSpacing(10);
    const QString titles[4] = {QStringLiteral("勤怠項目"), QStringLiteral("支給項目"),
                               QStringLiteral("控除項目"), QStringLiteral("その他")};
    for (int g = salary ? 0 : 1; g < 4; ++g) {
        auto group = static_cast<ItemGroup>(g);
        auto* grid = new ItemListGrid(SlotCount(group), this);
        grid->setFixedWidth(160);
        grid->onSelect = [this, group](int row) { sgSelectCell(group, row); };
        grid->onMove = [this, group](int from, int to) { sgRowMoved(group, from, to); };
        grids_[std::size_t(g)] = grid;
        auto* column = new QVBoxLayout;
        column->setSpacing(2);
        column->addWidget(new QLabel(titles[g], this));
        column->addWidget(grid);
        column->addStretch();
        lists->addLayout(column);
    }
    lists->addStretch();

    auto* legend = new QGridLayout;
    legend->addWidget(swatch(kUnusedItemColour, this), 0, 0);
    legend->addWidget(new QLabel(QStringLiteral("未使用項目(項目名をクリックで切替)"), this), 0, 1);
    legend->addWidget(swatch(kHandleColour, this), 1, 0);
    legend->addWidget(new QLabel(salary ? QStringLiteral("をドラッグすると項目位置の入替")
                                        : QStringLiteral("をドラッグで項目位置入替"),
                                 this),
                      1, 1);

    btDefault = new QPushButton(QStringLiteral("初期状態に戻す"), this);
    bbOk = new QPushButton(QStringLiteral("OK"), this);
    bbCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    for (QPushButton* b : {btDefault, bbOk, bbCancel}) b->setAutoDefault(false);
    connect(btDefault, &QPushButton::clicked, this, &SlipItemsDialog::btDefaultClick);
    connect(bbOk, &QPushButton::clicked, this, &SlipItemsDialog::bbOkClick);
    connect(bbCancel, &QPushButton::clicked, this, &SlipItemsDialog::bbCancelClick);

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(legend);
    bottom->addStretch();
    bottom->addWidget(btDefault, 0, Qt::AlignBottom);
    bottom->addSpacing(16);
    bottom->addWidget(bbOk, 0, Qt::AlignBottom);
    bottom->addWidget(bbCancel, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tabs);
    layout->addLayout(lists);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    pageButtons[0]->setChecked(true);
}

void SlipItemsDialog::LoadItems(bool build) {
    platform::ui::guarded(this, [&] {
        LoadItemTables(platform::IniFile(iniFile_), kind_, ledger_.itemTables, ledger_.sysOption);
        if (build) ledger_.PrnLayout = BuildPrnLayout(ledger_.itemTables, kind_);
    });
}

void SlipItemsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void SlipItemsDialog::FormShow() {
    LoadItems(false);
    PageControlChange(1);
    QTableWidget* first =
        grid(kind_ == SlipKind::Salary ? ItemGroup::Attendance : ItemGroup::Payment);
    first->setFocus();
}

void SlipItemsDialog::PageControlChange(int payType) {
    if (payType < 1 || payType > kPayTypes) return;
    payType_ = payType;
    pageButtons[std::size_t(payType - 1)]->setChecked(true);
    refreshGrids();
}

void SlipItemsDialog::refreshGrid(ItemGroup group) {
    QTableWidget* g = grid(group);
    if (!g) return;
    auto items = ledger_.itemTables.items(group);
    const QColor handle = rgb(kHandleColour);
    for (int r = 0; r < g->rowCount() && r < int(items.size()); ++r) {
        const TEditItems& e = items[std::size_t(r)];
        QTableWidgetItem* h = g->item(r, 0);
        h->setBackground(handle);
        h->setForeground(Qt::white);
        QTableWidgetItem* name = g->item(r, 1);
        name->setText(QString::fromStdString(ItemLabel(e.Code, ledger_.sysOption)).mid(1));
        bool used = e.Use[std::size_t(payType_)];
        name->setBackground(used ? palette().brush(QPalette::Base)
                                 : QBrush(rgb(kUnusedItemColour)));
        name->setForeground(used ? palette().brush(QPalette::Text) : QBrush(rgb(kUnusedItemText)));
    }
}

void SlipItemsDialog::refreshGrids() {
    for (int g = 0; g < 4; ++g) refreshGrid(static_cast<ItemGroup>(g));
}

void SlipItemsDialog::sgSelectCell(ItemGroup group, int row) {
    ToggleItemUse(ledger_.itemTables, group, row, payType_);
    refreshGrid(group);
}

void SlipItemsDialog::sgRowMoved(ItemGroup group, int from, int to) {
    MoveItemEntry(ledger_.itemTables, group, from, to);
    refreshGrid(group);
    if (QTableWidget* g = grid(group)) g->setCurrentCell(to, 1);
}

void SlipItemsDialog::btDefaultClick() {
    if (!platform::ui::MessageBox::confirm(
            this, QStringLiteral("項目使用有無と順序の変更を初期状態に戻します。")))
        return;
    ResetItemTables(ledger_.itemTables, kind_);
    refreshGrids();
}

void SlipItemsDialog::bbOkClick() {
    if (!platform::ui::guarded(this, [&] {
            platform::IniFile ini(iniFile_);
            SaveItemTables(ini, kind_, ledger_.itemTables, ledger_.sysOption);
        }))
        return;
    ledger_.PrnLayout = BuildPrnLayout(ledger_.itemTables, kind_);
    accept();
}

void SlipItemsDialog::bbCancelClick() {
    reject();
}

void SlipItemsDialog::reject() {
    // The working tables go back to the saved settings PrnLayout was built from,
    // so the calculation and the slips never follow abandoned edits.
    LoadItems(false);
    QDialog::reject();
}

}  // namespace ledger::ui
