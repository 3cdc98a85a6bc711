#include "withholding/PostalCodes.h"

#include <cerrno>
#include <chrono>
#include <ctime>
#include <fstream>
#include <system_error>

#include "ledger/Messages.h"
#include "platform/Errors.h"
#include "platform/Sjis.h"
#include "withholding/YearEndOption.h"

namespace withholding {

namespace {

constexpr std::size_t kCodeChars = 7;
constexpr std::size_t kAddressFirstChar = 8;  // 0-based: the ninth character
constexpr std::size_t kAddressChars = 99;

// Byte offset of the n-th code point of a UTF-8 text (its size when shorter).
std::size_t utf8Offset(std::string_view s, std::size_t n) {
    std::size_t i = 0;
    while (i < s.size() && n > 0) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        --n;
    }
    return i;
}

bool damaged(std::string_view utf8) {
    return utf8.find("\xEF\xBF\xBD") != std::string_view::npos ||
           utf8.find('\0') != std::string_view::npos;
}

}  // namespace

std::filesystem::path PostalDataPath(const std::filesystem::path& dataPath) {
    return dataPath / std::string(kPostalDataFile);
}

PostalDataDate ShowPostalDataDate(const std::filesystem::path& dataPath) {
    std::error_code ec;
    const auto file = PostalDataPath(dataPath);
    const auto when = std::filesystem::last_write_time(file, ec);
    if (ec || !std::filesystem::is_regular_file(file, ec))
        return {false, std::string(kNoPostalData)};
    const auto sys = std::chrono::file_clock::to_sys(when);
    const std::time_t t = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(sys));
    std::tm local{};
    localtime_r(&t, &local);
    return {true, "(" + std::to_string(local.tm_year + 1900) + "年" +
                      std::to_string(local.tm_mon + 1) + "月" + std::to_string(local.tm_mday) +
                      "日データ)"};
}

std::string PostalLookupKey(std::string_view code) {
    std::string key(code.substr(0, 3));
    if (code.size() > 4) key += code.substr(4, 4);
    if (key.size() == 5) key += "00";
    return key;
}

PostalSearchResult FindPostalAddress(const std::filesystem::path& file, std::string_view key) {
    PostalSearchResult r;
    std::error_code ec;
    const auto st = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(st)) {
        r.status = PostalSearch::NoFile;
        return r;
    }
    // A folder or a pipe under the name is no data (and a pipe would never end).
    if (!std::filesystem::is_regular_file(st)) {
        r.status = PostalSearch::Unreadable;
        r.message = std::string(kPostalDataDamaged);
        return r;
    }
    // Only a seven-character ASCII key can equal the code of a line.
    if (key.size() != kCodeChars) return r;
    for (const char c : key)
        if (static_cast<unsigned char>(c) >= 0x80) return r;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        r.status = PostalSearch::Unreadable;
        r.message = platform::IoError::fromErrno(errno).what();
        return r;
    }
    std::string line;
    while (std::getline(in, line)) {
        // The code is ASCII, and no byte of a double-byte character is a digit,
        // so the first bytes compare as characters.
        if (line.compare(0, kCodeChars, key) != 0) continue;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string text = sjis::toUtf8(line);
        const std::size_t from = utf8Offset(text, kAddressFirstChar);
        const std::size_t to =
            from + utf8Offset(std::string_view(text).substr(from), kAddressChars);
        std::string address = text.substr(from, to - from);
        if (damaged(address)) {
            r.status = PostalSearch::Unreadable;
            r.message = std::string(kPostalDataDamaged);
            return r;
        }
        r.status = PostalSearch::Found;
        r.address = std::move(address);
        return r;
    }
    if (in.bad()) {
        r.status = PostalSearch::Unreadable;
        r.message = platform::IoError::fromErrno(errno ? errno : EIO).what();
    }
    return r;
}

std::optional<std::string> LookupAddress(const YearEndOption& option,
                                         const std::filesystem::path& dataPath,
                                         std::string_view postalCode, std::string_view address1,
                                         ledger::MessageSink& sink) {
    if (!address1.empty() || postalCode.empty()) return std::nullopt;
    if (option.YubinDat != kPostalLookupDataFile) return std::nullopt;
    auto found = FindPostalAddress(PostalDataPath(dataPath), PostalLookupKey(postalCode));
    switch (found.status) {
        case PostalSearch::Found:
            return sjis::cutUtf8(found.address, kAddressLineBytes);
        case PostalSearch::NoMatch:
        case PostalSearch::NoFile:  // no data installed: the look-up just finds nothing
            return std::nullopt;
        case PostalSearch::Unreadable:
            sink.warning(found.message);
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace withholding
