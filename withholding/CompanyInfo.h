#pragma once
#include <string>
#include <string_view>

#include "withholding/WithholdingRecords.h"

// The company's address and telephone printed on the year-end forms, typed in
// the company-information dialog into the withholding file's header.
namespace withholding {

inline constexpr int kCorpAddressBytes = 44;
inline constexpr int kCorpTelephoneBytes = 14;

// Removes control characters and half-width blanks at both ends (a full-width
// blank stays: it is text).
std::string TrimBlanks(std::string_view utf8);

// Cuts each text to its typing limit without splitting a double-byte character,
// trims it and stores it in the header. Throws platform::ConvertError, leaving
// the header as it was, when a text has no Shift-JIS form.
void StoreCorpInfo(TWithholdingHeader& header, std::string_view address1, std::string_view address2,
                   std::string_view telephone);

}  // namespace withholding
