#include "ledger/PeriodText.h"

namespace ledger {

std::string PeriodListLabel(int period, const SysOption& option) {
    static constexpr const char* kFullWidthDigits[] = {"１", "２", "３", "４", "５",
                                                       "６", "７", "８", "９"};
    if (period >= 1 && period <= 9) return std::string(kFullWidthDigits[period - 1]) + "月分給与";
    if (period >= 10 && period <= 12) return std::to_string(period) + "月分給与";
    switch (period) {
        case 13:
            return "夏期賞与";
        case 14:
            return "冬期賞与";
        case 15:
            return option.tokuSyoyo;
        default:
            return {};
    }
}

std::string PeriodTitleSuffix(int period, const SysOption& option) {
    if (period >= 1 && period <= 12) return std::to_string(period) + "月分給与";
    switch (period) {
        case 13:
            return "・夏期賞与";
        case 14:
            return "・冬季賞与";  // 季, as the title has always read
        case 15:
            return "・" + option.tokuSyoyo;
        default:
            return {};
    }
}

}  // namespace ledger
