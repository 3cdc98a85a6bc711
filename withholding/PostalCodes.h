#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ledger {
class MessageSink;
}

// The postal-code data "YubinNo.dat" in the data folder and the address look-up
// of the record editors. The file holds Shift-JIS lines: characters 1-7 the
// postal code without its hyphen, character 8 a separator, then the address.
// Lines are searched in file order; the first match wins.
namespace withholding {

struct YearEndOption;

inline constexpr std::string_view kPostalDataFile = "YubinNo.dat";
// The first address line of the record editors takes this many Shift-JIS bytes.
inline constexpr int kAddressLineBytes = 32;

inline constexpr std::string_view kNoPostalData = "(郵便番号データ無し)";
inline constexpr std::string_view kPostalDataDamaged =
    "郵便番号データ(YubinNo.dat)の内容が正しくありません。";

std::filesystem::path PostalDataPath(const std::filesystem::path& dataPath);

// The date of the data as the options dialog shows it: the file's modification
// day "(2024年3月5日データ)", or "(郵便番号データ無し)" when there is no file.
struct PostalDataDate {
    bool exists = false;
    std::string text;
};
PostalDataDate ShowPostalDataDate(const std::filesystem::path& dataPath);

// The key a postal code is searched by: characters 1-3 and 5-8 of "123-4567";
// a five-character key ("123-45") gets "00" appended. Keys of another length
// than seven never match.
std::string PostalLookupKey(std::string_view postalCode);

enum class PostalSearch {
    Found,
    NoMatch,
    NoFile,
    Unreadable,  // the file could not be read, or the matching line is damaged
};
struct PostalSearchResult {
    PostalSearch status = PostalSearch::NoMatch;
    std::string address;  // UTF-8, characters 9-107 of the matching line
    std::string message;  // why the file could not be used
};
PostalSearchResult FindPostalAddress(const std::filesystem::path& file, std::string_view key);

// Run after Enter in the postal-code field: the new text of the first address
// line, cut to its 32 bytes, or nothing when the line is to stay as it is (it is
// already filled, the code is empty, there is no data file, no line matches, or
// the look-up is off). A data file that cannot be read is reported to the sink.
//
// The look-up through the input method's postal dictionary works by feeding the
// code to the input method as key presses; Linux input methods take no key
// presses from the program they serve, so that setting looks nothing up.
std::optional<std::string> LookupAddress(const YearEndOption& option,
                                         const std::filesystem::path& dataPath,
                                         std::string_view postalCode, std::string_view address1,
                                         ledger::MessageSink& sink);

}  // namespace withholding
