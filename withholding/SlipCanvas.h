#pragma once
#include <string>
#include <string_view>

#include "reports/PrnCanvas.h"

// The drawing calls of the year-end forms on top of the report engine: point
// sizes with fractions, three text widths, the raised end of thick vertical
// rules, and the vertical, circled, arrow-capped and dashed marks those forms
// need. Everything ends in the engine's surface calls (characters and lines), so
// the forms draw alike on the printer, the preview and a recording surface.
namespace withholding {

class SlipCanvas {
public:
    explicit SlipCanvas(reports::PrnCanvas& canvas) : c(canvas) {}

    reports::PrnCanvas& c;
    // 0 normal, 1 narrow (width and pitch 3/7 of the height), 2 narrower (1/3).
    int Narrow = 0;

    // Face and flags reset, normal width.
    void Face(const std::string& name);
    void SetFontPoints(float points);
    void ThinPen() { c.thinPen(); }
    void ThickPen() { c.thickPen(); }
    // Half the thin pen, for the digit-group dividers inside amount boxes.
    void HairPen() { c.PenWidth = c.metrics.ThinPenWidth / 2; }

    void DrawText(std::string_view utf8, float x, float y);
    // A thick vertical rule ends 0.2 mm short, so it does not overshoot the
    // thin rule it meets.
    void DrawLine(float x1, float y1, float x2, float y2);
    void DrawBox(float x1, float y1, float x2, float y2);
    // Text running down from y, characters upright, their cells between x minus
    // the height and x.
    void DrawVerticalText(std::string_view utf8, float x, float y);
    // The text and a 5.5 mm circle around it; leaves the thin pen selected.
    void DrawCircledText(std::string_view utf8, float x, float y);
    // Kind 1 a plain rule; 2 capped by ▼/▲, any other by ▽/△.
    void DrawArrowLine(int kind, float x, float y1, float y2);
    // Dashes and gaps of 0.4 mm with the current pen.
    void DrawDashedLine(double x1, double y1, double x2, double y2);

private:
    void deviceLine(double mx1, double my1, double mx2, double my2);
};

}  // namespace withholding
