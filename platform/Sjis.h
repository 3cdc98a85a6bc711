#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Shift-JIS (code page 932) on disk, UTF-8 in memory. Every conversion between
// the two goes through here.
namespace sjis {

// True for the first byte of a double-byte character: 0x81..0x9F, 0xE0..0xFC.
bool isLead(unsigned char byte);

// CP932 bytes to UTF-8. Bytes that form no character become U+FFFD, so a damaged
// record still shows; it never throws.
std::string toUtf8(std::string_view cp932);

// UTF-8 to CP932, or nothing when a character has no CP932 form.
std::optional<std::string> tryFromUtf8(std::string_view utf8);

// UTF-8 to CP932; throws platform::ConvertError naming the first character that
// has no CP932 form.
std::string fromUtf8(std::string_view utf8);

// Whether every character of the UTF-8 text has a CP932 form.
bool encodable(std::string_view utf8);

// Length of the text's CP932 form in bytes (characters with no form count 2).
std::size_t byteLength(std::string_view utf8);

// The longest head of a CP932 text of at most maxBytes bytes that does not split
// a double-byte character.
std::string_view cutBytes(std::string_view cp932, std::size_t maxBytes);

// The longest head of a UTF-8 text whose CP932 form has at most maxBytes bytes.
std::string cutUtf8(std::string_view utf8, std::size_t maxBytes);

}  // namespace sjis
