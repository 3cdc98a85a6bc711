#include "ledger/Password.h"

#include <algorithm>

#include "ledger/SysOption.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"

namespace ledger {
namespace {

std::string shifted(std::string_view text, int delta) {
    std::string out(text);
    for (char& c : out) c = char((static_cast<unsigned char>(c) + delta) & 0xFF);
    return out;
}

}  // namespace

std::string EncodePassword(std::string_view plain) {
    return shifted(plain, -16);
}
std::string DecodePassword(std::string_view stored) {
    return shifted(stored, 16);
}

bool IsPasswordCharacter(char32_t c) {
    return c >= 0x20 && c <= 0x7E;
}

bool IsValidPassword(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return IsPasswordCharacter(static_cast<unsigned char>(c)); });
}

std::string ReadPassword(const platform::IniFile& ini) {
    // The lowering works on the stored bytes, which need not form CP932 text.
    return DecodePassword(ini.readBytes(kOptionSection, kPasswordKey));
}

void WritePassword(platform::IniFile& ini, std::string_view plain) {
    if (!IsValidPassword(plain))
        throw platform::ConvertError("パスワードには半角の英数字と記号だけが使えます。");
    ini.writeBytes(kOptionSection, kPasswordKey, "\"" + EncodePassword(plain) + "\"");
}

}  // namespace ledger
