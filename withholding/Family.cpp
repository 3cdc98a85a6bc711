#include "withholding/Family.h"

#include <cstdio>

#include "ledger/Common.h"
#include "ledger/EditRules.h"
#include "platform/Sjis.h"

namespace withholding {

TFamilyMember& FamilyMember(TWithholdingRec& rec, int entry) {
    if (entry == 0) return rec.Spouse;
    if (entry <= 4) return rec.DependantMembers[entry - 1];
    return rec.Under16Members[entry - 5];
}

ShortString<16>& FamilyNote(TWithholdingRec& rec, int note) {
    return note < 5 ? rec.DependantNotes[note] : rec.Under16Notes[note - 5];
}

std::string IndividualNoText(std::int64_t number) {
    if (number == 0) return {};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.12lld", static_cast<long long>(number));
    return buf;
}

std::optional<std::int64_t> FamilyNumberFromText(std::string_view text) {
    // Reading the two halves by position would store "123" as 123,000,000: a
    // statutory number must be exactly what was typed, or refused.
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == ',') continue;
        if (c < '0' || c > '9') return std::nullopt;
        digits += c;
    }
    if (digits.empty()) return 0;
    if (digits.size() != 12) return std::nullopt;
    return ledger::MyNumberFromText(digits);
}

FamilyForm LoadFamily(const TWithholdingRec& rec) {
    auto& r = const_cast<TWithholdingRec&>(rec);
    FamilyForm form;
    for (int i = 0; i < kFamilyEntries; ++i) {
        const TFamilyMember& m = FamilyMember(r, i);
        form.entries[i] = {m.Name.str(), m.Furigana.str(), IndividualNoText(m.IndividualNo),
                           m.NonResident != 0};
    }
    for (int i = 0; i < kFamilyNotes; ++i) form.notes[i] = FamilyNote(r, i).str();
    return form;
}

namespace {
template <std::size_t N>
void storeText(ShortString<N>& field, const std::string& text, int maxBytes) {
    if (field.str() == text) return;
    field.set(ledger::FitEditText(text, maxBytes).text);
}
}  // namespace

std::optional<int> StoreFamily(TWithholdingRec& rec, const FamilyForm& form) {
    std::array<std::int64_t, kFamilyEntries> numbers{};
    for (int i = 0; i < kFamilyEntries; ++i) {
        // A number shown as stored stays, even one that is not twelve digits, so a
        // damaged record never locks the dialog.
        const std::int64_t stored = FamilyMember(rec, i).IndividualNo;
        if (form.entries[i].number == IndividualNoText(stored)) {
            numbers[i] = stored;
            continue;
        }
        auto n = FamilyNumberFromText(form.entries[i].number);
        if (!n) return i;
        numbers[i] = *n;
    }
    for (int i = 0; i < kFamilyEntries; ++i)
        storeText(FamilyMember(rec, i).Name, form.entries[i].name, 16);
    for (int i = 0; i < kFamilyEntries; ++i)
        storeText(FamilyMember(rec, i).Furigana, form.entries[i].furigana, 20);
    for (int i = 0; i < kFamilyEntries; ++i) FamilyMember(rec, i).IndividualNo = numbers[i];
    for (int i = 0; i < kFamilyEntries; ++i) {
        auto& flag = FamilyMember(rec, i).NonResident;
        // Any non-zero byte counts as ticked; keep it when the box was not changed.
        if ((flag != 0) != form.entries[i].nonResident) flag = form.entries[i].nonResident ? 1 : 0;
    }
    for (int i = 0; i < kFamilyNotes; ++i) storeText(FamilyNote(rec, i), form.notes[i], 16);
    return std::nullopt;
}

std::optional<std::string> ReadingCapture::nameChanged(int source, const std::string& furigana,
                                                       const std::string& name,
                                                       const std::string& reading) {
    std::string bytes;
    try {
        bytes = sjis::fromUtf8(name);
    } catch (const std::exception&) {
        return std::nullopt;  // the name field refuses such text before it gets here
    }
    if (bytes.empty()) {
        lastName_.clear();
        lastSource_ = source;
        return std::string();
    }
    if (source != lastSource_) lastName_.clear();
    lastSource_ = source;
    if (bytes == lastName_) return std::nullopt;
    std::string added;
    if (bytes.size() > lastName_.size()) added = bytes.substr(lastName_.size(), 2);
    lastName_ = bytes;
    if (added == " " || added == "\x81\x40") return ledger::FitEditText(furigana + " ", 20).text;
    if (!added.empty() && ledger::IsSJISLead(static_cast<unsigned char>(added[0])) &&
        !reading.empty())
        return ledger::FitEditText(furigana + reading, 20).text;
    return std::nullopt;
}

}  // namespace withholding
