#pragma once
#include <QColor>
#include <QFont>
#include <QString>
#include <string>

#include "reports/PrnCanvas.h"

class QPainter;

// The report engine's surface over a QPainter: a printer, a PDF, a QImage or the
// preview widget. The painter works in device dots (no transform).
namespace reports::ui {

class QtSurface : public reports::Surface {
public:
    explicit QtSurface(QPainter& painter);

    // The colour of text and lines (black; the preview draws form backgrounds pale).
    void setInk(const QColor& ink) { ink_ = ink; }

    void drawChar(std::string_view utf8Char, int x, int y, const DeviceFont& font) override;
    void drawLine(int x1, int y1, int x2, int y2, int penWidth) override;
    void drawRect(int x1, int y1, int x2, int y2, int penWidth) override;
    void fillRect(int x1, int y1, int x2, int y2, std::uint32_t bgr) override;

    // The Qt font for a device font: the stand-in family, sized so that ascent
    // plus descent is the cell height.
    QFont qfont(const DeviceFont& font);

private:
    QPainter& painter_;
    QColor ink_ = Qt::black;
    // The last font built, since a run repeats the same one for every character.
    DeviceFont lastFont_;
    QFont lastQFont_;
    qreal lastAscent_ = 0;
    bool haveFont_ = false;
};

}  // namespace reports::ui
