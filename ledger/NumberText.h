#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "ledger/Messages.h"
#include "platform/Errors.h"

// Numbers as the user types and reads them: thousands separators, hours as h:mm,
// and the digit budget of each input field. Texts are UTF-8.
namespace ledger {

// The message shown when a text is not a number ("｢12a｣は正しい数値ではありません。").
std::string notANumberText(std::string_view text);
platform::ConvertError notANumber(std::string_view text);

// The value rounded to `decimals` places, halves away from zero on its decimal
// form (so 0.125 gives "0.13" and 2.5 gives "3"), with "," between thousands when
// asked. A value that rounds to zero has no sign.
std::string fixedText(double value, int decimals, bool thousands = false);

// Right-aligns a text in width characters; a longer text is never cut.
std::string padLeft(std::string text, int width);

// An amount rounded to whole yen with thousands separators, right-aligned in width
// characters ("%*.0n").
std::string FmtAmount(int width, double value);

// The text without its "," and " ".
std::string StripNum(std::string_view text);

// 0 for a blank text, else the integer of the text without separators; anything
// else throws platform::ConvertError.
std::int32_t StrToIntNum(std::string_view text);

// Like StrToIntNum, but separators are removed before the blank test, so " , " is 0.
std::int32_t StrToIntDef0(std::string_view text);

// A typed number: separators and blanks ignored, a trailing sign dropped, the walk
// ending at the first other character ("3.5kg" is 3.5); a text with ":" is read as
// hours. A second sign, point or colon reports "入力エラー" to `messages` and gives
// 0; a sign between digits ("1-2") throws platform::ConvertError.
double StrToNum(std::string_view text, MessageSink& messages);

// Hours typed as h:mm ("-0:15" is -0.25); a text without ":" is read by StrToNum.
double TimeStrToHours(std::string_view text, MessageSink& messages);

// Hours as shown in the lists: timeStyle 0 "%6.2f" ("  1.50"), otherwise h:mm
// right-aligned in six characters ("  1:30", " -0:15").
std::string FmtHours(double hours, int timeStyle);

// What CheckNumEdit made of a typed number: the normalised text (empty when the
// input was refused or blank) and the message to show, empty when none.
struct NumEditResult {
    std::string text;
    std::string message;
};

// Normalises a typed number to its field's format code (digits × 10 + decimals:
// 52, 62, 70, 90, 100, 10, 20 ...). Only the first failing test is reported.
NumEditResult CheckNumEdit(std::string_view text, int formatCode);

// The integer digits a field of the format code takes.
int integerDigitBudget(int formatCode);

}  // namespace ledger
