#include "tables/Csv.h"

#include <charconv>
#include <fstream>

namespace tables {
namespace {

// Splits one line; cells may be enclosed in double quotes, with "" for a quote.
std::vector<std::string> splitLine(const std::string& line, bool& ok) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    ok = true;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (quoted) {
            if (ch == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cells.back() += '"';
                ++i;
            } else if (ch == '"') {
                quoted = false;
            } else {
                cells.back() += ch;
            }
        } else if (ch == '"') {
            quoted = true;
        } else if (ch == ',') {
            cells.emplace_back();
        } else {
            cells.back() += ch;
        }
    }
    ok = !quoted;
    return cells;
}

std::int64_t pow10(int n) {
    std::int64_t p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

}  // namespace

SourceError::SourceError(const std::string& file, int line, const std::string& message)
    : std::runtime_error(file + ":" + std::to_string(line) + ": " + message) {}

std::int64_t Decimal::timesTruncated(std::int64_t n) const {
    const __int128 product = static_cast<__int128>(numerator) * n;
    return static_cast<std::int64_t>(product / pow10(decimals));
}

bool Decimal::sameValue(const Decimal& other) const {
    return static_cast<__int128>(numerator) * pow10(other.decimals) ==
           static_cast<__int128>(other.numerator) * pow10(decimals);
}

std::optional<Decimal> Decimal::scaledTo(int wanted) const {
    Decimal d = *this;
    while (d.decimals < wanted) {
        d.numerator *= 10;
        ++d.decimals;
    }
    while (d.decimals > wanted) {
        if (d.numerator % 10 != 0) return std::nullopt;
        d.numerator /= 10;
        --d.decimals;
    }
    return d;
}

const std::string& CsvRow::text(const std::string& column) const {
    return cells_[file_->column(column)];
}

std::int64_t CsvRow::integer(const std::string& column) const {
    auto v = optionalInteger(column);
    if (!v) fail("column " + column + " is empty");
    return *v;
}

std::optional<std::int64_t> CsvRow::optionalInteger(const std::string& column) const {
    const std::string& s = text(column);
    if (s.empty()) return std::nullopt;
    std::int64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size())
        fail("column " + column + " is not a whole number: \"" + s + "\"");
    return v;
}

Decimal CsvRow::decimal(const std::string& column) const {
    const std::string& s = text(column);
    if (s.empty()) fail("column " + column + " is empty");
    Decimal d;
    bool seenPoint = false, seenDigit = false;
    for (char ch : s) {
        if (ch == '.' && !seenPoint) {
            seenPoint = true;
        } else if (ch >= '0' && ch <= '9' && d.decimals < 15) {
            d.numerator = d.numerator * 10 + (ch - '0');
            seenDigit = true;
            if (seenPoint) ++d.decimals;
        } else {
            fail("column " + column + " is not a decimal number: \"" + s + "\"");
        }
    }
    if (!seenDigit) fail("column " + column + " is not a decimal number: \"" + s + "\"");
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d.value);
    if (ec != std::errc() || end != s.data() + s.size())
        fail("column " + column + " is not a decimal number: \"" + s + "\"");
    return d;
}

void CsvRow::fail(const std::string& message) const {
    throw SourceError(file_->path(), line_, message);
}

CsvFile::CsvFile(const std::string& path) : path_(path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SourceError(path, 0, "cannot be opened");
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        lastLine_ = number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        bool ok = true;
        std::vector<std::string> cells = splitLine(line, ok);
        if (!ok) throw SourceError(path, number, "a quoted cell is not closed");
        if (header_.empty()) {
            header_ = std::move(cells);
            headerLine_ = number;
            continue;
        }
        if (cells.size() != header_.size())
            throw SourceError(path, number,
                              "has " + std::to_string(cells.size()) + " cells, the header " +
                                  std::to_string(header_.size()));
        rows_.emplace_back(*this, number, std::move(cells));
    }
    if (header_.empty()) throw SourceError(path, number, "has no header line");
}

std::size_t CsvFile::column(const std::string& name) const {
    for (std::size_t i = 0; i < header_.size(); ++i)
        if (header_[i] == name) return i;
    throw SourceError(path_, headerLine_, "has no column " + name);
}

void CsvFile::fail(const std::string& message) const {
    throw SourceError(path_, lastLine_, message);
}

}  // namespace tables
