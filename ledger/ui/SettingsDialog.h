#pragma once
#include <QDialog>
#include <array>
#include <filesystem>
#include <functional>

#include "ledger/ConfigCheck.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace ledger {
struct Ledger;
}

// The settings dialog 共通設定画面: the company record of the open period, the
// labels and flags of the user-named items, the labels of the standard items and
// the common behaviour switches.
namespace ledger::ui {

class PasswordDialog;
class HealthRatesDialog;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // Runs FormCreate: the settings are read into the ledger's SysOption now.
    SettingsDialog(ledger::Ledger& ledger, std::filesystem::path iniFile,
                   QWidget* parent = nullptr);

    void FormCreate();
    void FormShow();
    void btSysSaveClick();
    void btCancelClick();
    void btDefault1Click();
    void btDefault2Click();
    void btSetPassClick();
    void btKenRituClick();
    // 一般事業所 (true) or それ以外 chosen.
    void rbBusinessClick(bool general);
    // An attendance label left: its naming rule is checked.
    void attendanceLabelExit(int index);
    void setPage(ConfigPage page);
    ConfigPage page() const;

    // The fields as a form, and back.
    ConfigForm readForm() const;
    void showForm(const ConfigForm& form);

    // The widget of a field (the label fields by index).
    QWidget* fieldWidget(ConfigField field, int index = 0) const;

    // The password and rate dialogs created at program start; made here on first
    // use when none was handed in.
    PasswordDialog* fmSetPass = nullptr;
    HealthRatesDialog* fmKenRitu = nullptr;
    // Runs a dialog modally and tells whether it ended with OK (tests replace it).
    std::function<bool(QDialog&)> runModal;

    std::array<QPushButton*, 4> pageButtons{};
    QStackedWidget* pages = nullptr;
    // 基本情報設定
    QLineEdit* edCorpName = nullptr;
    QLineEdit* edCorpNumber = nullptr;
    QCheckBox* cbHideNumber = nullptr;
    QLineEdit* edPayDay = nullptr;
    QCheckBox* cbNextMonth = nullptr;
    QLineEdit* edHoursPerDay = nullptr;
    QRadioButton* rbGeneral = nullptr;
    QRadioButton* rbOther = nullptr;
    QLineEdit* edEmpIns = nullptr;
    QLineEdit* edHealthIns = nullptr;
    QLineEdit* edCareIns = nullptr;
    QLineEdit* edPension = nullptr;
    QLineEdit* edPensionFund = nullptr;
    QPushButton* btKenRitu = nullptr;
    // 自由項目設定
    std::array<QLineEdit*, 15> edFree{};
    std::array<QCheckBox*, 12> cbKazei{};
    std::array<QCheckBox*, 12> cbSyaho{};
    QLineEdit* edTokuSyoyo = nullptr;
    QPushButton* btDefault1 = nullptr;
    // 項目名称変更
    std::array<QLineEdit*, 15> edAttendance{};
    std::array<QLineEdit*, 11> edPayment{};
    QPushButton* btDefault2 = nullptr;
    // 共通動作設定
    QRadioButton* rbTime10 = nullptr;
    QRadioButton* rbTime60 = nullptr;
    QRadioButton* rbSikUp = nullptr;
    QRadioButton* rbSikHalf = nullptr;
    QRadioButton* rbGenDown = nullptr;
    QRadioButton* rbGenHalf = nullptr;
    QRadioButton* rbKouDown = nullptr;
    QRadioButton* rbKouHalf = nullptr;
    QCheckBox* cbPrnRuikei = nullptr;
    QCheckBox* cbUse2kSatu = nullptr;

    QPushButton* btSetPass = nullptr;
    QPushButton* btSysSave = nullptr;
    QPushButton* btCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    QWidget* makeBasicPage();
    QWidget* makeFreePage();
    QWidget* makeNamesPage();
    QWidget* makeBehaviourPage();
    // Whether the dialog may close without OK.
    bool mayClose();
    void focusField(ConfigField field, int index);

    ledger::Ledger& ledger_;
    std::filesystem::path iniFile_;
    ConfigForm shown_;  // as the dialog was shown: for the rate-change hint
    bool checkingLabel_ = false;
    bool closing_ = false;
};

}  // namespace ledger::ui
