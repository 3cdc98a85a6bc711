#pragma once
#include <string>
#include <string_view>

// Rules of the entry fields that work on Shift-JIS bytes, kept free of any
// widget so they can be tested directly. Maximum lengths are CP932 byte counts.
namespace ledger {

struct FitResult {
    std::string text;     // UTF-8
    bool cut = false;     // the text was longer than the maximum
    bool filled = false;  // the text now takes the whole maximum: the caret goes to the end
};

// Cuts a UTF-8 text so that its Shift-JIS form has at most maxBytes bytes,
// never splitting a double-byte character. maxBytes <= 0 means no limit.
FitResult FitEditText(std::string_view utf8, int maxBytes);

struct OvertypeResult {
    bool handled = false;  // false: the field inserts the key the usual way
    std::string text;      // CP932, the new text when handled
    int caret = 0;         // byte offset after the written character
};

// Typing in overtype mode. text is the field's CP932 text, caret the byte offset
// of the caret (the start of the selection), selLength the selected bytes,
// maxLength the field's maximum (0: none), key the CP932 bytes of the typed
// character (one or two). The character replaces what stands at the caret;
// replacing half of a double-byte character blanks the other half with a space.
// Not handled when the caret stands at the end or anything is selected: the
// key then replaces the selection as a whole, as in any field, which is what
// the selection on the screen promises. A character that would make the text
// longer than the maximum is dropped.
OvertypeResult OvertypeKey(std::string_view text, int caret, int selLength, int maxLength,
                           std::string_view key);

}  // namespace ledger
