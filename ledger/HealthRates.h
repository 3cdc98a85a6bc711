#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The health-insurance rates by prefecture, the text file "健康保険料率.dat"
// beside the program: one CP932 line per prefecture, bytes 1-10 the name padded
// with blanks, bytes 11-15 the full rate in percent ("神奈川県  10.19").
namespace ledger {

inline constexpr const char* kHealthRatesFileName = "健康保険料率.dat";

struct HealthRateLine {
    std::string text;  // the line as listed (UTF-8), "%" appended
    double rate = 0;   // the full rate in percent
};

// The rate of one CP932 line (line end already removed), or nothing when the
// line is too short or bytes 11-15 are not a rate.
std::optional<double> ParseHealthRateLine(std::string_view cp932);

// The lines of the file in order; a malformed line is left out and a missing
// file gives an empty list. Throws platform::IoError when the file exists but
// cannot be read.
std::vector<HealthRateLine> ReadHealthRates(const std::filesystem::path& file);

// What the settings dialog takes from a chosen line: half the full rate (the
// employee's share).
inline double EmployeeShare(const HealthRateLine& line) {
    return line.rate / 2;
}

}  // namespace ledger
