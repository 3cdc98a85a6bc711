#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/Sjis.h"

namespace ledger {

// A length-prefixed Shift-JIS string of at most N bytes as stored in the records:
// one length byte, then N bytes. Assignment writes only the length byte and the
// new text; the bytes after it keep what they held, as files written by earlier
// versions expect. A length byte above N (a damaged file) is read as N.
template <std::size_t N>
struct ShortString {
    static_assert(N >= 1 && N <= 255);
    std::uint8_t len;
    char text[N];

    static constexpr std::size_t capacity = N;

    std::size_t length() const { return std::min<std::size_t>(len, N); }
    bool empty() const { return length() == 0; }

    // The stored CP932 bytes.
    std::string_view bytes() const { return std::string_view(text, length()); }
    // The text as UTF-8.
    std::string str() const { return sjis::toUtf8(bytes()); }

    // Stores CP932 bytes, cut to N bytes without splitting a double-byte character.
    void setBytes(std::string_view cp932) {
        std::string_view cut = sjis::cutBytes(cp932, N);
        std::memcpy(text, cut.data(), cut.size());
        len = static_cast<std::uint8_t>(cut.size());
    }
    // Stores a UTF-8 text; throws platform::ConvertError when it has no CP932 form.
    void set(std::string_view utf8) { setBytes(sjis::fromUtf8(utf8)); }

    // Zeroes the bytes after the current length.
    void clearTail() {
        std::size_t n = length();
        std::memset(text + n, 0, N - n);
    }

    // Same length byte and text; the tails do not count.
    bool sameText(const ShortString& o) const { return bytes() == o.bytes(); }
};

}  // namespace ledger
