#include "withholding/SlipCanvas.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "platform/Sjis.h"

namespace withholding {
namespace {

std::size_t utf8Length(unsigned char c) {
    if (c < 0x80) return 1;
    if ((c & 0xE0) == 0xC0) return 2;
    if ((c & 0xF0) == 0xE0) return 3;
    if ((c & 0xF8) == 0xF0) return 4;
    return 1;
}

std::vector<std::string> charsOf(std::string_view utf8) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t n = std::min(utf8Length(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        out.emplace_back(utf8.substr(i, n));
        i += n;
    }
    return out;
}

// Cells of the fixed pitch: the character's Shift-JIS byte count; a character
// with no Shift-JIS form counts as double-width.
int cellsOf(const std::string& ch) {
    if (ch.size() == 1) return 1;
    auto s = sjis::tryFromUtf8(ch);
    return s && s->size() == 1 ? 1 : 2;
}

int roundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace

void SlipCanvas::Face(const std::string& name) {
    c.resetFont(name);
    Narrow = 0;
}

void SlipCanvas::SetFontPoints(float points) {
    c.FontInfo.Height = float(points / 2.8);
}

void SlipCanvas::DrawText(std::string_view utf8, float x, float y) {
    if (Narrow != 2) {
        c.FontInfo.Narrow = Narrow == 1;
        c.DrawText(utf8, x, y);
        c.FontInfo.Narrow = false;
        return;
    }
    // The narrower width is not one of the engine's own, so its run is laid out
    // here with the same rounding as the engine's.
    reports::Surface& s = c.target();
    c.FontInfo.Narrow = false;
    reports::DeviceFont font = c.deviceFont();
    font.width = roundEven(font.height / 9.0 * 3);
    const double step = double(c.FontInfo.Height / 9 * 3);
    double cx = c.mappedX(x);
    const int dy = roundEven(c.mappedY(y) * double(c.metrics.DotsPerMmY));
    s.beginText(utf8, roundEven(cx * double(c.metrics.DotsPerMmX)), dy, font);
    for (const auto& ch : charsOf(utf8)) {
        s.drawChar(ch, roundEven(cx * double(c.metrics.DotsPerMmX)), dy, font);
        cx += cellsOf(ch) * step;
    }
}

void SlipCanvas::DrawLine(float x1, float y1, float x2, float y2) {
    if (c.PenWidth == c.metrics.ThickPenWidth && x1 == x2) y2 -= 0.2f;
    c.DrawLine(x1, y1, x2, y2);
}

void SlipCanvas::DrawBox(float x1, float y1, float x2, float y2) {
    c.DrawBox(x1, y1, x2, y2);
}

void SlipCanvas::DrawVerticalText(std::string_view utf8, float x, float y) {
    reports::Surface& s = c.target();
    c.FontInfo.Narrow = false;
    reports::DeviceFont font = c.deviceFont();
    // Vertical labels always take the vertical Mincho face, whatever the text
    // face is.
    font.name = "ＭＳ 明朝";
    font.bold = font.italic = false;
    const double h = c.FontInfo.Height;
    const double left = c.mappedX(x) - h;
    double cy = c.mappedY(y);
    auto dx = [&](double mm) { return roundEven(mm * double(c.metrics.DotsPerMmX)); };
    auto dy = [&](double mm) { return roundEven(mm * double(c.metrics.DotsPerMmY)); };
    s.beginText(utf8, dx(left), dy(cy), font);
    for (const auto& ch : charsOf(utf8)) {
        // Brackets are turned as the vertical face turns them. The installed
        // faces have no vertical bracket forms, so the turned bracket is drawn as
        // an arc: the opening one low in its cell bulging up, the closing one high
        // bulging down. Other single-byte characters stand upright in half a cell.
        const bool open = ch == "(" || ch == "（", close = ch == ")" || ch == "）";
        if (open || close) {
            const int pen = c.PenWidth;
            c.PenWidth = c.metrics.ThinPenWidth / 2;
            const double cx = left + h / 2, rx = h * 0.32, ry = h * 0.14;
            const double base = cy + (open ? 0.72 : 0.28) * h;
            constexpr int kSteps = 12;
            double px = cx - rx, py = base;
            for (int i = 1; i <= kSteps; ++i) {
                const double a = std::numbers::pi * i / kSteps;
                const double nx = cx - rx * std::cos(a);
                const double ny = base + (open ? -ry : ry) * std::sin(a);
                deviceLine(px, py, nx, ny);
                px = nx, py = ny;
            }
            c.PenWidth = pen;
            cy += h;
            continue;
        }
        if (ch != " " && ch != "　") s.drawChar(ch, dx(left), dy(cy), font);
        cy += cellsOf(ch) == 2 ? h : h / 2;
    }
}

void SlipCanvas::DrawCircledText(std::string_view utf8, float x, float y) {
    DrawText(utf8, x, y);
    ThinPen();
    // The surface has no ellipse: a polygon fine enough to look round at print
    // resolution.
    const double cx = c.mappedX(x) + (4.8 - 0.7) / 2, cy = c.mappedY(y) + (5.0 - 0.5) / 2;
    const double rx = 5.5 / 2, ry = 5.5 / 2;
    constexpr int kSteps = 48;
    double px = cx + rx, py = cy;
    for (int i = 1; i <= kSteps; ++i) {
        double a = 2 * std::numbers::pi * i / kSteps;
        double nx = cx + rx * std::cos(a), ny = cy + ry * std::sin(a);
        deviceLine(px, py, nx, ny);
        px = nx, py = ny;
    }
}

void SlipCanvas::DrawArrowLine(int kind, float x, float y1, float y2) {
    if (kind == 1) {
        DrawLine(x, y1, x, y2);
        return;
    }
    DrawLine(x, y1 + 0.8f, x, y2 - 0.9f);
    const float height = c.FontInfo.Height;
    const int narrow = Narrow;
    Narrow = 0;
    SetFontPoints(4);
    DrawText(kind == 2 ? "▼" : "▽", x - 0.7f, y1 - 0.2f);
    DrawText(kind == 2 ? "▲" : "△", x - 0.7f, y2 - 1.4f);
    c.FontInfo.Height = height;
    Narrow = narrow;
}

void SlipCanvas::deviceLine(double mx1, double my1, double mx2, double my2) {
    const double sx = c.metrics.DotsPerMmX, sy = c.metrics.DotsPerMmY;
    c.target().drawLine(roundEven(mx1 * sx), roundEven(my1 * sy), roundEven(mx2 * sx),
                        roundEven(my2 * sy), c.PenWidth);
}

void SlipCanvas::DrawDashedLine(double x1, double y1, double x2, double y2) {
    if (x1 == x2 && y1 == y2) return;
    double ax = c.mappedX(float(x1)), ay = c.mappedY(float(y1));
    double bx = c.mappedX(float(x2)), by = c.mappedY(float(y2));
    const double dx = std::abs(bx - ax), dy = std::abs(by - ay);
    const double length = std::sqrt(dx * dx + dy * dy);
    const double stepX = dx / length * 0.4, stepY = dy / length * 0.4;
    const bool together = (ax <= bx && ay <= by) || (ax >= bx && ay >= by);
    if (ax > bx || (ax == bx && (together ? ay > by : ay < by))) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    const double sy = together ? stepY : -stepY;
    double px = ax, py = ay;
    for (int i = 1;; ++i) {
        double nx = px + stepX, ny = py + sy;
        bool last = nx >= bx && (together ? ny >= by : ny <= by);
        if (last) nx = bx, ny = by;
        if (i % 2 == 1) deviceLine(px, py, nx, ny);
        if (last) break;
        px = nx, py = ny;
    }
}

}  // namespace withholding
