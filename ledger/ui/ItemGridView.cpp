#include "ledger/ui/ItemGridView.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "ledger/ItemGrid.h"
#include "ledger/Ledger.h"
#include "ledger/MainCommands.h"
#include "ledger/ui/EditHelper.h"
#include "ledger/ui/MessageBoxSink.h"
#include "ledger/ui/SlipItemsDialog.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/Ime.h"

namespace ledger::ui {
namespace {

const QColor kTitleColour(94, 172, 228);
constexpr int kTimer1Ms = 100;
// Where a closed cell draws its text, from the cell's top-left corner.
constexpr int kCellTextLeft = 2;
constexpr int kCellTextTop = 4;
// What a frameless line edit keeps between its edge and its line of text.
constexpr int kLineEditTextLeft = 2;
constexpr int kLineEditTextTop = 1;

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QString trimmedLeft(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    return first == std::string::npos ? QString() : qs(s.substr(first));
}

// A cell's figure without the blanks that right-align it, and how far those
// blanks set it in. The closed cell and its editor both draw the figure from
// there, so opening a cell moves none of its digits, not even by the fraction
// of a pixel the blanks' width would round to.
struct CellFigure {
    QString figure;
    int indent = 0;
};

CellFigure cellFigure(const QFontMetrics& fm, const QString& shown) {
    qsizetype blanks = 0;
    while (blanks < shown.size() && shown.at(blanks) == QLatin1Char(' ')) ++blanks;
    return {shown.mid(blanks), fm.horizontalAdvance(shown.left(blanks))};
}

}  // namespace

// ---------------------------------------------------------------------------

ItemGridModel::ItemGridModel(ledger::Ledger& ledger, QObject* parent)
    : QAbstractTableModel(parent), ledger_(ledger) {}

int ItemGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ledger_.grid.rowCount() - 1;
}

int ItemGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ledger_.grid.columnCount() - 1;
}

QVariant ItemGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const std::string& text = ledger_.grid.cell(index.column() + 1, index.row() + 1);
    if (role == Qt::DisplayRole) return qs(text);
    if (role == Qt::EditRole) return trimmedLeft(text);
    return {};
}

QVariant ItemGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return qs(ledger_.grid.cell(section + 1, 0));
    return qs(ledger_.grid.label(section + 1));
}

Qt::ItemFlags ItemGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (GridCellEditable(ledger_, index.column() + 1, index.row() + 1)) f |= Qt::ItemIsEditable;
    return f;
}

bool ItemGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    const QString typed = value.toString();
    // Leaving the editor untouched keeps the cell as it was shown.
    if (typed == trimmedLeft(ledger_.grid.cell(col, row))) return true;
    ledger_.grid.setCell(col, row, typed.toStdString());
    emit dataChanged(index, index);
    return true;
}

void ItemGridModel::reset() {
    beginResetModel();
    endResetModel();
}

// ---------------------------------------------------------------------------

ItemGridDelegate::ItemGridDelegate(ledger::Ledger& ledger, ItemGridView* view)
    : QStyledItemDelegate(view), ledger_(ledger), view_(view) {}

void ItemGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    const QPalette& pal = option.palette;
    const bool editable = ledger_.grid.editable(row, GridPayType(ledger_, col));
    QColor back;
    QColor text;
    if (option.state & QStyle::State_Selected) {
        back = pal.color(QPalette::Highlight);
        text = pal.color(QPalette::HighlightedText);
    } else if (editable) {
        back = pal.color(QPalette::Base);
        text = pal.color(QPalette::Text);
    } else {
        back = QColor(QRgb(kUnusedItemColour));
    }
    painter->save();
    painter->fillRect(option.rect, back);
    // A cell its employee does not type keeps its value for the calculation but
    // does not show it.
    if (editable) {
        painter->setPen(text);
        painter->setFont(option.font);
        const CellFigure shown =
            cellFigure(QFontMetrics(option.font), index.data(Qt::DisplayRole).toString());
        painter->drawText(
            option.rect.adjusted(kCellTextLeft + shown.indent, kCellTextTop, -kCellTextLeft, 0),
            Qt::AlignLeft | Qt::AlignTop, shown.figure);
    }
    painter->restore();
}

QWidget* ItemGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    const int row = index.row() + 1;
    // The editor opens with its text selected, so keys typed at once replace
    // it: no delayed select-all here. A click beside the figure selects it again.
    EditHelper::attachDigits(edit, 0, ledger_.sysOption, qs(GridExtraKeys(ledger_.grid, row)))
        ->setOvertypes(true)
        ->setClickBesideEnters(true);
    view_->editorCreated(edit);
    return edit;
}

bool ItemGridDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
            !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            // Handled here rather than by the base class, which would close this
            // editor a second time after the move has closed it.
            view_->moveToNextEditableRow();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

void ItemGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* edit = qobject_cast<QLineEdit*>(editor);
    if (!edit) return;
    edit->setText(index.data(Qt::EditRole).toString());
    // The figure stays where the closed cell drew it: a second click aimed at
    // a digit lands on that digit.
    const CellFigure shown =
        cellFigure(edit->fontMetrics(), index.data(Qt::DisplayRole).toString());
    edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    edit->setTextMargins(kCellTextLeft - kLineEditTextLeft + shown.indent,
                         kCellTextTop - kLineEditTextTop, 0, 0);
}

void ItemGridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const {
    // The whole cell, as the closed cell paints it.
    editor->setGeometry(option.rect);
}

// ---------------------------------------------------------------------------

ItemGridView::ItemGridView(ledger::Ledger& ledger, QWidget* parent)
    : QTableView(parent), ledger_(ledger), model_(new ItemGridModel(ledger, this)) {
    setModel(model_);
    setItemDelegate(new ItemGridDelegate(ledger, this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    setFont(QFont(platform::ui::familyFor(QStringLiteral("ＭＳ ゴシック")), 10));

    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setSectionsClickable(false);
        h->setHighlightSections(false);
        h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    horizontalHeader()->setFixedHeight(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setFixedWidth(kColumnWidth);
    // One sheet for the view, which its headers and corner take up: every sheet
    // set on a widget of its own costs a style of its own at start-up.
    setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; "
                                 "color: white; padding-left: 2px; padding-top: 4px; "
                                 "border: 0px; border-right: 1px solid gray; "
                                 "border-bottom: 1px solid gray; } "
                                 "QTableCornerButton::section { background-color: %1; "
                                 "border: 0px; border-right: 1px solid gray; "
                                 "border-bottom: 1px solid gray; }")
                      .arg(kTitleColour.name()));
    setCornerButtonEnabled(false);

    horizontalHeader()->viewport()->setMouseTracking(true);
    horizontalHeader()->viewport()->installEventFilter(this);
    inputMethodOff();
}

void ItemGridView::reset() {
    // The rebuild drops any open editor with the old rows.
    editor_ = nullptr;
    QTableView::reset();
    enteredText_.clear();
}

int ItemGridView::currentCol() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() + 1 : 0;
}

int ItemGridView::currentRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

void ItemGridView::selectCell(int col, int row) {
    const QModelIndex i = model_->index(row - 1, col - 1);
    if (!i.isValid()) return;
    setCurrentIndex(i);
    scrollTo(i);
}

void ItemGridView::editorCreated(QLineEdit* editor) {
    editor_ = editor;
    // The editor's key releases reach the grid's input-method keys.
    editor->installEventFilter(this);
    platform::ui::setImeMode(editor, platform::ui::ImeMode::Off);
}

void ItemGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor == editor_) editor_ = nullptr;
    QTableView::closeEditor(editor, hint);
}

void ItemGridView::StrGridExit() {
    if (editor_) {
        QLineEdit* e = editor_;
        commitData(e);
        closeEditor(e, QAbstractItemDelegate::NoHint);
    }
    const int col = currentCol();
    const int row = currentRow();
    if (col < 1 || row < 1) return;
    MessageBoxSink sink(this);
    CommitGridCell(ledger_, col, row, sink);
    enteredText_ = ledger_.grid.cell(col, row);
    viewport()->update();
}

void ItemGridView::moveToNextEditableRow() {
    const int col = currentCol();
    const int row = currentRow();
    if (col < 1 || row < 1) return;
    const int next = NextEditableRow(ledger_.grid, row, GridPayType(ledger_, col));
    if (next != row) selectCell(col, next);
}

void ItemGridView::leaveCell(int col, int row) {
    MessageBoxSink sink(this);
    if (ledger_.grid.cell(col, row) != enteredText_) CommitGridCell(ledger_, col, row, sink);
    FillPaidLeaveRemainder(ledger_, col, row, sink);
    viewport()->update();
}

void ItemGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // The base class hands the open editor's text to the grid first.
    QTableView::currentChanged(current, previous);
    if (leaving_) return;
    leaving_ = true;
    if (previous.isValid()) leaveCell(previous.column() + 1, previous.row() + 1);
    leaving_ = false;
    if (!current.isValid()) return;
    const int col = current.column() + 1;
    const int row = current.row() + 1;
    enteredText_ = ledger_.grid.cell(col, row);
    inputMethodOff();
    if (ledger_.sysOption.autoSelect && GridCellEditable(ledger_, col, row) &&
        state() != QAbstractItemView::EditingState)
        edit(current);
}

void ItemGridView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        moveToNextEditableRow();
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const int col = currentCol();
        const int row = currentRow();
        if (!GridAcceptsChar(ledger_.grid, row, char32_t(text.at(0).unicode()))) {
            QApplication::beep();
            event->accept();
            return;
        }
        // Typing where nothing may be typed must not jump to a matching cell.
        if (!GridCellEditable(ledger_, col, row)) {
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void ItemGridView::keyReleaseEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Kanji:
        case Qt::Key_Zenkaku_Hankaku:
        case Qt::Key_Zenkaku:
        case Qt::Key_Hankaku:
            // The keys that switch the input method on: switch it off again.
            QTimer::singleShot(kTimer1Ms, this, &ItemGridView::inputMethodOff);
            break;
        default:
            break;
    }
    QTableView::keyReleaseEvent(event);
}

void ItemGridView::inputMethodOff() {
    platform::ui::setImeMode(this, platform::ui::ImeMode::Off);
    if (editor_) platform::ui::setImeMode(editor_, platform::ui::ImeMode::Off);
}

bool ItemGridView::eventFilter(QObject* watched, QEvent* event) {
    if (editor_ && watched == editor_) {
        if (event->type() == QEvent::KeyRelease) keyReleaseEvent(static_cast<QKeyEvent*>(event));
        return false;
    }
    if (watched == horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonRelease) {
            auto* m = static_cast<QMouseEvent*>(event);
            const int section = horizontalHeader()->logicalIndexAt(m->position().toPoint());
            const int col = section < 0 ? 0 : section + 1;
            const bool employee = col > 0 && DetailEntrySlot(ledger_, col) > 0;
            if (event->type() == QEvent::MouseMove) {
                horizontalHeader()->viewport()->setCursor(employee ? Qt::PointingHandCursor
                                                                   : Qt::ArrowCursor);
            } else if (employee && m->button() == Qt::LeftButton) {
                selectCell(col, std::max(currentRow(), 1));
                emit employeeTitleClicked(col);
                return true;
            }
        }
    }
    return QTableView::eventFilter(watched, event);
}

}  // namespace ledger::ui
