#include "reports/ui/QtSurface.h"

#include <QFontMetricsF>
#include <QGlyphRun>
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

// The horizontal stretch of a narrow font (1 for the face's own aspect).
qreal widthScale(const DeviceFont& font) {
    return font.width > 0 && font.height > 0 ? font.width / (font.height / 2.0) : 1.0;
}

// The code point of one UTF-8 character; 0 for a broken sequence.
char32_t codePoint(std::string_view s) {
    auto b = [&](std::size_t i) { return char32_t(static_cast<unsigned char>(s[i])); };
    auto tail = [&](std::size_t i) { return i < s.size() && (b(i) & 0xC0) == 0x80; };
    if (s.empty()) return 0;
    if (b(0) < 0x80) return s.size() == 1 ? b(0) : 0;
    if ((b(0) & 0xE0) == 0xC0 && s.size() == 2 && tail(1))
        return (b(0) & 0x1F) << 6 | (b(1) & 0x3F);
    if ((b(0) & 0xF0) == 0xE0 && s.size() == 3 && tail(1) && tail(2))
        return (b(0) & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F);
    if ((b(0) & 0xF8) == 0xF0 && s.size() == 4 && tail(1) && tail(2) && tail(3))
        return (b(0) & 0x07) << 18 | (b(1) & 0x3F) << 12 | (b(2) & 0x3F) << 6 | (b(3) & 0x3F);
    return 0;
}

}  // namespace

QtSurface::QtSurface(QPainter& painter) : painter_(painter), base_(painter.worldTransform()) {}

// The painter is handed back with the transform it came with.
QtSurface::~QtSurface() {
    if (scale_ != 1 && painter_.isActive()) painter_.setWorldTransform(base_);
}

QtSurface::Face& QtSurface::face(const DeviceFont& font) {
    if (lastFace_ && sameFont(font, lastFace_->device)) return *lastFace_;
    for (auto& f : faces_)
        if (sameFont(font, f->device)) return *(lastFace_ = f.get());
    auto f = std::make_unique<Face>();
    QFont q(platform::ui::familyFor(QString::fromStdString(font.name)));
    q.setPixelSize(std::max(1, font.height));
    q.setBold(font.bold);
    q.setItalic(font.italic);
    q.setKerning(false);
    q.setHintingPreference(QFont::PreferNoHinting);
    QFontMetricsF fm(q, painter_.device());
    qreal cell = fm.ascent() + fm.descent();
    // A face whose ascent and descent exceed its em would stand taller than the
    // cell the documents were laid out for.
    if (cell > font.height * 1.02) {
        q.setPixelSize(std::max(1, int(font.height * font.height / cell)));
        fm = QFontMetricsF(q, painter_.device());
    }
    f->device = font;
    f->font = q;
    f->ascent = fm.ascent();
    f->raw = QRawFont::fromFont(q);
    faces_.push_back(std::move(f));
    return *(lastFace_ = faces_.back().get());
}

QFont QtSurface::qfont(const DeviceFont& font) {
    return face(font).font;
}

quint32 QtSurface::glyphOf(Face& f, std::string_view utf8Char) {
    const char32_t c = codePoint(utf8Char);
    if (c == 0) return 0;
    auto it = f.glyphs.constFind(c);
    if (it != f.glyphs.constEnd()) return *it;
    quint32 glyph = 0;
    if (f.raw.isValid() && f.raw.supportsCharacter(c)) {
        const QString text = QString::fromUcs4(&c, 1);
        quint32 glyphs[2] = {0, 0};
        int count = 2;
        if (f.raw.glyphIndexesForChars(text.constData(), int(text.size()), glyphs, &count) &&
            count == 1)
            glyph = glyphs[0];
    }
    f.glyphs.insert(c, glyph);
    return glyph;
}

void QtSurface::usePen(const QPen& pen) {
    if (pen == pen_ && painter_.pen() == pen) return;
    painter_.setPen(pen);
    pen_ = pen;
}

// Glyphs are filled with the pen's colour; its width and caps do not matter.
void QtSurface::useTextPen() {
    if (pen_.style() == Qt::SolidLine && pen_.color() == ink_ && painter_.pen() == pen_) return;
    usePen(QPen(ink_));
}

void QtSurface::useScale(qreal sx) {
    if (sx == scale_) return;
    painter_.setWorldTransform(sx == 1 ? base_ : QTransform::fromScale(sx, 1) * base_);
    scale_ = sx;
}

void QtSurface::drawCharAsText(Face& f, std::string_view utf8Char, int x, int y,
                               const DeviceFont& font) {
    QString ch = QString::fromUtf8(utf8Char.data(), qsizetype(utf8Char.size()));
    useScale(1);
    painter_.save();
    painter_.setFont(f.font);
    painter_.setPen(ink_);
    painter_.translate(x, y + f.ascent);
    const qreal sx = widthScale(font);
    if (sx != 1) painter_.scale(sx, 1);
    painter_.drawText(QPointF(0, 0), ch);
    painter_.restore();
}

void QtSurface::drawChar(std::string_view utf8Char, int x, int y, const DeviceFont& font) {
    const PlacedChar one{utf8Char, x};
    drawChars({&one, 1}, y, font);
}

// The whole run in one glyph run: every character at its own cell's place, as
// the engine computed it, on the baseline of the cells.
void QtSurface::drawChars(std::span<const PlacedChar> chars, int y, const DeviceFont& font) {
    Face& f = face(font);
    const qreal sx = widthScale(font);
    const qreal baseline = y + f.ascent;
    runGlyphs_.clear();
    runPositions_.clear();
    bool missing = false;
    for (const PlacedChar& c : chars) {
        const quint32 glyph = glyphOf(f, c.utf8);
        if (glyph == 0) {
            missing = true;
            continue;
        }
        runGlyphs_.push_back(glyph);
        // The stretch applies about each character's own left edge.
        runPositions_.push_back(QPointF(c.x / sx, baseline));
    }
    if (!runGlyphs_.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(f.raw);
        run.setGlyphIndexes(runGlyphs_);
        run.setPositions(runPositions_);
        useScale(sx);
        useTextPen();
        painter_.drawGlyphRun(QPointF(0, 0), run);
    }
    if (missing)
        for (const PlacedChar& c : chars)
            if (glyphOf(f, c.utf8) == 0) drawCharAsText(f, c.utf8, c.x, y, font);
}

void QtSurface::drawLine(int x1, int y1, int x2, int y2, int penWidth) {
    useScale(1);
    usePen(QPen(ink_, std::max(1, penWidth), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter_.drawLine(x1, y1, x2, y2);
}

void QtSurface::drawRect(int x1, int y1, int x2, int y2, int penWidth) {
    useScale(1);
    usePen(QPen(ink_, std::max(1, penWidth), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    if (!noBrush_ || painter_.brush().style() != Qt::NoBrush) {
        painter_.setBrush(Qt::NoBrush);
        noBrush_ = true;
    }
    painter_.drawRect(QRectF(normalised(x1, y1, x2, y2)));
}

void QtSurface::fillRect(int x1, int y1, int x2, int y2, std::uint32_t bgr) {
    QColor c(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
    useScale(1);
    painter_.fillRect(normalised(x1, y1, x2, y2), c);
}

}  // namespace reports::ui
