#include "platform/Sjis.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/Errors.h"

namespace sjis {
namespace {

// One conversion descriptor per call keeps the functions free of shared state.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one character sequence; false when the input is invalid at in.
    bool step(const char*& in, std::size_t& inLeft, std::string& out) {
        char buf[256];
        char* outp = buf;
        std::size_t outLeft = sizeof buf;
        auto* inp = const_cast<char*>(in);
        std::size_t r = iconv(cd_, &inp, &inLeft, &outp, &outLeft);
        int err = errno;
        out.append(buf, std::size_t(outp - buf));
        in = inp;
        if (r != std::size_t(-1)) return true;
        return err == E2BIG;
    }

private:
    iconv_t cd_;
};

std::size_t utf8CharLength(unsigned char c) {
    if (c < 0x80) return 1;
    if ((c & 0xE0) == 0xC0) return 2;
    if ((c & 0xF0) == 0xE0) return 3;
    if ((c & 0xF8) == 0xF0) return 4;
    return 1;
}

// The length of the character at i, never past the end; a broken sequence counts
// its lead byte alone, so the next character is still found.
std::size_t charAt(std::string_view utf8, std::size_t i, bool* valid = nullptr) {
    std::size_t n = utf8CharLength(static_cast<unsigned char>(utf8[i]));
    bool ok = n > 1 || static_cast<unsigned char>(utf8[i]) < 0x80;
    if (i + n > utf8.size()) ok = false;
    for (std::size_t k = 1; ok && k < n; ++k)
        ok = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
    if (valid) *valid = ok;
    return ok ? n : 1;
}

}  // namespace

bool isLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::string toUtf8(std::string_view cp932) {
    Converter conv("UTF-8", "CP932");
    std::string out;
    const char* in = cp932.data();
    std::size_t left = cp932.size();
    while (left > 0) {
        if (conv.step(in, left, out)) continue;
        // Skip one undecodable byte (or a lead byte with no trail) and go on.
        out += "\xEF\xBF\xBD";
        ++in;
        --left;
    }
    return out;
}

std::optional<std::string> tryFromUtf8(std::string_view utf8) {
    Converter conv("CP932", "UTF-8");
    std::string out;
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    while (left > 0)
        if (!conv.step(in, left, out)) return std::nullopt;
    return out;
}

std::string fromUtf8(std::string_view utf8) {
    if (auto s = tryFromUtf8(utf8)) return *s;
    // Name the first character that has no form, so the message helps the user.
    for (std::size_t i = 0; i < utf8.size();) {
        bool valid = false;
        std::size_t n = charAt(utf8, i, &valid);
        // A broken byte is named as the replacement character: the message itself
        // must stay valid UTF-8.
        if (!valid || !tryFromUtf8(utf8.substr(i, n)))
            throw platform::ConvertError("｢" + (valid ? std::string(utf8.substr(i, n)) : "\uFFFD") +
                                         "｣はこのシステムで使えない文字です。");
        i += n;
    }
    throw platform::ConvertError("このシステムで使えない文字が含まれています。");
}

bool encodable(std::string_view utf8) {
    return tryFromUtf8(utf8).has_value();
}

std::size_t byteLength(std::string_view utf8) {
    if (auto s = tryFromUtf8(utf8)) return s->size();
    std::size_t total = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t n = charAt(utf8, i);
        auto one = tryFromUtf8(utf8.substr(i, n));
        total += one ? one->size() : 2;
        i += n;
    }
    return total;
}

std::string_view cutBytes(std::string_view cp932, std::size_t maxBytes) {
    std::size_t i = 0;
    while (i < cp932.size()) {
        std::size_t n = isLead(static_cast<unsigned char>(cp932[i])) ? 2 : 1;
        if (i + n > maxBytes || i + n > cp932.size()) break;
        i += n;
    }
    return cp932.substr(0, i);
}

std::string cutUtf8(std::string_view utf8, std::size_t maxBytes) {
    std::size_t bytes = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::size_t n = charAt(utf8, i);
        std::size_t w =
            static_cast<unsigned char>(utf8[i]) < 0x80 ? 1 : byteLength(utf8.substr(i, n));
        if (bytes + w > maxBytes) break;
        bytes += w;
        i += n;
    }
    return std::string(utf8.substr(0, i));
}

}  // namespace sjis
