#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "ledger/PayrollRecords.h"
#include "ledger/PayrollYearFile.h"

// Whether the open period differs from its stored copy, and the question whether
// to save it. The callers decide what Yes, No and Cancel mean.
namespace ledger {

struct Ledger;

enum class SaveAnswer { Yes, No, Cancel };

// Asked with the buttons Yes, No and Cancel as a warning (with its beep).
inline constexpr std::string_view kSaveQuestion = "データが変更されています。保存しますか？";

// Zeroes the bytes after the current length of the company name and of each
// slot's Name, Kana, Dept, Code, BankName, BankKana, BranchName, BranchKana and
// AccountNo, so that text left behind by a longer earlier value does not count as
// a change. Key, Memo and KindText keep their tails. The zeroed bytes stay in
// memory and are what the next save writes.
void NormaliseStringTails(Ledger& ledger);

// Byte comparison of the header and the period in memory with a stored copy.
// The header counts too: a bonus payment date typed in the period selection lives
// only there until the next save.
bool PeriodDiffers(const Ledger& ledger, const TPeriodBlock& stored,
                   const TPayrollFileHeader& storedHeader);

// The change check of the open period (CurData.Period of CurData.FileName):
// runs recalc (when given), reads the stored copy, normalises the tails and
// compares. When the stored copy cannot be read, onError gets the message and the
// period counts as changed, so the user can still save or leave. When changed and
// ask is given, ask gets kSaveQuestion and its answer is returned; otherwise No.
// modified, when given, receives whether the period differs.
SaveAnswer CheckModified(Ledger& ledger, const std::function<void()>& recalc,
                         const std::function<SaveAnswer(std::string_view question)>& ask,
                         const std::function<void(const std::string& message)>& onError,
                         bool* modified = nullptr,
                         const SavedBlockReader& reader = fileBlockReader());

}  // namespace ledger
