#include "reports/CsvField.h"

namespace reports {

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char ch : text) {
        if (ch == '"') out += '"';
        out += ch;
    }
    return out + "\"";
}

std::string CsvNameField(std::string_view name) {
    if (!name.empty() && name.back() == ',') name.remove_suffix(1);
    return CsvField(name) + ",";
}

}  // namespace reports
