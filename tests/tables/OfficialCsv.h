#pragma once
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The official figures as the tests read them: straight from the CSV files of
// the source tree, never from the generator's output, so that a fault in the
// generator shows up as a difference.
namespace official {

inline std::filesystem::path sourceFile(const std::string& name) {
    return std::filesystem::path(TOLVANE_SOURCE_DIR) / "tables" / name;
}

inline std::filesystem::path builtFile(const std::string& name) {
    return std::filesystem::path(TOLVANE_BINARY_DIR) / name;
}

// One data row: cells by column name; an empty cell reads as nothing.
struct Row {
    std::map<std::string, std::string> cells;

    const std::string& text(const std::string& column) const {
        auto it = cells.find(column);
        if (it == cells.end()) throw std::runtime_error("no column " + column);
        return it->second;
    }
    std::optional<std::int64_t> number(const std::string& column) const {
        const std::string& s = text(column);
        if (s.empty()) return std::nullopt;
        return std::stoll(s);
    }
    std::int64_t yen(const std::string& column) const { return number(column).value(); }
};

inline std::vector<std::string> splitCells(const std::string& line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (char ch : line) {
        if (ch == '"') {
            quoted = !quoted;
        } else if (ch == ',' && !quoted) {
            cells.emplace_back();
        } else {
            cells.back() += ch;
        }
    }
    return cells;
}

inline std::vector<Row> read(const std::string& name) {
    std::ifstream in(sourceFile(name));
    if (!in) throw std::runtime_error("cannot open " + sourceFile(name).string());
    std::vector<std::string> header;
    std::vector<Row> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> cells = splitCells(line);
        if (header.empty()) {
            header = cells;
            continue;
        }
        Row row;
        for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i)
            row.cells[header[i]] = cells[i];
        rows.push_back(row);
    }
    return rows;
}

// A decimal cell as an exact fraction: "0.33693" is 33693 / 100000.
struct Fraction {
    std::int64_t num = 0;
    std::int64_t den = 1;

    static Fraction parse(const std::string& s) {
        Fraction f;
        bool point = false;
        for (char ch : s) {
            if (ch == '.') {
                point = true;
                continue;
            }
            f.num = f.num * 10 + (ch - '0');
            if (point) f.den *= 10;
        }
        return f;
    }
    // The fraction times n, with any part of a yen cut off.
    std::int64_t timesFloor(std::int64_t n) const {
        const std::int64_t p = num * n;
        return p >= 0 ? p / den : -((-p + den - 1) / den);
    }
};

}  // namespace official

// File images built field by field, for the synthetic tables of the tests.
class ImageBytes {
public:
    explicit ImageBytes(std::size_t size) : bytes_(size, 0) {}
    ImageBytes& i32(std::size_t at, std::int32_t v) {
        std::memcpy(bytes_.data() + at, &v, sizeof v);
        return *this;
    }
    ImageBytes& f64(std::size_t at, double v) {
        std::memcpy(bytes_.data() + at, &v, sizeof v);
        return *this;
    }
    std::vector<unsigned char>& bytes() { return bytes_; }

private:
    std::vector<unsigned char> bytes_;
};
