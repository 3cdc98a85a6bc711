#pragma once
#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <QTransform>
#include <memory>
#include <string>
#include <vector>

#include "reports/PrnCanvas.h"

class QPainter;

// The report engine's surface over a QPainter: a printer, a PDF, a QImage or the
// preview widget. The painter works in device dots (no transform).
namespace reports::ui {

class QtSurface : public reports::Surface {
public:
    explicit QtSurface(QPainter& painter);
    ~QtSurface() override;

    // The colour of text and lines (black; the preview draws form backgrounds pale).
    void setInk(const QColor& ink) { ink_ = ink; }

    void drawChar(std::string_view utf8Char, int x, int y, const DeviceFont& font) override;
    void drawChars(std::span<const PlacedChar> chars, int y, const DeviceFont& font) override;
    void drawLine(int x1, int y1, int x2, int y2, int penWidth) override;
    void drawRect(int x1, int y1, int x2, int y2, int penWidth) override;
    void fillRect(int x1, int y1, int x2, int y2, std::uint32_t bgr) override;

    // The Qt font for a device font: the stand-in family, sized so that ascent
    // plus descent is the cell height.
    QFont qfont(const DeviceFont& font);

private:
    // A device font made into a Qt font once, with the face's glyph of every
    // character met so far (0: the face has none and Qt must find another).
    struct Face {
        DeviceFont device;
        QFont font;
        qreal ascent = 0;
        QRawFont raw;
        QHash<char32_t, quint32> glyphs;
    };
    Face& face(const DeviceFont& font);
    quint32 glyphOf(Face& f, std::string_view utf8Char);
    // One character through Qt's own text drawing, which finds a fallback face.
    void drawCharAsText(Face& f, std::string_view utf8Char, int x, int y, const DeviceFont& font);

    // The painter's state, changed only when a drawing needs another one.
    void usePen(const QPen& pen);
    void useTextPen();
    void useScale(qreal sx);

    QPainter& painter_;
    QColor ink_ = Qt::black;
    std::vector<std::unique_ptr<Face>> faces_;
    Face* lastFace_ = nullptr;
    QTransform base_;
    qreal scale_ = 1;
    QPen pen_;
    bool noBrush_ = false;
    QList<quint32> runGlyphs_;
    QList<QPointF> runPositions_;
};

}  // namespace reports::ui
