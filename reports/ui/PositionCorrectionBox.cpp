#include "reports/ui/PositionCorrectionBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "platform/ui/MessageBox.h"
#include "reports/PrintJob.h"

namespace reports::ui {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), int(s.size()));
}
std::string str(const QString& s) {
    return s.toStdString();
}

QToolButton* posButton(const QString& text, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setMinimumWidth(26);
    return b;
}

}  // namespace

PositionCorrectionBox::PositionCorrectionBox(QWidget* parent)
    : QGroupBox(QStringLiteral("印刷位置補正"), parent) {
    edPrAdjustV = new QLineEdit(this);
    edPrAdjustH = new QLineEdit(this);
    for (QLineEdit* e : {edPrAdjustV, edPrAdjustH}) {
        e->setMaxLength(5);
        e->setFixedWidth(48);
        e->setAlignment(Qt::AlignRight);
    }
    sbPosUp = posButton(QStringLiteral("↑"), this);
    sbPosDown = posButton(QStringLiteral("↓"), this);
    sbPosLeft = posButton(QStringLiteral("←"), this);
    sbPosRight = posButton(QStringLiteral("→"), this);
    sbPosReset = posButton(QStringLiteral("ﾘｾｯﾄ"), this);
    auto* al = new QGridLayout(this);
    al->addWidget(new QLabel(QStringLiteral("縦位置"), this), 0, 0);
    al->addWidget(edPrAdjustV, 0, 1);
    al->addWidget(new QLabel(QStringLiteral("mm"), this), 0, 2);
    al->addWidget(sbPosUp, 0, 3);
    al->addWidget(sbPosDown, 0, 4);
    al->addWidget(new QLabel(QStringLiteral("横位置"), this), 1, 0);
    al->addWidget(edPrAdjustH, 1, 1);
    al->addWidget(new QLabel(QStringLiteral("mm"), this), 1, 2);
    al->addWidget(sbPosLeft, 1, 3);
    al->addWidget(sbPosRight, 1, 4);
    al->addWidget(sbPosReset, 0, 5, 2, 1);
    sbPosReset->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);

    for (QToolButton* b : {sbPosUp, sbPosDown, sbPosLeft, sbPosRight, sbPosReset})
        connect(b, &QToolButton::clicked, this, [this, b] { sbPosClick(b); });
    connect(edPrAdjustV, &QLineEdit::editingFinished, this,
            [this] { edPrAdjustExit(edPrAdjustV); });
    connect(edPrAdjustH, &QLineEdit::editingFinished, this,
            [this] { edPrAdjustExit(edPrAdjustH); });
}

void PositionCorrectionBox::showCorrections(double horizontal, double vertical) {
    edPrAdjustH->setText(qs(AdjustText(horizontal)));
    edPrAdjustV->setText(qs(AdjustText(vertical)));
}

bool PositionCorrectionBox::takeCorrections(double& horizontal, double& vertical) {
    for (QLineEdit* edit : {edPrAdjustH, edPrAdjustV}) {
        if (!ParseAdjust(str(edit->text()))) {
            platform::ui::MessageBox::error(window(), qs(kBadAdjustMessage));
            edit->setFocus();
            edit->selectAll();
            return false;
        }
    }
    horizontal = *ParseAdjust(str(edPrAdjustH->text()));
    vertical = *ParseAdjust(str(edPrAdjustV->text()));
    return true;
}

void PositionCorrectionBox::sbPosClick(QObject* sender) {
    if (sender == sbPosReset) {
        showCorrections(0, 0);
        return;
    }
    const bool vertical = sender == sbPosUp || sender == sbPosDown;
    QLineEdit* edit = vertical ? edPrAdjustV : edPrAdjustH;
    const auto value = ParseAdjust(str(edit->text()));
    if (!value) {
        platform::ui::MessageBox::error(window(), qs(kBadAdjustMessage));
        edit->setFocus();
        return;
    }
    const double step = sender == sbPosUp || sender == sbPosLeft ? -0.1 : 0.1;
    // Through the shown text, so that repeated steps never gather float noise; a
    // step past the field's range leaves the value at its edge.
    if (const auto stepped = ParseAdjust(AdjustText(*value + step)))
        edit->setText(qs(AdjustText(*stepped)));
}

void PositionCorrectionBox::edPrAdjustExit(QLineEdit* edit) {
    const auto value = ParseAdjust(str(edit->text()));
    if (!value) {
        // Left as typed: preview and print refuse it with the same message.
        platform::ui::MessageBox::error(window(), qs(kBadAdjustMessage));
        return;
    }
    edit->setText(qs(AdjustText(*value)));
}

}  // namespace reports::ui
