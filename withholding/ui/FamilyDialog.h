#pragma once
#include <QDialog>
#include <array>

#include "withholding/Family.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace ledger {
struct Ledger;
}
namespace platform::ui {
class ImeReading;
}
namespace withholding {
struct WithholdingData;
}

// "配偶者／扶養親族": the spouse, dependants and dependants under 16 of one
// new-layout record, with their individual numbers and the note lines. Every
// way of closing stores the entries; a number that is not twelve digits keeps
// the dialog open and nothing is stored.
namespace withholding::ui {

class FamilyDialog : public QDialog {
    Q_OBJECT
public:
    FamilyDialog(ledger::Ledger& ledger, WithholdingData& data, QWidget* parent = nullptr);

    int FamilySlot = 1;

    void FormShow();
    // Esc, the close box and "戻　る": stores, then closes.
    void reject() override;
    // Stores the controls; false (with the message shown) when a number is refused.
    bool FormClose();
    void cbHideClick();

    // Entry 0 spouse (Hai), 1..4 dependants (Ko1..Ko4), 5..8 under 16 (161..164).
    std::array<QLineEdit*, kFamilyEntries> edName{};
    std::array<QLineEdit*, kFamilyEntries> edFuri{};
    std::array<QLineEdit*, kFamilyEntries> edNumb{};
    std::array<QCheckBox*, kFamilyEntries> cbHiKi{};
    // 0..4 edBikou1_1..5, 5..9 edBikou2_1..5.
    std::array<QLineEdit*, kFamilyNotes> edBikou{};
    QCheckBox* cbHide = nullptr;
    QPushButton* bbCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void nameEdited(int entry);

    ledger::Ledger& ledger_;
    WithholdingData& data_;
    std::array<platform::ui::ImeReading*, kFamilyEntries> reading_{};
    ReadingCapture capture_;
    bool filling_ = false;
};

}  // namespace withholding::ui
