#pragma once
#include <QDialog>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/SysOption.h"
#include "withholding/RecordEdit.h"
#include "withholding/YearEndTax.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace ledger {
struct Ledger;
}
namespace ledger::ui {
class NoticeWindow;
}

namespace withholding {
struct WithholdingData;
struct YearEndOption;
}  // namespace withholding

// "源泉徴収データの入力": the editors of one employee's year-end record, one per
// record layout. Both are built from the field tables of RecordEdit.h and share
// every handler; they work on the records in memory (saving is the main window's).
namespace withholding::ui {

class RecordEditor : public QDialog {
    Q_OBJECT
public:
    ~RecordEditor() override;

    // The employee slot shown (1..80); set before showing.
    int EditSlot = 1;

    // Hooks the program sets. The re-totalling of a record from the pay data
    // before the automatic computation (RecalcFromPayroll unless replaced); the
    // address look-up after Enter in the postal code; the main list's selection
    // of a slot after each navigation; running a modal dialog (tests replace it).
    std::function<void(int slot)> recalcFromPayroll;
    std::function<void(QLineEdit* postalCode, QLineEdit* address)> lookupAddress;
    std::function<void(int slot)> selectListSlot;
    std::function<bool(QDialog&)> runModal;
    // The options of the year-end program (HasuuCut); none = the defaults.
    const YearEndOption* yearEndOption = nullptr;

    void FormShow();
    // Esc, the close box and "戻　る": stores, then closes.
    void reject() override;
    // Stores the controls into record EditSlot.
    void storeRecord();
    // Loads record EditSlot into the controls.
    void loadRecord();
    // tag: -1 "前のデータ", +1 "次のデータ".
    void sbBackNextDataClick(int tag);
    void sbManualClick();
    void sbCalculatorClick();
    void btAutoCalcClick();
    // Asks the input method to finish its composition 100 ms from now.
    void startCompletion();

    QWidget* control(std::string_view name) const;
    QLineEdit* edit(std::string_view name) const;
    QCheckBox* checkBox(std::string_view name) const;
    QComboBox* combo(std::string_view name) const;
    // The control's text as the field tables read it.
    std::string controlText(std::string_view name) const;

    QWidget* NumericField = nullptr;
    QLabel* pnSimei = nullptr;
    QLabel* pnBusyo = nullptr;
    QLabel* lbStatus = nullptr;
    QToolButton* sbBackData = nullptr;
    QToolButton* sbNextData = nullptr;
    QToolButton* sbCalculator = nullptr;
    QToolButton* sbManual = nullptr;
    QPushButton* btAutoCalc = nullptr;
    QPushButton* btCancel = nullptr;
    // The fields, scrolling on a screen smaller than the form.
    QScrollArea* formArea_ = nullptr;

protected:
    struct FieldInfo {
        std::string_view name;
        FieldKind kind;
        int maxLength;
    };
    // A row of the form: its label and controls with an optional caption after
    // each; column 0 and 1 side by side, 2 the full width below.
    struct FormRow {
        int column;
        QString label;
        std::vector<std::pair<std::string_view, QString>> controls;
    };

    // The rows both layouts show alike, in groups each layout places among its own.
    static std::vector<FormRow> joinRows(std::initializer_list<std::vector<FormRow>> parts);
    static std::vector<FormRow> payeeRows();  // postal code .. tax collected, column 0
    // The row of one of the shared single amounts (spouse special deduction,
    // social insurance, spouse's income, old long-term insurance).
    static FormRow amountRow(std::string_view name, int column);
    static std::vector<FormRow> dependantRows(int column);  // dependants and the disabled
    static std::vector<FormRow> deductionRows();            // life, earthquake, housing loan
    static std::vector<FormRow> remarkRows(int lines);
    static std::vector<FormRow> premiumRows();  // the insurance premiums paid
    static std::vector<FormRow> personRows();   // the payee's flags, job dates, birth date

    RecordEditor(ledger::Ledger& ledger, WithholdingData& data, QWidget* parent);
    // Builds the controls; derived constructors call it once.
    void build(const std::vector<FormRow>& rows);

    virtual std::vector<FieldInfo> fields() const = 0;
    virtual std::string showField(int index) const = 0;
    virtual void storeField(int index, std::string_view text) = 0;
    virtual bool manualFlag(int k) const = 0;  // k = 1..7
    virtual void setManualFlag(int k, bool on) = 0;
    virtual bool otsu() const = 0;
    // The automatic computation of record EditSlot; the refusal's text when the
    // open year is not computed.
    virtual std::optional<std::string> computeRecord(const YearEndContext& context) = 0;
    virtual int status() const = 0;
    // Items of a list control.
    virtual QStringList listItems(std::string_view name) const;
    virtual void extraButtonClick(std::string_view) {}

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    ledger::Ledger& ledger_;
    WithholdingData& data_;

private:
    QWidget* makeControl(const FieldInfo& f);
    void setControlText(QWidget* w, FieldKind kind, const std::string& text);
    void applyManualState(QLineEdit* e, bool on);
    void inputItemEnter(QWidget* w);
    void leaveField(QWidget* w);
    void dateLeave(QLineEdit* e);
    QString countReformat(QLineEdit* e, const std::string& normalised);
    void syuTaisyokuClick(QCheckBox* clicked);
    void exclusiveClick(QCheckBox* clicked, const std::vector<std::string_view>& group);
    void updateNavigation();
    void selectAllLater(QLineEdit* e);
    int tagOf(QWidget* w) const;

    std::vector<FieldInfo> fields_;
    std::map<std::string, QWidget*, std::less<>> controls_;
    std::map<QWidget*, int> index_;
    std::vector<std::string> loaded_;     // each field's text as loaded
    ledger::SysOption autoFieldOptions_;  // for the auto fields: no select-all of their own
    bool loading_ = false;
    bool storing_ = false;
    bool autoCalcWarned_ = false;  // the warning before the first computation of a run
    ledger::ui::NoticeWindow* notice_ = nullptr;
    QWidget* form_ = nullptr;  // the fields, inside formArea_
};

}  // namespace withholding::ui
