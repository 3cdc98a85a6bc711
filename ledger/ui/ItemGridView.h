#pragma once
#include <QAbstractTableModel>
#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

namespace ledger {
struct Ledger;
}

// The main window's item grid: a view of the ledger's ItemGrid (row 0 and column
// 0 of the model are the two headers), with the grid's colours, its key rules,
// the commit of a cell when it is left and the paid-leave remainder.
namespace ledger::ui {

// Adapts ledger.grid; model row r / column c is grid row r + 1 / column c + 1.
class ItemGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ItemGridModel(ledger::Ledger& ledger, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The grid was rebuilt.
    void reset();

private:
    ledger::Ledger& ledger_;
};

class ItemGridView;

// Paints the cells in the grid's colours and edits them in a line edit with the
// row's keys.
class ItemGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ItemGridDelegate(ledger::Ledger& ledger, ItemGridView* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    // Enter in the editor moves down the grid; the move commits and closes the
    // editor through the view.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ledger::Ledger& ledger_;
    ItemGridView* view_;
};

class ItemGridView : public QTableView {
    Q_OBJECT
public:
    static constexpr int kColumnWidth = 100;
    static constexpr int kRowHeight = 24;

    explicit ItemGridView(ledger::Ledger& ledger, QWidget* parent = nullptr);

    // Shows ledger.grid anew after it was rebuilt.
    void rebuild() { model_->reset(); }
    void reset() override;
    // The current cell in grid coordinates (0 when none).
    int currentCol() const;
    int currentRow() const;
    // Makes a cell (grid coordinates) the current one.
    void selectCell(int col, int row);
    // The cell being edited goes to the grid and is normalised.
    void StrGridExit();
    // Enter: down to the next row typed for the column's pay type.
    void moveToNextEditableRow();
    // The input method of the grid and its editor is switched off.
    void inputMethodOff();
    // The editor open now, if any.
    QLineEdit* editor() const { return editor_; }
    ItemGridModel* gridModel() const { return model_; }

signals:
    // The title of an employee column was clicked (grid column).
    void employeeTitleClicked(int col);

protected slots:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class ItemGridDelegate;
    void editorCreated(QLineEdit* editor);
    void leaveCell(int col, int row);

    ledger::Ledger& ledger_;
    ItemGridModel* model_;
    QPointer<QLineEdit> editor_;
    std::string enteredText_;  // the current cell's text when it was entered
    bool leaving_ = false;
};

}  // namespace ledger::ui
