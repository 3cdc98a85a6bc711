#include "ledger/EditRules.h"

#include <vector>

#include "platform/Sjis.h"

namespace ledger {
namespace {

// Length in bytes of the character starting at each offset, 0 inside a
// double-byte character.
std::vector<int> charLengths(std::string_view t) {
    std::vector<int> len(t.size(), 0);
    for (std::size_t i = 0; i < t.size();) {
        int n = sjis::isLead(static_cast<unsigned char>(t[i])) && i + 1 < t.size() ? 2 : 1;
        len[i] = n;
        i += std::size_t(n);
    }
    return len;
}

}  // namespace

FitResult FitEditText(std::string_view utf8, int maxBytes) {
    FitResult r;
    if (maxBytes <= 0) {
        r.text = std::string(utf8);
        return r;
    }
    std::size_t bytes = sjis::byteLength(utf8);
    r.cut = bytes > std::size_t(maxBytes);
    r.text = r.cut ? sjis::cutUtf8(utf8, std::size_t(maxBytes)) : std::string(utf8);
    r.filled = sjis::byteLength(r.text) == std::size_t(maxBytes);
    return r;
}

OvertypeResult OvertypeKey(std::string_view text, int caret, int selLength, int maxLength,
                           std::string_view key) {
    OvertypeResult r{false, std::string(text), caret};
    if (key.empty() || key.size() > 2 || caret < 0 || std::size_t(caret) >= text.size()) return r;
    if (selLength > 0) return r;

    std::vector<int> len = charLengths(text);
    std::size_t c = std::size_t(caret);
    if (len[c] == 0) --c;  // never start writing in the middle of a character

    std::string& t = r.text;
    if (key.size() == 1) {
        t[c] = key[0];
        if (len[c] == 2) t[c + 1] = ' ';
    } else if (len[c] == 2) {
        t[c] = key[0];
        t[c + 1] = key[1];
    } else {
        // A single-byte character gives way to the lead byte; the trail byte
        // takes the next position, blanking the rest of what stood there.
        t[c] = key[0];
        std::size_t next = c + 1;
        if (next >= t.size()) {
            t += key[1];
        } else {
            t[next] = key[1];
            if (len[next] == 2) t[next + 1] = ' ';
        }
    }
    if (maxLength > 0 && t.size() > std::size_t(maxLength)) {
        // No room left: the key is dropped.
        return {true, std::string(text), caret};
    }
    r.handled = true;
    r.caret = int(c + key.size());
    return r;
}

}  // namespace ledger
