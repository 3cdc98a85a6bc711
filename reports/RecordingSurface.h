#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reports/PrnCanvas.h"

// A surface that draws nothing and remembers every operation with its device
// coordinates, so tests can ask what a page drawer put where.
namespace reports {

struct RecordedOp {
    enum Kind { Text, Char, Line, Rect, Fill };
    Kind kind = Char;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Text/Char: x1, y1 the cell's top-left
    int pen = 0;                         // Line, Rect
    std::uint32_t colour = 0;            // Fill (0xBBGGRR)
    std::string text;                    // Text: the whole run; Char: one character
    DeviceFont font;                     // Text, Char
};

// One DrawText call: where it started and what it said.
struct TextRun {
    int x = 0, y = 0;
    std::string text;
    DeviceFont font;
};

class RecordingSurface : public Surface {
public:
    void beginText(std::string_view utf8, int x, int y, const DeviceFont& font) override;
    void drawChar(std::string_view utf8Char, int x, int y, const DeviceFont& font) override;
    void drawLine(int x1, int y1, int x2, int y2, int penWidth) override;
    void drawRect(int x1, int y1, int x2, int y2, int penWidth) override;
    void fillRect(int x1, int y1, int x2, int y2, std::uint32_t bgr) override;

    const std::vector<RecordedOp>& ops() const { return ops_; }
    void clear() { ops_.clear(); }

    // Every text run in drawing order.
    std::vector<TextRun> texts() const;
    std::vector<std::string> allTexts() const;
    // The text of the run starting at (x, y) within the tolerance in dots, or
    // empty when none starts there.
    std::string textAt(int x, int y, int tolerance = 0) const;
    // The first run whose text equals the given text.
    std::optional<TextRun> findText(std::string_view text) const;
    // Every run whose text equals the given text.
    std::vector<TextRun> findAll(std::string_view text) const;
    // The first run that contains the given text.
    std::optional<TextRun> findContaining(std::string_view text) const;
    // The runs whose first cell lies on row y (within the tolerance), left to right.
    std::vector<TextRun> textsOnRow(int y, int tolerance = 0) const;

    std::vector<RecordedOp> ofKind(RecordedOp::Kind kind) const;
    bool hasLine(int x1, int y1, int x2, int y2) const;

    // One line per operation, for failure messages and golden comparisons:
    //   T 472,709 h84 w0 b0 "全A"    C 472,709 "全"    L 142,343 142,3839 w3
    //   R 100,290 2880,1885 w3       F 100,290 2880,1885 #BBDDFF
    std::string dump(bool withChars = false) const;

private:
    std::vector<RecordedOp> ops_;
};

}  // namespace reports
