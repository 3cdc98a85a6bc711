#pragma once
#include <string>
#include <string_view>

namespace platform {
class IniFile;
}

// The year-end program's switches in [Option] of the shared settings file, held
// in memory from the start of the program. A change made by the payroll program
// is seen only after a restart.
namespace withholding {

inline constexpr std::string_view kDefaultSyubetu = "給与･賞与";
// The 種別 cell of the slips takes this many Shift-JIS bytes.
inline constexpr int kSyubetuBytes = 12;

// How the record editors fill the address from a postal code.
enum PostalLookup : int {
    kPostalLookupNone = 0,
    kPostalLookupImeDictionary = 1,
    kPostalLookupDataFile = 2,  // "YubinNo.dat" in the data folder
};

struct YearEndOption {
    std::string Syubetu{kDefaultSyubetu};  // UTF-8
    // Print corrections in mm; the file holds tenths of a mm. Written by the
    // print dialog only.
    double PrAdjustH = 0.0;
    double PrAdjustV = 0.0;
    // As read from the file, also a value outside PostalLookup.
    int YubinDat = kPostalLookupNone;
    bool AutoSelect = true;
    bool InputOverN = true;
    bool PrintLine = true;
    bool HasuuCut = true;
};

// Reads the keys; a missing or unreadable value gives its default.
YearEndOption LoadYearEndOption(const platform::IniFile& ini);

// Writes Syubetu (unquoted), YubinDat, AutoSelect, InputOverN, PrintLine and
// HasuuCut together; the print corrections are not written. Throws
// platform::IoError (file) or platform::ConvertError (a 種別 without a
// Shift-JIS form), and then the file is unchanged.
void SaveYearEndOption(platform::IniFile& ini, const YearEndOption& option);

}  // namespace withholding
