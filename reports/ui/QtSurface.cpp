#include "reports/ui/QtSurface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "platform/ui/Fonts.h"

namespace reports::ui {
namespace {

bool sameFont(const DeviceFont& a, const DeviceFont& b) {
    return a.name == b.name && a.height == b.height && a.width == b.width && a.bold == b.bold &&
           a.italic == b.italic;
}

QRect normalised(int x1, int y1, int x2, int y2) {
    // Like the printers' fill, the right and bottom edges are outside.
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                 QSize(std::abs(x2 - x1), std::abs(y2 - y1)));
}

}  // namespace

QtSurface::QtSurface(QPainter& painter) : painter_(painter) {}

QFont QtSurface::qfont(const DeviceFont& font) {
    if (haveFont_ && sameFont(font, lastFont_)) return lastQFont_;
    QFont f(platform::ui::familyFor(QString::fromStdString(font.name)));
    f.setPixelSize(std::max(1, font.height));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    QFontMetricsF fm(f, painter_.device());
    qreal cell = fm.ascent() + fm.descent();
    // A face whose ascent and descent exceed its em would stand taller than the
    // cell the documents were laid out for.
    if (cell > font.height * 1.02) {
        f.setPixelSize(std::max(1, int(font.height * font.height / cell)));
        fm = QFontMetricsF(f, painter_.device());
    }
    lastFont_ = font;
    lastQFont_ = f;
    lastAscent_ = fm.ascent();
    haveFont_ = true;
    return f;
}

void QtSurface::drawChar(std::string_view utf8Char, int x, int y, const DeviceFont& font) {
    QFont f = qfont(font);
    QString ch = QString::fromUtf8(utf8Char.data(), qsizetype(utf8Char.size()));
    painter_.save();
    painter_.setFont(f);
    painter_.setPen(ink_);
    painter_.translate(x, y + lastAscent_);
    if (font.width > 0 && font.height > 0) painter_.scale(font.width / (font.height / 2.0), 1);
    painter_.drawText(QPointF(0, 0), ch);
    painter_.restore();
}

void QtSurface::drawLine(int x1, int y1, int x2, int y2, int penWidth) {
    painter_.save();
    painter_.setPen(QPen(ink_, std::max(1, penWidth), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter_.drawLine(x1, y1, x2, y2);
    painter_.restore();
}

void QtSurface::drawRect(int x1, int y1, int x2, int y2, int penWidth) {
    painter_.save();
    painter_.setPen(QPen(ink_, std::max(1, penWidth), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRectF(normalised(x1, y1, x2, y2)));
    painter_.restore();
}

void QtSurface::fillRect(int x1, int y1, int x2, int y2, std::uint32_t bgr) {
    QColor c(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
    painter_.fillRect(normalised(x1, y1, x2, y2), c);
}

}  // namespace reports::ui
