#pragma once
#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "ledger/DataEntry.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace ledger {
struct Ledger;
class SavedBlockReader;
}  // namespace ledger

// The detail entry "詳細入力画面": every slip item of one employee of the open
// period, typed amounts over computed ones (修正ON/OFF), the memo, the
// calculator, and stepping to the previous or next active employee. Each field
// left is stored into the period in memory and the employee recalculated at
// once; nothing is written to the file here.
//
// The main window calls, after RecalcAll:
//
//     forms.fmDataEdit->showFor(slot);   // modal; returns when closed
//
// and then shows its grid again: the records of every employee visited and
// their columns of ledger.grid already hold what was typed here.
namespace ledger::ui {

class EditHelper;

class DetailEntryDialog : public QDialog {
    Q_OBJECT
public:
    explicit DetailEntryDialog(ledger::Ledger& ledger, QWidget* parent = nullptr);

    // Shows the employee of a slot (1..80) modally.
    void showFor(int slot);
    // The slot shown.
    int slot() const { return slot_; }
    void setSlot(int slot) { slot_ = slot; }

    // Fills the dialog from the period in memory / writes it back (false when a
    // figure could not be read; the box was shown).
    void ShowDetail();
    bool StoreDetail();
    // Runs when the dialog is shown (tag 0) and for the step buttons (−1, +1).
    void sbBackNextDataClick(int tag);
    void InputItemEnter(QLineEdit* edit);
    void InputItemExit(QLineEdit* edit);
    void sbManualClick();
    // Stores, recalculates and shows the employee again.
    void sbCalcClick();
    void sbCalculatorClick();
    void mmBikouChange();
    // Whether the dialog may close; it is stored either way.
    bool FormCloseQuery();

    // Opens the calculator and gives its value, or nothing on cancel; tests
    // replace it.
    std::function<std::optional<double>()> openCalculator;
    // Where stored periods are read (the previous period's paid leave, the
    // bonus's previous salary); tests replace it.
    const ledger::SavedBlockReader* reader;

    // [group][layout slot]
    std::array<std::vector<QLabel*>, ledger::kEntryGroups> labels;
    std::array<std::vector<QLineEdit*>, ledger::kEntryGroups> edits;
    QLineEdit* edit(ledger::ItemGroup group, int position) const {
        return edits[std::size_t(group)][std::size_t(position)];
    }
    // The edit showing a label, or nullptr.
    QLineEdit* editOf(ledger::ItemGroup group, const std::string& label) const;
    QLineEdit* currentEdit() const { return current_; }

    QLabel* lbSimei = nullptr;
    QLabel* pnSikyuTotal = nullptr;
    QLabel* pnKoujoTotal = nullptr;
    QLabel* pnSonotaTotal = nullptr;
    QLabel* pnSikyugaku = nullptr;
    QLabel* pnAutoSet = nullptr;
    QPlainTextEdit* mmBikou = nullptr;
    QToolButton* sbBackData = nullptr;
    QToolButton* sbNextData = nullptr;
    QToolButton* sbManual = nullptr;
    QToolButton* sbCalculator = nullptr;
    QPushButton* btFormClose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    struct Place {
        ledger::ItemGroup group;
        int position;
    };
    std::optional<Place> placeOf(const QObject* edit) const;
    const ledger::EntryView* entryOf(const QLineEdit* edit) const;
    void applyEntry(QLineEdit* edit, const ledger::EntryView& entry);
    void normaliseCurrent();
    void updateButtons();
    void askForTypedTax();

    ledger::Ledger& ledger_;
    int slot_ = 1;
    ledger::DetailView view_;
    // The helper of each edit and the format it was made for.
    std::array<std::vector<EditHelper*>, ledger::kEntryGroups> helpers_;
    std::array<std::vector<int>, ledger::kEntryGroups> helperFormats_;
    QLineEdit* current_ = nullptr;
    bool showing_ = false;  // refilling: the exit handling waits
    bool memoBusy_ = false;
    QString memoAccepted_;
};

}  // namespace ledger::ui
