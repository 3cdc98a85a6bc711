#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
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
// header, and only a file this suite keyed is read by Key. The mark survives
// another writer too, so beside it the save keeps a check value of the records it
// wrote; a file whose records no longer give it was changed by someone who
// follows slots, and is read by slot. Any other file (older files, other
// programs) stays with its slots. The old layout has no room set aside for it and
// always follows slots.
//
// A Key is meant to be one person's, but a clock set back or a copied file can
// give two employees the same one. Its holders are then told apart by who they
// are (SamePerson) before slot order decides.
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

// Where the check value of the records lies: the 8 reserved bytes before the mark,
// a little-endian number; 0 for a file saved before the check was kept.
inline constexpr std::size_t kRecordsCheckOffset = kKeyedMarkOffset - 8;

// The check value a keyed save stores for the new-layout records of data (every
// byte of the 80 records, the family members within them); never 0.
std::uint64_t RecordsCheck(const WithholdingData& data);

// Whether the records' Keys were written by this suite, so that loading may
// attach each record by its Key. A marked file counts when its records still give
// the check value stored with the mark (one saved before the check was kept has
// none and counts as it did); a file another writer changed since follows slots.
// An unmarked file, keyed before the mark was written, counts when every record
// holds either no Key or one of the form the payroll program makes, and one of
// them is the Key of an employee of december.
bool HoldsEmployeeKeys(const WithholdingData& data, const ledger::TPeriodBlock& december);

// Gives every new-layout record the Key of the employee in its December slot, and
// marks the header as keyed with the records' check value.
void StoreEmployeeKeys(WithholdingData& data, const ledger::TPeriodBlock& december);

// Whether a record and an employee, or two employees, are one person: the same
// furigana and birth date (the record's stored ones), between employees also the
// same name.
bool SamePerson(const TWithholdingRec& rec, const ledger::TEmployeeRec& emp);
bool SamePerson(const ledger::TEmployeeRec& a, const ledger::TEmployeeRec& b);

// Pairs the holders of one Key with the items that bear it, both counted in slot
// order: each holder first takes the first free item of the same person
// (same(holder, item)), then the holders left take the items left in slot order.
// For each holder the index of its item, -1 for none.
std::vector<int> PairHolders(std::size_t holders, std::size_t items,
                             const std::function<bool(std::size_t, std::size_t)>& same);

// For each December slot (index slot - 1) with a Key, the slot (1..80) of its
// record among recordKeys (the Keys of the records by slot), 0 for none. The
// holders of a Key and its records pair by PairHolders, samePerson(record slot,
// December slot) telling who is who, so that employees who share one each keep
// their own. Slots without a Key get 0.
using SamePersonAt = std::function<bool(int recordSlot, int decemberSlot)>;
std::array<int, kRecords> PairByKey(const std::array<std::string_view, kRecords>& recordKeys,
                                    const ledger::TPeriodBlock& december,
                                    const SamePersonAt& samePerson);

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
// The end of AttachmentNotice that names the records a save will delete; empty
// when there are none.
std::string LeftOutSection(const AttachedNames& names);
// One line of AttachedNames::moved.
std::string MovedLine(std::string_view name, const KeyedAttachment::Move& move);

}  // namespace withholding
