#pragma once
#include <string>
#include <string_view>

// The fields of the CSV exports, written as the original files were, except that
// a field that would split or break the line is quoted (inner quotes doubled).
namespace reports {

std::string CsvField(std::string_view text);

// A row name of LedgerRowNames comes with its own trailing ","; the name before
// it is written as a field.
std::string CsvNameField(std::string_view nameWithComma);

}  // namespace reports
