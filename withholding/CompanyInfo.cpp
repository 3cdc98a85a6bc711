#include "withholding/CompanyInfo.h"

#include "ledger/EditRules.h"
#include "platform/Sjis.h"

namespace withholding {

std::string TrimBlanks(std::string_view utf8) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    std::size_t b = 0, e = utf8.size();
    while (b < e && blank(utf8[b])) ++b;
    while (e > b && blank(utf8[e - 1])) --e;
    return std::string(utf8.substr(b, e - b));
}

void StoreCorpInfo(TWithholdingHeader& header, std::string_view address1, std::string_view address2,
                   std::string_view telephone) {
    const auto fitted = [](std::string_view text, int maxBytes) {
        return sjis::fromUtf8(TrimBlanks(ledger::FitEditText(text, maxBytes).text));
    };
    // Converted first, so that a refused text stores nothing.
    const std::string a1 = fitted(address1, kCorpAddressBytes);
    const std::string a2 = fitted(address2, kCorpAddressBytes);
    const std::string tel = fitted(telephone, kCorpTelephoneBytes);
    header.Address1.setBytes(a1);
    header.Address2.setBytes(a2);
    header.Telephone.setBytes(tel);
}

}  // namespace withholding
