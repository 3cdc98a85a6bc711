#pragma once
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// The report engine: every printed page is drawn in millimetres from the
// top-left corner of the paper through these primitives, onto whichever target
// was prepared last (printer, preview, bitmap). The engine maps millimetres to
// device dots and forwards to an abstract surface, so page drawers are plain
// logic and tests read what was drawn from a recording surface.
namespace reports {

// A drawing that cannot be carried out (a coordinate outside the device's range,
// no target prepared). The page is abandoned; nothing half-drawn is reported as
// printed.
class ReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The font the next DrawText uses.
struct TFontInfo {
    std::string Name = "ＭＳ 明朝";  // Windows face name; the Qt surface maps it
    float Height = 0;                // character cell height in millimetres
    bool Bold = false;
    bool Underline = false;
    bool Italic = false;
    bool Narrow = false;  // condensed: width and pitch 3/7 of the height
};

// A font as the surface receives it, in device units.
struct DeviceFont {
    std::string name;
    int height = 0;  // cell height in dots
    int width = 0;   // 0 = the face's own aspect
    bool bold = false;
    bool italic = false;
};

// A character of a run and the left edge of its cell, in device dots.
struct PlacedChar {
    std::string_view utf8;
    int x = 0;
};

// What the engine draws on, in device dots. Implemented by the Qt surfaces
// (printer, PDF, preview widget, image) and by the recording surface of tests.
class Surface {
public:
    virtual ~Surface() = default;
    // Announces the run of characters one DrawText places next (UTF-8, device
    // point of its first cell); the characters follow as drawChar calls. Only
    // surfaces that care about runs (the recording one) override it.
    virtual void beginText(std::string_view utf8, int x, int y, const DeviceFont& font) {
        (void)utf8, (void)x, (void)y, (void)font;
    }
    // One character (UTF-8) with its cell's top-left corner at (x, y).
    virtual void drawChar(std::string_view utf8Char, int x, int y, const DeviceFont& font) = 0;
    // The characters of the run announced last, their cells' tops at y. A
    // surface that can place a whole run at once overrides it; any other draws
    // them one by one.
    virtual void drawChars(std::span<const PlacedChar> chars, int y, const DeviceFont& font) {
        for (const PlacedChar& c : chars) drawChar(c.utf8, c.x, y, font);
    }
    virtual void drawLine(int x1, int y1, int x2, int y2, int penWidth) = 0;
    // The outline of a rectangle, interior untouched.
    virtual void drawRect(int x1, int y1, int x2, int y2, int penWidth) = 0;
    // A filled rectangle without outline; colour as 0xBBGGRR.
    virtual void fillRect(int x1, int y1, int x2, int y2, std::uint32_t bgr) = 0;
};

// The shade of ShadeBox (blue FF, green DD, red BB).
inline constexpr std::uint32_t kShadeColour = 0xFFDDBB;

// How a target maps millimetres to dots; filled by preparing a target.
struct TargetMetrics {
    float DotsPerMmX = 1;
    float DotsPerMmY = 1;
    int PhysOffsetX = 0;  // unprintable margins, whole millimetres
    int PhysOffsetY = 0;
    int ThinPenWidth = 1;
    int ThickPenWidth = 1;
};

class PrnCanvas {
public:
    // The target: its metrics and surface. The surface is not owned.
    void prepare(const TargetMetrics& metrics, Surface* surface);
    // The printer target from its resolution and physical offsets in dots.
    static TargetMetrics printerMetrics(int dpiX, int dpiY, int physOffsetXDots,
                                        int physOffsetYDots);
    // The preview target: the printer's offsets, the window's pixels per inch
    // scaled by the zoom percent, both pens one pixel.
    static TargetMetrics previewMetrics(int dpiX, int dpiY, int physOffsetXDots,
                                        int physOffsetYDots, int screenPpi, int zoomPercent);

    TargetMetrics metrics;
    Surface* surface = nullptr;

    float PageOffsetX = 0;  // millimetres added to every coordinate of the page
    float PageOffsetY = 0;
    double PrAdjustH = 0;  // the user's print-position correction, millimetres
    double PrAdjustV = 0;
    TFontInfo FontInfo;
    int PenWidth = 1;                            // the pen lines and boxes are drawn with (dots)
    std::string PrintEra, PrintMonth, PrintDay;  // the date the page prints

    // Page drawers use these two for the pen.
    void thinPen() { PenWidth = metrics.ThinPenWidth; }
    void thickPen() { PenWidth = metrics.ThickPenWidth; }
    // Every page drawer starts with this: black, the face, all flags off.
    void resetFont(const std::string& name);

    void SetFontPoints(int points);
    // Text in UTF-8, placed on a fixed pitch: half the height per single-byte
    // character of its Shift-JIS form, the full height per double-byte one.
    void DrawText(std::string_view utf8, float x, float y);
    // The same for Shift-JIS bytes as records hold them. A lone lead byte at the
    // end draws nothing and takes one cell.
    void DrawSjis(std::string_view cp932, float x, float y);
    void DrawLine(float x1, float y1, float x2, float y2);
    void DrawBox(float x1, float y1, float x2, float y2);
    void ShadeBox(float x1, float y1, float x2, float y2);

    // Device dots of a point in millimetres (rounding halves to even).
    int deviceX(float x) const;
    int deviceY(float y) const;
    // A coordinate with correction, page offset and unprintable margin applied,
    // still in millimetres.
    double mappedX(float x) const;
    double mappedY(float y) const;
    // The font DrawText would select now, in device units.
    DeviceFont deviceFont() const;
    // The prepared surface; ReportError when no target was prepared.
    Surface& target() const;
};

}  // namespace reports
