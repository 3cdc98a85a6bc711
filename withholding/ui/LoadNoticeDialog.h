#pragma once
#include <QDialog>
#include <string>

class QLabel;
class QPushButton;
class QScrollArea;

// What loading the year has to tell the user (records attached to their
// employees again, a carry-over that could not be made), in a box that fits the
// screen however many employees it names: the list scrolls, while the lines
// that say which records the save will delete and the OK button stay in view.
namespace withholding::ui {

class LoadNoticeDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoadNoticeDialog(QWidget* parent);

    // text: the whole notice (lines broken by CR); kept: its end that must stay
    // in view, empty for none.
    void setNotice(const std::string& text, const std::string& kept);

    QLabel* lbMessage = nullptr;  // the notice up to its kept end, scrolling
    QLabel* lbKept = nullptr;     // the kept end
    QScrollArea* messageArea = nullptr;
    QPushButton* btOk = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace withholding::ui
