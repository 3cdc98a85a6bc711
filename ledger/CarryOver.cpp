#include "ledger/CarryOver.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/PeriodSelection.h"
#include "ledger/YearFileName.h"

namespace ledger {
namespace fs = std::filesystem;

namespace {

void zero(void* p, std::size_t n) {
    std::memset(p, 0, n);
}

void zeroCompanyAndEmployees(Ledger& ledger) {
    zero(&ledger.block->BasicInfo, sizeof(TBasicInfo));
    zero(ledger.block->EmployeeTbl, sizeof ledger.block->EmployeeTbl);
}

void zeroFigures(Ledger& ledger) {
    zero(ledger.block->AttendanceTbl, sizeof ledger.block->AttendanceTbl);
    zero(ledger.block->PaymentTbl, sizeof ledger.block->PaymentTbl);
    zero(ledger.block->DeductionTbl, sizeof ledger.block->DeductionTbl);
}

// Only the length byte goes: the bytes after it stay, as the stored records keep them.
void clearMemos(Ledger& ledger) {
    for (int s = 1; s <= kSlots; ++s) ledger.Employee(s).Memo.len = 0;
}

struct Source {
    fs::path file;
    int period = 0;
};

std::optional<Source> sourceOf(const Ledger& ledger) {
    const int p = ledger.CurData.Period;
    if (p == 1) {
        fs::path prev = CarryOverYearFile(ledger);
        std::error_code ec;
        if (!fs::exists(prev, ec)) return std::nullopt;
        return Source{prev, 12};
    }
    if (p >= kFirstBonus) {
        for (int m = 12; m >= 1; --m)
            if (ledger.FileHeader.PeriodSaved[m - 1]) return Source{ledger.CurData.FileName, m};
        return std::nullopt;
    }
    return Source{ledger.CurData.FileName, p - 1};
}

}  // namespace

void TakeOverMonth(Ledger& ledger, const fs::path& file, int month) {
    auto stored = ReadPeriodBlock(file, month);
    ledger.block->BasicInfo = stored->BasicInfo;
    std::memcpy(static_cast<void*>(ledger.block->EmployeeTbl), stored->EmployeeTbl,
                sizeof stored->EmployeeTbl);
    clearMemos(ledger);
    zeroFigures(ledger);
}

CarryOverResult CarryOver(Ledger& ledger) {
    const int p = ledger.CurData.Period;
    if (auto source = sourceOf(ledger)) {
        TakeOverMonth(ledger, source->file, source->period);
    } else {
        zeroCompanyAndEmployees(ledger);
        zeroFigures(ledger);
    }

    CarryOverResult result;
    if (!ledger.BasicInfo().CorpName.empty() && p <= 12) {
        for (int q = p; q <= 12; ++q)
            if (ledger.FileHeader.PeriodSaved[q - 1]) result.laterDataExist = true;
        if (result.laterDataExist) zeroCompanyAndEmployees(ledger);
    }
    result.needsReference = ledger.BasicInfo().CorpName.empty();
    return result;
}

std::vector<ReferenceItem> BuildReferenceList(const fs::path& dataPath, std::string_view era) {
    std::vector<ReferenceItem> items;
    for (const YearListEntry& y : ExistingYearFiles(dataPath, era)) {
        const TPayrollFileHeader header = ReadFileHeader(y.file);
        for (int m = 1; m <= 12; ++m) {
            if (!header.PeriodSaved[m - 1]) continue;
            char month[8];
            std::snprintf(month, sizeof month, "%2d", m);
            items.push_back({y.text + month + "月分給与", y.file, y.text, m});
        }
    }
    return items;
}

int PreselectReference(const std::vector<ReferenceItem>& items, std::string_view era, int year,
                       int period) {
    if (items.empty()) return -1;
    const std::string open = std::string(era) + std::to_string(year) + "年";
    int chosen = 0;
    for (int i = 0; i < int(items.size()); ++i) {
        if (items[std::size_t(i)].yearText != open) continue;
        chosen = i;
        if (items[std::size_t(i)].month > period) break;
    }
    return chosen;
}

}  // namespace ledger
