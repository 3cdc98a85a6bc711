#include "ledger/ChangeCheck.h"

#include <cstring>
#include <memory>

#include "ledger/Ledger.h"
#include "platform/Errors.h"

namespace ledger {

void NormaliseStringTails(Ledger& ledger) {
    ledger.BasicInfo().CorpName.clearTail();
    for (int slot = 1; slot <= kSlots; ++slot) {
        TEmployeeRec& e = ledger.Employee(slot);
        e.Name.clearTail();
        e.Kana.clearTail();
        e.Dept.clearTail();
        e.Code.clearTail();
        e.BankName.clearTail();
        e.BankKana.clearTail();
        e.BranchName.clearTail();
        e.BranchKana.clearTail();
        e.AccountNo.clearTail();
    }
}

bool PeriodDiffers(const Ledger& ledger, const TPeriodBlock& stored,
                   const TPayrollFileHeader& storedHeader) {
    // Every part has the file's layout, so one comparison of the bytes covers
    // the basic information and every record of every slot.
    return std::memcmp(&ledger.FileHeader, &storedHeader, sizeof(TPayrollFileHeader)) != 0 ||
           std::memcmp(ledger.block.get(), &stored, sizeof(TPeriodBlock)) != 0;
}

SaveAnswer CheckModified(Ledger& ledger, const std::function<void()>& recalc,
                         const std::function<SaveAnswer(std::string_view question)>& ask,
                         const std::function<void(const std::string& message)>& onError,
                         bool* modified, const SavedBlockReader& reader) {
    if (recalc) recalc();
    std::unique_ptr<TPeriodBlock> stored;
    TPayrollFileHeader storedHeader{};
    try {
        storedHeader = reader.header(ledger.CurData.FileName);
        stored = reader.read(ledger.CurData.FileName, ledger.CurData.Period);
    } catch (const platform::IoError& e) {
        if (onError) onError(e.what());
        stored.reset();
    }
    NormaliseStringTails(ledger);
    const bool differs = !stored || PeriodDiffers(ledger, *stored, storedHeader);
    if (modified) *modified = differs;
    if (differs && ask) return ask(kSaveQuestion);
    return SaveAnswer::No;
}

}  // namespace ledger
