#include "withholding/ui/LoadNoticeDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "withholding/ui/ScreenFit.h"

namespace withholding::ui {

namespace {

// The system's texts break their lines with a lone CR, which a label does not.
QString shown(const std::string& text) {
    QString s = QString::fromStdString(text);
    while (s.startsWith(QChar('\r'))) s.remove(0, 1);
    return s.replace(QChar('\r'), QChar('\n'));
}

// A scroll area that asks no more room than two lines: a short notice, which
// never scrolls, is followed directly by its kept lines rather than by the
// height of a scroll bar it does not show.
class ShortScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize minimumSizeHint() const override {
        return {QScrollArea::minimumSizeHint().width(), 2 * fontMetrics().lineSpacing()};
    }
};

}  // namespace

LoadNoticeDialog::LoadNoticeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("LoadNotice"));
    setWindowTitle(QApplication::applicationDisplayName());
    setModal(true);

    auto* icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(side, side));
    icon->setAlignment(Qt::AlignTop);

    lbMessage = new QLabel;
    lbMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    messageArea = new ShortScrollArea(this);
    messageArea->setWidget(lbMessage);
    messageArea->setWidgetResizable(true);
    messageArea->setFrameShape(QFrame::NoFrame);

    lbKept = new QLabel(this);
    lbKept->setTextInteractionFlags(Qt::TextSelectableByMouse);

    btOk = new QPushButton(QStringLiteral("OK"), this);
    btOk->setDefault(true);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(messageArea, 1);
    text->addWidget(lbKept);
    auto* body = new QHBoxLayout;
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOk);
    buttons->addStretch();
    auto* top = new QVBoxLayout(this);
    top->addLayout(body, 1);
    top->addLayout(buttons);
}

void LoadNoticeDialog::setNotice(const std::string& text, const std::string& kept) {
    const std::size_t keptAt = !kept.empty() && text.size() >= kept.size() && text.ends_with(kept)
                                   ? text.size() - kept.size()
                                   : text.size();
    lbMessage->setText(shown(text.substr(0, keptAt)));
    lbKept->setText(shown(text.substr(keptAt)));
    lbKept->setVisible(keptAt < text.size());
}

void LoadNoticeDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FitToScreen(*this, UnscrolledSize(*this, *messageArea));
    btOk->setFocus();
    QDialog::showEvent(event);
}

}  // namespace withholding::ui
