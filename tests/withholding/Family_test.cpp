#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/Sjis.h"
#include "withholding/Family.h"

namespace {
using namespace withholding;

std::unique_ptr<TWithholdingRec> blankRecord(unsigned char fill = 0) {
    auto rec = std::make_unique<TWithholdingRec>();
    std::memset(rec.get(), fill, sizeof *rec);
    return rec;
}

TEST(FamilyNumbers, ShowAndParse) {
    EXPECT_EQ(IndividualNoText(12345678), "000012345678");
    EXPECT_EQ(IndividualNoText(0), "");
    EXPECT_EQ(IndividualNoText(987654321012), "987654321012");
    EXPECT_EQ(FamilyNumberFromText("123456789012"), 123456789012);
    EXPECT_EQ(FamilyNumberFromText(""), 0);
    EXPECT_EQ(FamilyNumberFromText("000000000001"), 1);
    EXPECT_EQ(FamilyNumberFromText("1234 5678 9012"), 123456789012);
    // Read by position these would store other numbers than the ones typed.
    EXPECT_FALSE(FamilyNumberFromText("123"));
    EXPECT_FALSE(FamilyNumberFromText("1234 5678 90"));
    EXPECT_FALSE(FamilyNumberFromText("12345678901a"));
    EXPECT_FALSE(FamilyNumberFromText("-12345678901"));
}

TEST(FamilyStore, FieldsLandInTheirBytes) {
    auto rec = blankRecord(0xAA);
    for (int i = 0; i < kFamilyEntries; ++i) {
        FamilyMember(*rec, i).IndividualNo = 0;
        FamilyMember(*rec, i).NonResident = 0;
    }
    FamilyForm form = LoadFamily(*rec);
    form.entries[0].name = "山田花子";
    form.entries[0].furigana = "ﾔﾏﾀﾞﾊﾅｺ";
    form.entries[0].number = "123456789012";
    form.entries[2].nonResident = true;
    form.entries[1].nonResident = false;  // already clear
    form.notes[5] = "ＡＢＣＤＥＦＧＨＩ";
    ASSERT_FALSE(StoreFamily(*rec, form));
    const auto* b = reinterpret_cast<const unsigned char*>(rec.get());
    const unsigned char name[] = {0x08, 0x8E, 0x52, 0x93, 0x63, 0x89, 0xD4, 0x8E, 0x71};
    EXPECT_EQ(std::memcmp(b + 697, name, sizeof name), 0);
    const unsigned char kana[] = {0x07, 0xD4, 0xCF, 0xC0, 0xDE, 0xCA, 0xC5, 0xBA};
    EXPECT_EQ(std::memcmp(b + 676, kana, sizeof kana), 0);
    const unsigned char no[] = {0x14, 0x1A, 0x99, 0xBE, 0x1C, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(b + 716, no, sizeof no), 0);
    EXPECT_EQ(b[792 + 48], 1);  // DependantMembers[1].NonResident
    EXPECT_EQ(b[740 + 48], 0);
    EXPECT_EQ(b[1241], 16);        // Under16Notes[0] cut to eight double-byte characters
    EXPECT_EQ(b[676 + 38], 0xAA);  // reserved bytes untouched
}

TEST(FamilyStore, RefusedNumberStoresNothing) {
    auto rec = blankRecord();
    auto before = *rec;
    FamilyForm form = LoadFamily(*rec);
    form.entries[0].name = "山田";
    form.entries[1].number = "12345678901a";
    EXPECT_EQ(StoreFamily(*rec, form), 1);
    EXPECT_EQ(std::memcmp(rec.get(), &before, sizeof before), 0);
}

TEST(FamilyStore, UnchangedRoundTripKeepsEveryByte) {
    auto rec = blankRecord(0x20);  // numbers of more than twelve digits stay too
    rec->Spouse.Name.set("佐藤");
    rec->DependantMembers[3].IndividualNo = 42;
    rec->Under16Members[0].NonResident = 5;  // any non-zero byte reads as ticked
    auto before = *rec;
    ASSERT_FALSE(StoreFamily(*rec, LoadFamily(*rec)));
    EXPECT_EQ(std::memcmp(rec.get(), &before, sizeof before), 0);
}

TEST(FamilyReading, ConversionsAppendTheirReadings) {
    ReadingCapture c;
    std::string furi;
    auto feed = [&](int src, const std::string& name, const std::string& reading) {
        if (auto r = c.nameChanged(src, furi, name, reading)) furi = *r;
    };
    feed(0, "山田", "ﾔﾏﾀﾞ");
    EXPECT_EQ(furi, "ﾔﾏﾀﾞ");
    feed(0, "山田　", "");
    EXPECT_EQ(furi, "ﾔﾏﾀﾞ ");
    feed(0, "山田　花子", "ﾊﾅｺ");
    EXPECT_EQ(furi, "ﾔﾏﾀﾞ ﾊﾅｺ");
    feed(0, "", "");
    EXPECT_EQ(furi, "");
    feed(0, "ABC", "");
    EXPECT_EQ(furi, "");
}
}  // namespace
