// Writes the statutory table files the payroll program reads from its folder,
// from the official figures kept as CSV beside this file:
//   the monthly tax table "税額表(給与).dat" (16,788 bytes),
//   the bonus tax table "税額表(賞与).dat" (1,856 bytes),
//   the grade table "健康保険料額表.dat" (972 bytes),
//   the prefecture rates "健康保険料率.dat" (CP932 text, CR LF), each the
//   prefecture's health rate plus the nation-wide 子ども・子育て支援金 rate of the
//   premium month the file is for.
// Every source is checked before anything is written: a gap, an overlap or rows
// out of order stop the build with the file and line at fault, and no table file
// is written.

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Sjis.h"
#include "tables/Csv.h"

namespace {

using tables::CsvFile;
using tables::CsvRow;
using tables::Decimal;

// The upper bound written for a range without one; no int32 amount reaches it.
constexpr std::int64_t kNoUpperLimit = std::numeric_limits<std::int32_t>::max();

constexpr std::size_t kSalarySize = 16788;
constexpr int kSalaryMaxRows = 380;
constexpr std::size_t kBonusSize = 1856;
constexpr int kBonusKouMaxRows = 24;
constexpr int kBonusOtsuMaxRows = 10;
constexpr std::size_t kGradeSize = 972;
constexpr int kGradeMaxCount = 80;
constexpr int kPrefectures = 47;

// A file image filled field by field, little-endian.
class Image {
public:
    explicit Image(std::size_t size) : bytes_(size, '\0') {}
    void int32At(std::size_t offset, std::int64_t v) {
        const auto x = static_cast<std::int32_t>(v);
        std::memcpy(bytes_.data() + offset, &x, sizeof x);
    }
    void doubleAt(std::size_t offset, double v) {
        std::memcpy(bytes_.data() + offset, &v, sizeof v);
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};
static_assert(std::endian::native == std::endian::little);

std::int64_t int32Cell(const CsvRow& row, const std::string& column) {
    const std::int64_t v = row.integer(column);
    if (v < 0 || v > std::numeric_limits<std::int32_t>::max())
        row.fail("column " + column + " is out of range: " + std::to_string(v));
    return v;
}

std::string yen(std::int64_t v) {
    return std::to_string(v);
}

// One link of a chain of ranges: [from, to), `to` empty for the open end.
struct Range {
    const CsvRow* row;
    std::int64_t from;
    std::optional<std::int64_t> to;
};

// Checks that each range starts where the one before it ended. Only the last may
// be open-ended; a range may be empty but not reversed.
void checkChain(const std::vector<Range>& ranges, const std::string& what) {
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        const Range& r = ranges[i];
        if (!r.to && i + 1 != ranges.size())
            r.row->fail(what + ": only the last range may be open-ended");
        if (r.to && *r.to < r.from)
            r.row->fail(what + ": range ends at " + yen(*r.to) + ", before its start " +
                        yen(r.from));
        if (i == 0) continue;
        const Range& p = ranges[i - 1];
        const std::string before = "the row on line " + std::to_string(p.row->line());
        if (r.from < p.from)
            r.row->fail(what + ": out of order, starts at " + yen(r.from) + ", before " + before +
                        " (" + yen(p.from) + ")");
        if (r.from < *p.to)
            r.row->fail(what + ": overlaps " + before + ", which runs to " + yen(*p.to));
        if (r.from > *p.to)
            r.row->fail(what + ": gap between " + yen(*p.to) + " (end of " + before + ") and " +
                        yen(r.from));
    }
}

// ---------------------------------------------------------------- monthly table

struct Segment {
    const CsvRow* row;
    std::int64_t from;
    std::optional<std::int64_t> to;
    Decimal rate;
    std::array<std::int64_t, 8> kouBase{};
    std::int64_t otsuBase = 0;

    // The official formula at an amount inside the segment (fractions of a yen
    // cut off).
    std::int64_t otsuAt(std::int64_t amount) const {
        return otsuBase + rate.timesTruncated(amount - from);
    }
};

struct Params {
    std::int64_t firstLower = 0;
    Decimal otsuLowRate;
    std::int64_t kouExtraDependant = 0;
    std::int64_t otsuDependant = 0;
};

Params readParams(const std::string& path, const std::string& period) {
    CsvFile csv(path);
    std::map<std::string, const CsvRow*> found;
    for (const CsvRow& row : csv.rows()) {
        if (row.text("period") != period) continue;
        if (found.count(row.text("parameter")))
            row.fail("parameter " + row.text("parameter") + " given twice for " + period);
        found[row.text("parameter")] = &row;
    }
    auto need = [&](const std::string& name) -> const CsvRow& {
        auto it = found.find(name);
        if (it == found.end()) csv.fail("no parameter " + name + " for period " + period);
        return *it->second;
    };
    Params p;
    p.firstLower = int32Cell(need("table_first_lower_yen"), "value");
    p.otsuLowRate = need("otsu_low_rate").decimal("value");
    p.kouExtraDependant = int32Cell(need("kou_extra_dependant_deduction_yen"), "value");
    p.otsuDependant = int32Cell(need("otsu_dependant_deduction_yen"), "value");
    return p;
}

std::string buildMonthly(const std::string& rowsPath, const std::string& formulaPath,
                         const Params& params) {
    CsvFile rows(rowsPath);
    if (rows.rows().empty()) rows.fail("has no rows");
    std::vector<Range> ranges;
    for (const CsvRow& row : rows.rows())
        ranges.push_back({&row, int32Cell(row, "lower_yen"), int32Cell(row, "upper_yen")});
    for (const Range& r : ranges)
        if (*r.to <= r.from) r.row->fail("upper_yen " + yen(*r.to) + " is not above lower_yen");
    checkChain(ranges, "monthly rows");
    const std::int64_t first = ranges.front().from;
    const std::int64_t end = *ranges.back().to;
    if (first != params.firstLower)
        rows.rows().front().fail("the first row starts at " + yen(first) + ", the parameters say " +
                                 yen(params.firstLower));

    CsvFile formula(formulaPath);
    std::vector<Segment> kou, otsu;
    for (const CsvRow& row : formula.rows()) {
        Segment s{&row, int32Cell(row, "from_yen"), row.optionalInteger("to_yen"),
                  row.decimal("rate")};
        const std::string& column = row.text("column");
        if (column == "kou") {
            for (int i = 0; i < 8; ++i)
                s.kouBase[std::size_t(i)] = int32Cell(row, "base_kou_" + std::to_string(i));
            kou.push_back(s);
        } else if (column == "otsu") {
            s.otsuBase = int32Cell(row, "base_otsu");
            otsu.push_back(s);
        } else {
            row.fail("column is \"" + column + "\", not kou or otsu");
        }
    }

    // Each column: one range below the rows, then a chain from the end of the rows.
    auto checkColumn = [&](const std::vector<Segment>& segs, const std::string& name) {
        if (segs.size() < 2) formula.fail("needs a " + name + " range below and above the rows");
        const Segment& low = segs.front();
        if (low.from != 0 || low.to != first)
            low.row->fail(name + ": the first range must run from 0 to the first row (" +
                          yen(first) + ")");
        if (segs[1].from != end)
            segs[1].row->fail(name + ": the formula must start where the rows end (" + yen(end) +
                              "), not at " + yen(segs[1].from));
        std::vector<Range> chain;
        for (std::size_t i = 1; i < segs.size(); ++i)
            chain.push_back({segs[i].row, segs[i].from, segs[i].to});
        checkChain(chain, name + " formula");
        if (chain.back().to) chain.back().row->fail(name + ": the last range must be open-ended");
    };
    checkColumn(kou, "kou");
    checkColumn(otsu, "otsu");

    // Below the rows the layout has no 甲 tax and a single 乙 rate on the amount.
    const Segment& kouLow = kou.front();
    if (kouLow.rate.numerator != 0)
        kouLow.row->fail("kou below the rows: the layout holds no tax there, rate must be 0");
    for (std::int64_t b : kouLow.kouBase)
        if (b != 0) kouLow.row->fail("kou below the rows: the layout holds no tax there");
    const Segment& otsuLow = otsu.front();
    if (otsuLow.otsuBase != 0)
        otsuLow.row->fail("otsu below the rows: the layout holds only a rate on the amount");
    if (!otsuLow.rate.sameValue(params.otsuLowRate))
        otsuLow.row->fail("otsu below the rows: rate differs from the parameter otsu_low_rate");

    // The layout holds three 甲 formula starts (A, B, C); the 乙 column uses A and
    // B. Ranges starting later cannot be held: amounts there are taxed at the
    // rate from C (甲) or B (乙). They must all start at or after the fourth 甲
    // start, so that everything below it is exact.
    if (kou.size() < 4) formula.fail("needs three kou formula ranges above the rows");
    const Segment& kA = kou[1];
    const Segment& kB = kou[2];
    const Segment& kC = kou[3];
    const std::int64_t exactBelow = kou.size() > 4 ? kou[4].from : kNoUpperLimit;
    const Segment& oA = otsu[1];
    if (oA.to && *oA.to < kB.from)
        oA.row->fail("otsu: a formula range starting between " + yen(kA.from) + " and " +
                     yen(kB.from) + " cannot be held");
    const Segment* oB = &oA;
    for (std::size_t i = 2; i < otsu.size(); ++i) {
        if (otsu[i].from == kB.from) {
            oB = &otsu[i];
        } else if (otsu[i].from < exactBelow) {
            otsu[i].row->fail("otsu: a formula range starting at " + yen(otsu[i].from) +
                              ", before " + yen(exactBelow) + ", cannot be held");
        }
    }
    auto otsuAt = [&](std::int64_t amount) {
        for (std::size_t i = otsu.size(); i-- > 1;)
            if (otsu[i].from <= amount) return otsu[i].otsuAt(amount);
        return std::int64_t(0);
    };

    const std::size_t n = rows.rows().size() + 3;
    if (n > std::size_t(kSalaryMaxRows))
        rows.fail("has " + std::to_string(n - 3) + " rows; with the 3 formula rows at most " +
                  std::to_string(kSalaryMaxRows) + " fit");

    Image img(kSalarySize);
    img.int32At(0, std::int64_t(n));
    auto putRow = [&](std::size_t k, std::int64_t lower, std::int64_t upper,
                      const std::array<std::int64_t, 8>& kouTax, std::int64_t otsuTax) {
        const std::size_t at = 4 + 44 * (k - 1);
        img.int32At(at, lower);
        img.int32At(at + 4, upper);
        for (std::size_t i = 0; i < 8; ++i) img.int32At(at + 8 + 4 * i, kouTax[i]);
        img.int32At(at + 40, otsuTax);
    };
    std::size_t k = 1;
    for (const CsvRow& row : rows.rows()) {
        std::array<std::int64_t, 8> kouTax{};
        for (int i = 0; i < 8; ++i)
            kouTax[std::size_t(i)] = int32Cell(row, "kou_" + std::to_string(i));
        putRow(k++, int32Cell(row, "lower_yen"), int32Cell(row, "upper_yen"), kouTax,
               int32Cell(row, "otsu"));
    }
    // The formula rows carry the tax at their start.
    putRow(k++, kA.from, kB.from, kA.kouBase, otsuAt(kA.from));
    putRow(k++, kB.from, kC.from, kB.kouBase, otsuAt(kB.from));
    putRow(k++, kC.from, kC.to.value_or(kNoUpperLimit), kC.kouBase, otsuAt(kC.from));

    img.doubleAt(16724, kA.rate.value);
    img.doubleAt(16732, kB.rate.value);
    img.doubleAt(16740, kC.rate.value);
    img.doubleAt(16756, otsuLow.rate.value);
    img.doubleAt(16764, oA.rate.value);
    img.doubleAt(16772, oB->rate.value);
    img.int32At(16780, params.kouExtraDependant);
    img.int32At(16784, params.otsuDependant);
    return img.bytes();
}

// ------------------------------------------------------------------ bonus table

std::string buildBonus(const std::string& path) {
    CsvFile csv(path);
    const auto& rows = csv.rows();
    if (rows.empty()) csv.fail("has no rows");
    if (rows.size() > std::size_t(kBonusKouMaxRows))
        csv.fail("has " + std::to_string(rows.size()) + " rates, at most " +
                 std::to_string(kBonusKouMaxRows) + " fit");

    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Decimal rate = rows[i].decimal("rate");
        Decimal percent = rows[i].decimal("rate_percent");
        percent.decimals += 2;
        if (!rate.sameValue(percent)) rows[i].fail("rate and rate_percent differ");
        if (i > 0 && !(rows[i - 1].decimal("rate").value < rate.value))
            rows[i].fail("rates out of order: not above the rate of line " +
                         std::to_string(rows[i - 1].line()));
    }

    auto rangesOf = [&](const std::vector<const CsvRow*>& used, const std::string& prefix) {
        std::vector<Range> ranges;
        for (std::size_t i = 0; i < used.size(); ++i) {
            const CsvRow& row = *used[i];
            std::optional<std::int64_t> from = row.optionalInteger(prefix + "_from_yen");
            if (!from && i > 0) row.fail(prefix + ": only the first range may have no start");
            ranges.push_back({&row, from.value_or(0), row.optionalInteger(prefix + "_to_yen")});
        }
        if (ranges.front().from != 0)
            ranges.front().row->fail(prefix + ": the first range must start at 0");
        checkChain(ranges, prefix);
        if (ranges.back().to) ranges.back().row->fail(prefix + ": the last range must be open");
        return ranges;
    };

    Image img(kBonusSize);
    img.int32At(0, std::int64_t(rows.size()));
    std::vector<const CsvRow*> all;
    for (const CsvRow& row : rows) all.push_back(&row);
    for (int c = 0; c < 8; ++c) {
        const std::vector<Range> ranges = rangesOf(all, "kou_" + std::to_string(c));
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            const std::size_t at = 4 + 72 * i;
            img.doubleAt(at, rows[i].decimal("rate").value);
            img.int32At(at + 8 + 8 * std::size_t(c), ranges[i].from);
            img.int32At(at + 12 + 8 * std::size_t(c), ranges[i].to.value_or(kNoUpperLimit));
        }
    }

    std::vector<const CsvRow*> otsu;
    for (const CsvRow& row : rows)
        if (!row.empty("otsu_from_yen") || !row.empty("otsu_to_yen")) otsu.push_back(&row);
    if (otsu.empty()) csv.fail("has no otsu rates");
    if (otsu.size() > std::size_t(kBonusOtsuMaxRows))
        csv.fail("has " + std::to_string(otsu.size()) + " otsu rates, at most " +
                 std::to_string(kBonusOtsuMaxRows) + " fit");
    const std::vector<Range> ranges = rangesOf(otsu, "otsu");
    img.int32At(1732, std::int64_t(otsu.size()));
    for (std::size_t i = 0; i < otsu.size(); ++i) {
        const std::size_t at = 1736 + 12 * i;
        img.doubleAt(at, otsu[i]->decimal("rate").value);
        img.int32At(at + 8, ranges[i].to.value_or(kNoUpperLimit));
    }
    return img.bytes();
}

// ------------------------------------------------------------------ grade table

std::string buildGrades(const std::string& path) {
    CsvFile csv(path);
    const auto& rows = csv.rows();
    if (rows.empty()) csv.fail("has no grades");
    if (rows.size() > std::size_t(kGradeMaxCount))
        csv.fail("has " + std::to_string(rows.size()) + " grades, at most " +
                 std::to_string(kGradeMaxCount) + " fit");

    std::vector<Range> ranges;
    std::int64_t pensionLowest = 0, pensionHighest = 0, lastPension = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CsvRow& row = rows[i];
        const std::int64_t grade = row.integer("health_grade");
        if (grade != std::int64_t(i + 1))
            row.fail("health_grade " + std::to_string(grade) + " where " + std::to_string(i + 1) +
                     " is due (missing or out of order)");
        std::optional<std::int64_t> from = row.optionalInteger("lower_yen");
        if (!from && i > 0) row.fail("only the first grade may have no lower_yen");
        ranges.push_back({&row, from.value_or(0), row.optionalInteger("upper_yen")});
        const std::int64_t standard = int32Cell(row, "standard_monthly_yen");
        if (standard < ranges.back().from || (ranges.back().to && standard >= *ranges.back().to))
            row.fail("the standard amount lies outside its own range");
        if (auto pension = row.optionalInteger("pension_grade")) {
            if (*pension != lastPension + 1 || (lastPension > 0 && pensionHighest != grade - 1))
                row.fail("pension grades must run 1, 2, 3 ... on consecutive health grades");
            if (lastPension == 0) pensionLowest = grade;
            pensionHighest = grade;
            lastPension = *pension;
        }
    }
    checkChain(ranges, "grades");
    if (ranges.back().to) ranges.back().row->fail("the highest grade must have no upper_yen");
    if (lastPension == 0) csv.fail("has no pension grades");

    Image img(kGradeSize);
    img.int32At(0, std::int64_t(rows.size()));
    img.int32At(4, pensionLowest);
    img.int32At(8, pensionHighest);
    for (std::size_t g = 1; g <= rows.size(); ++g) {
        img.int32At(12 * g, ranges[g - 1].from);
        img.int32At(12 * g + 4, ranges[g - 1].to.value_or(kNoUpperLimit));
        img.int32At(12 * g + 8, rows[g - 1].integer("standard_monthly_yen"));
    }
    return img.bytes();
}

// ------------------------------------------------------------ prefecture rates

constexpr const char* kSupportItem = "子ども・子育て支援金率";

// The 子ども・子育て支援金 rate valid in a premium month ("2026-04"), in hundredths
// of a percent, from the nation-wide rates; 0 before it was first levied. Months
// compare as text, "YYYY-MM". The item must appear at all, so that a renamed row
// is not taken for a month without the levy.
std::int64_t supportRate(const std::string& path, const std::string& month) {
    CsvFile csv(path);
    bool listed = false;
    std::optional<std::int64_t> found;
    for (const CsvRow& row : csv.rows()) {
        if (row.text("item") != kSupportItem) continue;
        listed = true;
        const std::string& from = row.text("valid_from");
        const std::string& to = row.text("valid_to");
        if (from > month || (!to.empty() && to < month)) continue;
        if (found) row.fail(std::string(kSupportItem) + " given twice for " + month);
        std::optional<Decimal> rate = row.decimal("rate_percent").scaledTo(2);
        if (!rate || rate->numerator < 0) row.fail("the rate must have at most two decimals");
        found = rate->numerator;
    }
    if (!listed) csv.fail(std::string("has no row ") + kSupportItem);
    return found.value_or(0);
}

// Each line: the prefecture's rate plus the support rate (hundredths of a percent).
std::string buildRates(const std::string& path, std::int64_t support) {
    CsvFile csv(path);
    const auto& rows = csv.rows();
    std::string out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CsvRow& row = rows[i];
        const std::int64_t code = row.integer("jis_code");
        if (code != std::int64_t(i + 1))
            row.fail("jis_code " + std::to_string(code) + " where " + std::to_string(i + 1) +
                     " is due (missing or out of order)");
        std::optional<std::string> name = sjis::tryFromUtf8(row.text("prefecture"));
        if (!name) row.fail("the prefecture has no Shift-JIS form");
        if (name->empty() || name->size() > 10)
            row.fail("the prefecture must take 1 to 10 bytes in Shift-JIS");
        std::optional<Decimal> rate = row.decimal("health_rate_percent").scaledTo(2);
        if (!rate) row.fail("the rate must have at most two decimals");
        rate->numerator += support;
        if (rate->numerator >= 10000) row.fail("the rate with the support rate must be below 100");
        char text[8];
        std::snprintf(text, sizeof text, "%2d.%02d", int(rate->numerator / 100),
                      int(rate->numerator % 100));
        out += *name + std::string(10 - name->size(), ' ') + text + "\r\n";
    }
    if (rows.size() != std::size_t(kPrefectures))
        csv.fail("has " + std::to_string(rows.size()) + " prefectures, " +
                 std::to_string(kPrefectures) + " are due");
    return out;
}

void write(const std::string& path, const std::string& bytes) {
    try {
        // Program data that every account running this build reads, unlike pay data.
        platform::writeFileAtomic(path, bytes, 0644);
    } catch (const std::exception& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
}

void usage() {
    std::cerr << "usage: make_statutory_tables --period R08 --monthly rows.csv"
                 " --monthly-formula formula.csv --params params.csv --bonus bonus.csv"
                 " --grades grades.csv --rates rates.csv --social social.csv"
                 " --rates-month 2026-04 --salary-out f --bonus-out f --grades-out f"
                 " --rates-out f\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> args;
    for (int i = 1; i + 1 < argc; i += 2) args[argv[i]] = argv[i + 1];
    const char* keys[] = {"--period",      "--monthly",    "--monthly-formula", "--params",
                          "--bonus",       "--grades",     "--rates",           "--social",
                          "--rates-month", "--salary-out", "--bonus-out",       "--grades-out",
                          "--rates-out"};
    for (const char* key : keys) {
        if (!args.count(key)) {
            std::cerr << "make_statutory_tables: " << key << " is missing\n";
            usage();
            return 2;
        }
    }
    try {
        const Params params = readParams(args["--params"], args["--period"]);
        const std::string salary =
            buildMonthly(args["--monthly"], args["--monthly-formula"], params);
        const std::string bonus = buildBonus(args["--bonus"]);
        const std::string grades = buildGrades(args["--grades"]);
        const std::string rates =
            buildRates(args["--rates"], supportRate(args["--social"], args["--rates-month"]));
        // Written only once every source has passed.
        write(args["--salary-out"], salary);
        write(args["--bonus-out"], bonus);
        write(args["--grades-out"], grades);
        write(args["--rates-out"], rates);
    } catch (const std::exception& e) {
        std::cerr << "make_statutory_tables: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
