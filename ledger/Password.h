#pragma once
#include <string>
#include <string_view>

namespace platform {
class IniFile;
}

// The start-up password of both programs, kept in [Option] ListFile as a quoted
// text whose every byte is the password's byte lowered by 16. The year-end
// program and existing settings files read this form, so it stays as it is.
namespace ledger {

inline constexpr const char* kPasswordKey = "ListFile";

// Every byte lowered (encode) or raised (decode) by 16, modulo 256.
std::string EncodePassword(std::string_view plain);
std::string DecodePassword(std::string_view stored);

// A password may hold printable ASCII only: its stored form then never holds a
// line end or a byte that is not a character of its own.
bool IsPasswordCharacter(char32_t c);
bool IsValidPassword(std::string_view text);

// The stored password in plain text; empty when none is set.
std::string ReadPassword(const platform::IniFile& ini);

// Stores the password; an empty one removes the lock (ListFile=""). Throws
// platform::IoError when the settings file cannot be written, and
// platform::ConvertError for a text that is not a valid password.
void WritePassword(platform::IniFile& ini, std::string_view plain);

}  // namespace ledger
