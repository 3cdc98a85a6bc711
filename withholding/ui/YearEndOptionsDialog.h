#pragma once
#include <QDialog>
#include <filesystem>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ledger {
struct Ledger;
}

namespace withholding {
struct YearEndOption;
}

// 動作環境設定: the year-end program's switches. The dialog shows the slip's 種別
// and two printing switches. The postal-code group and the two entry-field
// switches are present and carry their values through unchanged, but are never
// shown: the look-up follows the settings file, and the postal-code update is
// not offered.
namespace withholding::ui {

class YearEndOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Created at program start: reads the switches into option, which the rest
    // of the program reads and which must outlive the dialog. The entry-field
    // switches go to the ledger's settings, which the shared field helper reads.
    YearEndOptionsDialog(YearEndOption& option, ledger::Ledger& ledger,
                         std::filesystem::path iniFile, std::filesystem::path dataPath,
                         QWidget* parent = nullptr);

    // Fills the controls from the switches.
    void FormShow();
    // Writes the six keys and closes with OK; a failed write is reported and
    // neither the file nor the switches change.
    void btSysSaveClick();
    // The date of the postal-code data and whether its box can be ticked.
    void ShowPostalDataDate();

    QLineEdit* edSyubetu;
    QCheckBox* cbPrnLine;
    QCheckBox* cbHasuuCut;
    QCheckBox* cbAutoSel;
    QCheckBox* cbInpOverN;
    QGroupBox* gbYubin;
    QCheckBox* cbAtokDic;
    QCheckBox* cbYubinDat;
    QLabel* lbYubinDat;
    QPushButton* sbUpdate;
    QPushButton* btSysSave;
    QPushButton* btCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    YearEndOption& option_;
    ledger::Ledger& ledger_;
    const std::filesystem::path iniFile_;
    const std::filesystem::path dataPath_;
};

}  // namespace withholding::ui
