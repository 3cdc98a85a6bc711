#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The CSV files of the statutory figures as the table generator reads them:
// UTF-8, lines starting with "#" are comments, the first other line names the
// columns. Every fault names the file and the line it was found on.
namespace tables {

// A fault in a source file; what() is "<file>:<line>: <message>".
class SourceError : public std::runtime_error {
public:
    SourceError(const std::string& file, int line, const std::string& message);
};

// A decimal written in a cell ("0.2042", "10.19"), kept exactly as
// numerator / 10^decimals as well as the nearest double.
struct Decimal {
    std::int64_t numerator = 0;
    int decimals = 0;
    double value = 0;

    // The exact value times an integer, truncated toward zero.
    std::int64_t timesTruncated(std::int64_t n) const;
    bool sameValue(const Decimal& other) const;
    // The same value with `decimals` decimals, or nothing if that would lose digits.
    std::optional<Decimal> scaledTo(int wanted) const;
};

class CsvFile;

class CsvRow {
public:
    CsvRow(const CsvFile& file, int line, std::vector<std::string> cells)
        : file_(&file), line_(line), cells_(std::move(cells)) {}

    int line() const { return line_; }
    const std::string& text(const std::string& column) const;
    bool empty(const std::string& column) const { return text(column).empty(); }
    // An integer cell; an empty cell is a fault.
    std::int64_t integer(const std::string& column) const;
    // An integer cell, or nothing when it is empty.
    std::optional<std::int64_t> optionalInteger(const std::string& column) const;
    Decimal decimal(const std::string& column) const;

    // Throws a SourceError for this row.
    [[noreturn]] void fail(const std::string& message) const;

private:
    const CsvFile* file_;
    int line_;
    std::vector<std::string> cells_;
};

class CsvFile {
public:
    // Reads the whole file; a missing file, a missing header or a row with the
    // wrong number of cells is a SourceError.
    explicit CsvFile(const std::string& path);
    // Rows point back at their file.
    CsvFile(const CsvFile&) = delete;
    CsvFile& operator=(const CsvFile&) = delete;

    const std::string& path() const { return path_; }
    const std::vector<CsvRow>& rows() const { return rows_; }
    std::size_t column(const std::string& name) const;
    // Throws a SourceError for the file as a whole (at its last line).
    [[noreturn]] void fail(const std::string& message) const;

private:
    std::string path_;
    std::vector<std::string> header_;
    int headerLine_ = 0;
    int lastLine_ = 0;
    std::vector<CsvRow> rows_;
};

}  // namespace tables
