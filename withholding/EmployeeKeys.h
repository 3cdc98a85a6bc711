#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/PayrollRecords.h"
#include "withholding/WithholdingFile.h"

// Which employee a new-layout record belongs to. Deleting an employee in the
// payroll program moves every later employee up one slot, so a record cannot be
// trusted to belong to the employee now in its slot: each record carries its
// owner's Key (the 15 bytes of TEmployeeRec.Key) in the first reserved bytes after
// the year-end figures, and loading attaches it to that employee again. Reserved
// bytes are carried as they are by every writer of the format, so bytes in that
// place prove nothing by themselves: a save that stores the Keys also marks the
// header, and only a file this suite keyed is read by Key. Any other file (older
// files, other programs) stays with its slots. The old layout has no room set
// aside for it and always follows slots.
namespace withholding {

// Where the Key lies in the record: the first 15 of its last reserved bytes.
inline constexpr std::size_t kEmployeeKeyOffset = 1367;
static_assert(offsetof(TWithholdingRec, Reserved5) == kEmployeeKeyOffset);
static_assert(sizeof(ledger::ShortString<14>) == 15);

// The stored Key's characters; empty when the record holds none. A length byte
// beyond 14 is no Key but bytes of another writer, and counts as none.
std::string_view StoredKey(const TWithholdingRec& rec);
// Stores all 15 bytes of key into the record.
void StoreKey(TWithholdingRec& rec, const ledger::ShortString<14>& key);

// Where the header's mark lies: its last reserved bytes.
inline constexpr std::size_t kKeyedMarkOffset = 292;
static_assert(offsetof(TWithholdingHeader, Reserved) + sizeof(TWithholdingHeader::Reserved) ==
              sizeof(TWithholdingHeader));

// Whether the records' Keys were written by this suite, so that loading may
// attach each record by its Key: the header bears the mark of a keyed save, or,
// for files keyed before the mark was written, every record holds either no Key
// or one of the form the payroll program makes, and one of them is the Key of an
// employee of december.
bool HoldsEmployeeKeys(const WithholdingData& data, const ledger::TPeriodBlock& december);

// Gives every new-layout record the Key of the employee in its December slot, and
// marks the header as keyed.
void StoreEmployeeKeys(WithholdingData& data, const ledger::TPeriodBlock& december);

// For each December slot (index slot - 1) with a Key, the slot (1..80) of its
// record among recordKeys (the Keys of the records by slot), 0 for none. The n-th
// employee holding a Key, in slot order, takes the n-th record of that Key, so
// that employees who share one each keep their own. Slots without a Key get 0.
std::array<int, kRecords> PairByKey(const std::array<std::string_view, kRecords>& recordKeys,
                                    const ledger::TPeriodBlock& december);

// The result of attaching saved records to December's employees by their Keys.
struct KeyedAttachment {
    struct Move {
        int from = 0;  // the record's slot in the file
        int to = 0;    // its employee's slot in December
    };
    std::vector<Move> moved;
    std::vector<int> created;  // December slots whose employee had no record
    std::vector<int> leftOut;  // slots in the file whose Key no December employee has

    bool any() const { return !moved.empty() || !created.empty() || !leftOut.empty(); }
};

// Fills out's new-layout table from saved's (a file holding Keys): each employee
// of December takes their record as PairByKey finds it, wherever it stood. An
// employee without one, and an empty slot whose record in the file belongs to
// someone, gets a zeroed record; only the employees are reported as created.
// Header and old-layout table are taken from saved as they are.
KeyedAttachment AttachByKey(const WithholdingData& saved, const ledger::TPeriodBlock& december,
                            WithholdingData& out);

// The information shown after an attachment that changed anything, naming the
// employees of each kind (names as UTF-8).
struct AttachedNames {
    std::vector<std::string> moved;  // "name（No.3 → No.2）"
    std::vector<std::string> created;
    std::vector<std::string> leftOut;
};
std::string AttachmentNotice(const AttachedNames& names);
// One line of AttachedNames::moved.
std::string MovedLine(std::string_view name, const KeyedAttachment::Move& move);

}  // namespace withholding
