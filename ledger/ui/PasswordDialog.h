#pragma once
#include <QDialog>
#include <filesystem>

class QLineEdit;
class QPushButton;

// Sets or removes the start-up password; it takes effect at the next start of
// either program.
namespace ledger::ui {

class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit PasswordDialog(std::filesystem::path iniFile, QWidget* parent = nullptr);

    void FormShow();
    void btSetPassClick();

    QLineEdit* edPass1;
    QLineEdit* edPass2;
    QPushButton* btSetPass;
    QPushButton* btCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::filesystem::path iniFile_;
};

}  // namespace ledger::ui
