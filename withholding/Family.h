#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "withholding/WithholdingRecords.h"

// The spouse and dependants of a new-layout record as the family dialog shows
// and stores them: nine entries (spouse, four dependants, four under 16) and ten
// note lines.
namespace withholding {

inline constexpr int kFamilyEntries = 9;
inline constexpr int kFamilyNotes = 10;  // five for dependants, five for those under 16

// The message when an individual number is not twelve digits.
inline constexpr std::string_view kFamilyNumberMessage = "個人番号は12桁の数字で入力して下さい。";

// Entry 0 the spouse, 1..4 the dependants, 5..8 those under 16.
TFamilyMember& FamilyMember(TWithholdingRec& rec, int entry);
// Note 0..4 of the dependants, 5..9 of those under 16.
ShortString<16>& FamilyNote(TWithholdingRec& rec, int note);

struct FamilyEntryText {
    std::string name;
    std::string furigana;
    std::string number;
    bool nonResident = false;
};

struct FamilyForm {
    std::array<FamilyEntryText, kFamilyEntries> entries;
    std::array<std::string, kFamilyNotes> notes;
};

// Twelve digits with leading zeros, empty for 0.
std::string IndividualNoText(std::int64_t number);

// An individual number as typed: blanks and commas are dropped, then empty gives 0
// and exactly twelve digits give the number; anything else is refused (nothing).
std::optional<std::int64_t> FamilyNumberFromText(std::string_view text);

FamilyForm LoadFamily(const TWithholdingRec& rec);

// Stores the form. Every number is checked first: when one is refused nothing is
// stored and the entry's index is returned; a number shown as stored is kept as it is. Fields whose
// text equals the stored one are left untouched, so the bytes behind a short string never change.
std::optional<int> StoreFamily(TWithholdingRec& rec, const FamilyForm& form);

// The furigana a name's conversions give: each committed conversion appends its
// reading; a blank appends a half-width blank; clearing the name clears the
// furigana. Fed with each new name text and the reading of the last conversion.
class ReadingCapture {
public:
    // source: which name edit changed (any id); returns the furigana to show, or
    // nothing when it stays as it is.
    std::optional<std::string> nameChanged(int source, const std::string& furigana,
                                           const std::string& name, const std::string& reading);

private:
    int lastSource_ = -1;
    std::string lastName_;  // CP932
};

}  // namespace withholding
