#pragma once
#include <QDialog>
#include <filesystem>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The start-up password prompt of both programs.
namespace ledger::ui {

class PasswordPrompt : public QDialog {
    Q_OBJECT
public:
    // Reads the stored password from the settings file: none means the gate is
    // open from the start.
    explicit PasswordPrompt(const std::filesystem::path& iniFile, QWidget* parent = nullptr);

    // True once the right password was typed, or when none is stored.
    bool Passed = false;

    // Shows the prompt modally when a password is stored; true when the program
    // may go on.
    bool gate();

    void btOkClick();
    void btCancelClick();
    void cbShowClick();

    QLineEdit* edPassword;
    QCheckBox* cbShow;
    QPushButton* btOk;
    QPushButton* btCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::string password_;  // decoded
};

// Holds an edit to printable ASCII: the password's stored form stays one line.
void restrictToPasswordCharacters(QLineEdit* edit);
// Hides what is typed as one "*" per character.
void hideAsStars(QLineEdit* edit);

}  // namespace ledger::ui
