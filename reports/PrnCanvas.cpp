#include "reports/PrnCanvas.h"

#include <cmath>
#include <limits>
#include <vector>

#include "platform/Sjis.h"

namespace reports {
namespace {

// Every "Round" of the engine rounds halves to even (the default rounding mode);
// std::lround would round them away from zero and move lines by a dot.
int roundEven(double v) {
    double r = std::nearbyint(v);
    if (!std::isfinite(r) || r < double(std::numeric_limits<std::int32_t>::min()) ||
        r > double(std::numeric_limits<std::int32_t>::max()))
        throw ReportError("印刷位置が範囲外です。");
    return static_cast<int>(r);
}

// Millimetres already shifted by corrections and offsets to device dots.
int toDots(double mappedMm, float dotsPerMm) {
    return roundEven(mappedMm * double(dotsPerMm));
}

std::size_t utf8Length(unsigned char c) {
    if (c < 0x80) return 1;
    if ((c & 0xE0) == 0xC0) return 2;
    if ((c & 0xF0) == 0xE0) return 3;
    if ((c & 0xF8) == 0xF0) return 4;
    return 1;
}

// One character of a run: its UTF-8 form (empty = nothing to draw) and how many
// cells of the fixed pitch it takes.
struct Glyph {
    std::string utf8;
    int cells = 1;
};

// Cells come from the character's Shift-JIS form: two for a double-byte
// character, one otherwise. A lone lead byte at the end draws nothing and takes
// one cell, so the walk never reads past the text.
std::vector<Glyph> glyphsOfSjis(std::string_view cp932) {
    std::vector<Glyph> out;
    for (std::size_t i = 0; i < cp932.size();) {
        if (sjis::isLead(static_cast<unsigned char>(cp932[i]))) {
            if (i + 1 < cp932.size()) {
                out.push_back({sjis::toUtf8(cp932.substr(i, 2)), 2});
                i += 2;
            } else {
                out.push_back({{}, 1});
                ++i;
            }
        } else {
            out.push_back({sjis::toUtf8(cp932.substr(i, 1)), 1});
            ++i;
        }
    }
    return out;
}

std::vector<Glyph> glyphsOfUtf8(std::string_view utf8) {
    std::vector<Glyph> out;
    auto chars = [&](auto&& cellsOf) {
        for (std::size_t i = 0; i < utf8.size();) {
            std::size_t n =
                std::min(utf8Length(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
            std::string_view ch = utf8.substr(i, n);
            out.push_back({std::string(ch), cellsOf(ch)});
            i += n;
        }
    };
    auto sjisForm = sjis::tryFromUtf8(utf8);
    if (sjisForm) {
        // The conversion is character by character, so the two forms can be
        // walked side by side.
        std::size_t j = 0;
        const std::string& s = *sjisForm;
        chars([&](std::string_view) {
            int cells =
                (j + 1 < s.size() && sjis::isLead(static_cast<unsigned char>(s[j]))) ? 2 : 1;
            j += cells;
            return cells;
        });
    } else {
        // A character with no Shift-JIS form (or a broken sequence) still gets a
        // place: a full cell pair for a character, one cell for a stray byte.
        chars([](std::string_view ch) {
            if (ch.size() == 1) return 1;
            auto f = sjis::tryFromUtf8(ch);
            return f ? int(f->size() == 1 ? 1 : 2) : 2;
        });
    }
    return out;
}

void drawRun(const PrnCanvas& c, std::string_view utf8, const std::vector<Glyph>& glyphs, float x,
             float y) {
    Surface& s = c.target();
    DeviceFont font = c.deviceFont();
    const TFontInfo& FontInfo = c.FontInfo;
    const TargetMetrics& metrics = c.metrics;
    const double step =
        FontInfo.Narrow ? double(FontInfo.Height / 7 * 3) : double(FontInfo.Height / 2);
    const double startX = c.mappedX(x);
    const double my = c.mappedY(y);
    const int dy = toDots(my, metrics.DotsPerMmY);
    double cx = startX;
    s.beginText(utf8, toDots(startX, metrics.DotsPerMmX), dy, font);
    std::vector<PlacedChar> placed;
    placed.reserve(glyphs.size());
    for (const auto& g : glyphs) {
        if (!g.utf8.empty()) placed.push_back({g.utf8, toDots(cx, metrics.DotsPerMmX)});
        cx += g.cells * step;
    }
    s.drawChars(placed, dy, font);
    if (FontInfo.Underline) {
        int uy = toDots(my + double(FontInfo.Height), metrics.DotsPerMmY);
        s.drawLine(toDots(startX, metrics.DotsPerMmX), uy, toDots(cx, metrics.DotsPerMmX), uy,
                   roundEven(metrics.ThinPenWidth * 1.2));
    }
}

}  // namespace

void PrnCanvas::prepare(const TargetMetrics& m, Surface* s) {
    metrics = m;
    surface = s;
}

TargetMetrics PrnCanvas::printerMetrics(int dpiX, int dpiY, int physOffsetXDots,
                                        int physOffsetYDots) {
    TargetMetrics m;
    m.DotsPerMmX = float(dpiX / 25.4);
    m.DotsPerMmY = float(dpiY / 25.4);
    m.PhysOffsetX = roundEven(double(physOffsetXDots) / double(m.DotsPerMmX));
    m.PhysOffsetY = roundEven(double(physOffsetYDots) / double(m.DotsPerMmY));
    m.ThinPenWidth = roundEven(dpiX / 360.0 * 2);
    m.ThickPenWidth = roundEven(dpiX / 360.0 * 5);
    return m;
}

TargetMetrics PrnCanvas::previewMetrics(int dpiX, int dpiY, int physOffsetXDots,
                                        int physOffsetYDots, int screenPpi, int zoomPercent) {
    TargetMetrics m = printerMetrics(dpiX, dpiY, physOffsetXDots, physOffsetYDots);
    // MulDiv rounds halves up, unlike the engine's other roundings.
    long long scaled = (static_cast<long long>(screenPpi) * zoomPercent * 2 + 100) / 200;
    m.DotsPerMmX = m.DotsPerMmY = float(double(scaled) / 25.4);
    m.ThinPenWidth = m.ThickPenWidth = 1;
    return m;
}

void PrnCanvas::resetFont(const std::string& name) {
    float height = FontInfo.Height;
    FontInfo = TFontInfo{};
    FontInfo.Name = name;
    FontInfo.Height = height;
}

void PrnCanvas::SetFontPoints(int points) {
    FontInfo.Height = float(points / 2.8);
}

double PrnCanvas::mappedX(float x) const {
    return double(x) + PrAdjustH + double(PageOffsetX) - metrics.PhysOffsetX;
}

double PrnCanvas::mappedY(float y) const {
    return double(y) + PrAdjustV + double(PageOffsetY) - metrics.PhysOffsetY;
}

int PrnCanvas::deviceX(float x) const {
    return toDots(mappedX(x), metrics.DotsPerMmX);
}
int PrnCanvas::deviceY(float y) const {
    return toDots(mappedY(y), metrics.DotsPerMmY);
}

Surface& PrnCanvas::target() const {
    if (!surface) throw ReportError("印刷先が準備されていません。");
    return *surface;
}

DeviceFont PrnCanvas::deviceFont() const {
    DeviceFont f;
    f.name = FontInfo.Name;
    f.height = roundEven(double(FontInfo.Height) * double(metrics.DotsPerMmY));
    f.width = FontInfo.Narrow ? roundEven(f.height / 7.0 * 3) : 0;
    f.bold = FontInfo.Bold;
    f.italic = FontInfo.Italic;
    return f;
}

void PrnCanvas::DrawText(std::string_view utf8, float x, float y) {
    drawRun(*this, utf8, glyphsOfUtf8(utf8), x, y);
}

void PrnCanvas::DrawSjis(std::string_view cp932, float x, float y) {
    drawRun(*this, sjis::toUtf8(cp932), glyphsOfSjis(cp932), x, y);
}

void PrnCanvas::DrawLine(float x1, float y1, float x2, float y2) {
    target().drawLine(deviceX(x1), deviceY(y1), deviceX(x2), deviceY(y2), PenWidth);
}

void PrnCanvas::DrawBox(float x1, float y1, float x2, float y2) {
    target().drawRect(deviceX(x1), deviceY(y1), deviceX(x2), deviceY(y2), PenWidth);
}

void PrnCanvas::ShadeBox(float x1, float y1, float x2, float y2) {
    target().fillRect(deviceX(x1), deviceY(y1), deviceX(x2), deviceY(y2), kShadeColour);
}

}  // namespace reports
