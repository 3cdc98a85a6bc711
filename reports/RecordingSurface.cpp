#include "reports/RecordingSurface.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace reports {

void RecordingSurface::beginText(std::string_view utf8, int x, int y, const DeviceFont& font) {
    RecordedOp op;
    op.kind = RecordedOp::Text;
    op.x1 = x;
    op.y1 = y;
    op.text = std::string(utf8);
    op.font = font;
    ops_.push_back(std::move(op));
}

void RecordingSurface::drawChar(std::string_view utf8Char, int x, int y, const DeviceFont& font) {
    RecordedOp op;
    op.kind = RecordedOp::Char;
    op.x1 = x;
    op.y1 = y;
    op.text = std::string(utf8Char);
    op.font = font;
    ops_.push_back(std::move(op));
}

void RecordingSurface::drawLine(int x1, int y1, int x2, int y2, int penWidth) {
    ops_.push_back({RecordedOp::Line, x1, y1, x2, y2, penWidth, 0, {}, {}});
}

void RecordingSurface::drawRect(int x1, int y1, int x2, int y2, int penWidth) {
    ops_.push_back({RecordedOp::Rect, x1, y1, x2, y2, penWidth, 0, {}, {}});
}

void RecordingSurface::fillRect(int x1, int y1, int x2, int y2, std::uint32_t bgr) {
    ops_.push_back({RecordedOp::Fill, x1, y1, x2, y2, 0, bgr, {}, {}});
}

std::vector<TextRun> RecordingSurface::texts() const {
    std::vector<TextRun> out;
    for (const auto& op : ops_)
        if (op.kind == RecordedOp::Text) out.push_back({op.x1, op.y1, op.text, op.font});
    return out;
}

std::vector<std::string> RecordingSurface::allTexts() const {
    std::vector<std::string> out;
    for (const auto& r : texts()) out.push_back(r.text);
    return out;
}

std::string RecordingSurface::textAt(int x, int y, int tolerance) const {
    for (const auto& r : texts())
        if (std::abs(r.x - x) <= tolerance && std::abs(r.y - y) <= tolerance) return r.text;
    return {};
}

std::optional<TextRun> RecordingSurface::findText(std::string_view text) const {
    for (auto& r : texts())
        if (r.text == text) return r;
    return std::nullopt;
}

std::vector<TextRun> RecordingSurface::findAll(std::string_view text) const {
    std::vector<TextRun> out;
    for (auto& r : texts())
        if (r.text == text) out.push_back(r);
    return out;
}

std::optional<TextRun> RecordingSurface::findContaining(std::string_view text) const {
    for (auto& r : texts())
        if (r.text.find(text) != std::string::npos) return r;
    return std::nullopt;
}

std::vector<TextRun> RecordingSurface::textsOnRow(int y, int tolerance) const {
    std::vector<TextRun> out;
    for (auto& r : texts())
        if (std::abs(r.y - y) <= tolerance) out.push_back(r);
    std::stable_sort(out.begin(), out.end(),
                     [](const TextRun& a, const TextRun& b) { return a.x < b.x; });
    return out;
}

std::vector<RecordedOp> RecordingSurface::ofKind(RecordedOp::Kind kind) const {
    std::vector<RecordedOp> out;
    for (const auto& op : ops_)
        if (op.kind == kind) out.push_back(op);
    return out;
}

bool RecordingSurface::hasLine(int x1, int y1, int x2, int y2) const {
    for (const auto& op : ops_)
        if (op.kind == RecordedOp::Line && op.x1 == x1 && op.y1 == y1 && op.x2 == x2 && op.y2 == y2)
            return true;
    return false;
}

std::string RecordingSurface::dump(bool withChars) const {
    std::string out;
    char buf[160];
    for (const auto& op : ops_) {
        switch (op.kind) {
            case RecordedOp::Text:
                std::snprintf(buf, sizeof buf, "T %d,%d h%d w%d b%d \"", op.x1, op.y1,
                              op.font.height, op.font.width, op.font.bold ? 1 : 0);
                out += buf + op.text + "\"\n";
                break;
            case RecordedOp::Char:
                if (!withChars) break;
                std::snprintf(buf, sizeof buf, "C %d,%d \"", op.x1, op.y1);
                out += buf + op.text + "\"\n";
                break;
            case RecordedOp::Line:
                std::snprintf(buf, sizeof buf, "L %d,%d %d,%d w%d\n", op.x1, op.y1, op.x2, op.y2,
                              op.pen);
                out += buf;
                break;
            case RecordedOp::Rect:
                std::snprintf(buf, sizeof buf, "R %d,%d %d,%d w%d\n", op.x1, op.y1, op.x2, op.y2,
                              op.pen);
                out += buf;
                break;
            case RecordedOp::Fill:
                std::snprintf(buf, sizeof buf, "F %d,%d %d,%d #%02X%02X%02X\n", op.x1, op.y1, op.x2,
                              op.y2, unsigned(op.colour & 0xFF), unsigned((op.colour >> 8) & 0xFF),
                              unsigned((op.colour >> 16) & 0xFF));
                out += buf;
                break;
        }
    }
    return out;
}

}  // namespace reports
