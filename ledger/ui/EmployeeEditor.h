#pragma once
#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "ledger/EmployeeEdit.h"
#include "ledger/PayrollRecords.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace ledger {
struct Ledger;
}

// The employee editor ("社員情報の編集"): one employee of the open period, in
// memory only (the period reaches the file through the main window's save).
//
// Use from the employee list:
//   bool stored = fmMembEdit->editSlot(slot);  // an existing employee, 1..80
//   bool stored = fmMembEdit->addNew();         // a new one (a slot must be free)
// Both run the editor modally and return true when OK wrote a record; the slot
// written is then StoredSlot (the user may have moved to another employee with
// 前データ/次データ before OK). Cancel writes nothing.
//
// Tests drive the handlers directly: set EditSlot, call FormShow(), change the
// widgets, call bbOkClick() (result() is then Accepted when stored).
namespace ledger::ui {

class GradeTableDialog;
class NoticeWindow;

class EmployeeEditor : public QDialog {
    Q_OBJECT
public:
    explicit EmployeeEditor(ledger::Ledger& ledger, QWidget* parent = nullptr);

    bool editSlot(int slot);
    bool addNew();
    int StoredSlot = 0;

    // The grade dialog and the notice window of the program (set after creation);
    // the calculator is made per use by this hook (CalculatorDialog unless replaced) and
    // gives its value after OK.
    GradeTableDialog* fmKenhoHyo = nullptr;
    NoticeWindow* fmNotice = nullptr;
    std::function<std::optional<double>(QWidget* owner)> calculator;
    // Runs a modal dialog; tests replace it.
    std::function<bool(QDialog&)> runModal;

    int EditSlot = -1;
    TEmployeeRec EditRec{};
    TEmployeeRec OrigRec{};
    bool GradeAskPending = true;

    // Handlers.
    void FormShow();
    void LoadTemplate();
    void LoadEmployee(int slot);
    void bbOkClick();
    // tag −1 前データ, +1 次データ, 0 only refreshes (no sender).
    void sbBackNextDataClick(int tag);
    void sbNewBaseClick();
    void sbAutoSetClick();
    void sbCalculatorClick();
    void cbKenkouClick();
    void cbKaigoClick();
    void cbNenHokenClick();
    void cbNenKikinClick();
    void cbKeitaiChange();
    void rbFuri_GenClick();
    void cbHideClick();
    void PageCtrlChange();

    // The form's contents as the logic sees them, and back.
    EmployeeForm readForm() const;
    void putForm(const EmployeeForm& form);

    QTabWidget* PageCtrl;
    QLineEdit *edSimei, *edSimeiF, *edMyNo, *edBusyo, *edSyaCod;
    QCheckBox* cbHide;
    QComboBox *cbKubun, *cbKeitai, *cbSyugyo, *cbBirthG;
    QLineEdit *edBirthY, *edBirthM, *edBirthD, *edFuyou, *edSinzoku;
    QRadioButton *rbZeigaku0, *rbZeigaku1, *rbFurikomi, *rbGenkin;
    QWidget* pnBank;  // everything of the bank account, enabled for 振込
    QLineEdit *edKinyu, *edKinyuF, *edSiten, *edSitenF, *edKouzaNo;
    QRadioButton *rbFutuu, *rbTouza, *rbChochi;
    // By EmployeeAmount; named as edChingin1, edJuumin, edKenhoRyo ... (objectName).
    std::array<QLineEdit*, kEmployeeAmounts> edAmount{};
    std::array<QLabel*, kEmployeeAmounts> lbAmount{};
    QCheckBox *cbKoyou, *cbKenkou, *cbKaigo, *cbNenHoken, *cbNenKikin;
    QPushButton *sbBack, *sbNext, *sbNewBase, *sbAutoSet, *sbCalculator, *bbOk, *bbCancel;

    QWidget* LastFocused = nullptr;
    QLineEdit* NumericField = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    int& selectedGrade();
    void focusField(const EmployeeCheck& check);
    void normaliseFocusedField();
    void focusLast();
    void focusChanged(QWidget* now);
    void showNotice(const QString& text);
    QWidget* buildBasicPage();
    QWidget* buildPayPage();
    QLineEdit* amountEdit(EmployeeAmount a, const char* name);

    ledger::Ledger& ledger_;
    int gradeWithoutDialog_ = 0;
};

}  // namespace ledger::ui
