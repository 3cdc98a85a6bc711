#include "ledger/ui/AboutBox.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

#include "ledger/ui/DialogFont.h"
#include "platform/ui/Fonts.h"

namespace ledger::ui {
namespace {

// A widget that paints through a function.
class PaintedBox : public QWidget {
public:
    PaintedBox(QWidget* parent, std::function<void(QPainter&)> paint)
        : QWidget(parent), paint_(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        paint_(p);
    }

private:
    std::function<void(QPainter&)> paint_;
};

QFont gothic(int pointSize, bool proportional, bool bold) {
    QFont f(platform::ui::familyFor(proportional ? QStringLiteral("ＭＳ Ｐゴシック")
                                                 : QStringLiteral("ＭＳ ゴシック")),
            pointSize);
    f.setBold(bold);
    return f;
}

const char* const kSeller = "発売元　Pembrel";
const char* const kDeveloper = "開発元　Tolvane development";

}  // namespace

int AboutBox::FittedPointSize(const std::function<int(int)>& widthAt) {
    int size = 12;
    for (int tries = 0; tries < 100 && size > 1 && widthAt(size) > 96; ++tries) --size;
    return size;
}

AboutBox::AboutBox(const QString& versionText, QWidget* parent, const QString& programName)
    : QDialog(parent), versionText_(versionText), programName_(programName) {
    setObjectName(QStringLiteral("fmVersion"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFont(dialogFont());
    pointSize_ = FittedPointSize([this](int size) {
        return QFontMetrics(gothic(size, false, false), this)
            .horizontalAdvance(QStringLiteral("Version 0.00"));
    });

    auto* picture = new PaintedBox(this, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(0, 0, 64, 64);
        g.setColorAt(0, QColor(40, 90, 200));
        g.setColorAt(1, QColor(10, 30, 110));
        p.setBrush(g);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRect(0, 0, 64, 64), 10, 10);
        p.setPen(Qt::white);
        p.setFont(gothic(20, true, true));
        p.drawText(QRect(0, 0, 64, 64), Qt::AlignCenter, QStringLiteral("給"));
    });
    picture->setFixedSize(64, 64);

    pbVersion = new PaintedBox(this, [this](QPainter& p) {
        p.setPen(Qt::black);
        p.setFont(gothic(pointSize_, true, true));
        p.drawText(QRect(0, 0, pbVersion->width(), pbVersion->height()),
                   Qt::AlignLeft | Qt::AlignVCenter, versionLine());
    });
    pbLicense = new PaintedBox(this, [this](QPainter& p) {
        p.setPen(Qt::black);
        p.setFont(gothic(pointSize_, false, true));
        const int h = QFontMetrics(p.font()).height();
        p.drawText(QRect(0, 0, pbLicense->width(), h), Qt::AlignLeft, QString::fromUtf8(kSeller));
        p.drawText(QRect(0, 25, pbLicense->width(), h), Qt::AlignLeft,
                   QString::fromUtf8(kDeveloper));
    });
    const QFontMetrics bold(gothic(pointSize_, false, true), this);
    const int textWidth = std::max(
        {bold.horizontalAdvance(QString::fromUtf8(kSeller)),
         bold.horizontalAdvance(QString::fromUtf8(kDeveloper)),
         QFontMetrics(gothic(pointSize_, true, true), this).horizontalAdvance(versionLine())});
    pbVersion->setFixedSize(textWidth + 8, bold.height() + 8);
    pbLicense->setFixedSize(textWidth + 8, 25 + bold.height() + 2);

    auto* text = new QVBoxLayout;
    if (!programName_.isEmpty()) {
        const QFont nameFont = gothic(16, true, true);
        PaintBox = new PaintedBox(this, [this, nameFont](QPainter& p) {
            p.setPen(Qt::black);
            p.setFont(nameFont);
            p.drawText(QRect(0, 0, PaintBox->width(), PaintBox->height()),
                       Qt::AlignLeft | Qt::AlignTop, programName_);
        });
        const QFontMetrics name(nameFont, this);
        PaintBox->setFixedSize(name.horizontalAdvance(programName_) + 8, name.height() + 4);
        text->addWidget(PaintBox);
    }
    text->addWidget(pbVersion);
    text->addSpacing(8);
    text->addWidget(pbLicense);
    text->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 16, 20, 16);
    layout->setSpacing(16);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addLayout(text);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace ledger::ui
