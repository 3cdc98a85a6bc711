#include "ledger/ui/NoticeWindow.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ledger/ui/DialogFont.h"

namespace ledger::ui {

NoticeWindow::NoticeWindow(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("fmNotice"));
    setFixedSize(kWidth, kHeight);
    pnMessage = new QLabel(this);
    pnMessage->setAlignment(Qt::AlignCenter);
    pnMessage->setFont(dialogFont());
    pnMessage->setAutoFillBackground(true);
    QPalette pal = pnMessage->palette();
    pal.setColor(QPalette::Window, Qt::blue);
    pal.setColor(QPalette::WindowText, Qt::yellow);
    pnMessage->setPalette(pal);
    pnMessage->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pnMessage);

    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &QDialog::accept);
}

void NoticeWindow::setMessage(const QString& text) {
    pnMessage->setText(text);
}

void NoticeWindow::showEvent(QShowEvent* event) {
    if (QWidget* owner = parentWidget()) {
        const QRect o = owner->frameGeometry();
        move(o.left() + (o.width() - width()) / 2, o.top() + (o.height() - height()) / 2);
    }
    QDialog::showEvent(event);
    timer_.start(durationMs);
}

}  // namespace ledger::ui
