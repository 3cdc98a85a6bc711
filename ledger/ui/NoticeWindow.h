#pragma once
#include <QDialog>
#include <QTimer>

class QLabel;

// The short notice shown modally after saving; it closes itself.
namespace ledger::ui {

class NoticeWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 256;
    static constexpr int kHeight = 28;

    explicit NoticeWindow(QWidget* owner = nullptr);

    void setMessage(const QString& text);
    // How long the notice stays; tests shorten it.
    int durationMs = 1500;

    QLabel* pnMessage;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTimer timer_;
};

}  // namespace ledger::ui
