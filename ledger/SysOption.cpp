#include "ledger/SysOption.h"

namespace ledger {

SysOption::SysOption() {
    for (std::size_t i = 0; i < attendanceLabels.size(); ++i)
        attendanceLabels[i] = kAttendanceLabelDefaults[i];
    for (std::size_t i = 0; i < paymentLabels.size(); ++i) paymentLabels[i] = kPaymentLabelDefaults[i];
    for (std::size_t i = 0; i < freeLabels.size(); ++i) freeLabels[i] = kFreeLabelDefaults[i];
}

std::string* SysOption::labelForKey(std::string_view key) {
    for (std::size_t i = 0; i < kAttendanceLabelKeys.size(); ++i)
        if (kAttendanceLabelKeys[i] == key) return &attendanceLabels[i];
    for (std::size_t i = 0; i < kPaymentLabelKeys.size(); ++i)
        if (kPaymentLabelKeys[i] == key) return &paymentLabels[i];
    for (std::size_t i = 0; i < kFreeLabelKeys.size(); ++i)
        if (kFreeLabelKeys[i] == key) return &freeLabels[i];
    return nullptr;
}

const std::string* SysOption::labelForKey(std::string_view key) const {
    return const_cast<SysOption*>(this)->labelForKey(key);
}

}  // namespace ledger
