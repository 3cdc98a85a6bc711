#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "withholding/WithholdingRecords.h"

namespace ledger {
struct Ledger;
}

// The rules of the year-end record editors that need no widget: what each field
// of the two layouts shows and stores, the postal-code and date-part rules and
// the status text. The dialogs build their controls from these tables.
namespace withholding {

enum class FieldKind {
    Amount,      // yen, shown FmtAmount(10, v), normalised on leaving
    Count,       // one digit, blank when 0
    DatePart,    // two digits, "%2d", blank when 0
    Text,        // Shift-JIS text of maxLength bytes
    Postal,      // digits and '-', reformatted on leaving
    Digits,      // digits only
    PlainDigit,  // one digit shown as a plain number (0 shows "0"), not normalised
    Check,       // "1" ticked, "" clear
    List,        // the index of a drop-down list as text ("0" = first item)
    Button,      // no record field
};

template <class Rec>
struct RecordField {
    std::string_view name;  // the control
    FieldKind kind;
    int maxLength = 0;  // bytes for text, characters for digits
    // The control's text for the record, and the control's text stored back.
    std::function<std::string(const Rec&)> show;
    std::function<void(Rec&, std::string_view)> store;
};

// Every control of the editor in tab order.
const std::vector<RecordField<TWithholdingRec>>& NewLayoutFields();
const std::vector<RecordField<TWithholdingRecOld>>& OldLayoutFields();

// The index (1..7) of the record's manual flag of an auto field, 0 for any other.
int ManualFieldIndex(std::string_view control);

// Empty when n <= 0, else the decimal digits.
std::string CountText(int n);

// "年調不要" for a record with the 乙欄 flag, else by Status.
std::string StatusText(bool otsu, int status);

// The postal code as the editor rewrites it on leaving the field.
std::string PostalCodeText(std::string_view text);

// Era list indices: 0 none, 1 明治, 2 大正, 3 昭和, 4 平成, 5 令和.
int EraLastYear(int era);
int EraToWesternYear(int era, int year);
int MonthDays(int westernYear, int month);

// A date-part field after leaving it: v != 0 gives "%2d" of v, else empty.
std::string DatePartText(std::string_view text);

enum class DatePart { Year, Month, Day };
enum class DateFocus { None, Era, Year, Month };

struct DateFields {
    std::string year, month, day;
};

struct DateCheck {
    DateFields fields;
    DateFocus focus = DateFocus::None;
};

// The checks run on leaving one part of a date (the part has been rewritten by
// DatePartText). With an era list, era is its index and bounds the year; without
// one the year has no bound and westernOffset turns it into a western year.
DateCheck CheckDateLeave(DateFields fields, DatePart left, bool hasEraList, int era,
                         int westernOffset);

// The western-year offset of an era year of the open year's era (平成 1988, 令和
// 2018): the 就職・退職 date is a date of the open year's era.
int OpenEraOffset(const ledger::Ledger& ledger);

}  // namespace withholding
