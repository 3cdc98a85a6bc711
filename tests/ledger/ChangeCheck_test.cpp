#include "ledger/ChangeCheck.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "support/TempDir.h"

namespace ledger {
namespace {

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

class ChangeCheckTest : public testing::Test {
protected:
    ChangeCheckTest() : clock({2026, 11, 1}), ledger(clock) {
        ledger.CurData.FileName = dir / "令和8年給与･賞与.dat";
        ledger.CurData.Era = "令和";
        ledger.CurData.Year = 8;
        ledger.CurData.Period = 4;
        CreateDataFile(ledger, ledger.CurData.FileName);
    }

    // Writes raw bytes into period 4's stored block.
    void patchStored(std::size_t offsetInBlock, const std::string& bytes) {
        auto b = readBytes(ledger.CurData.FileName);
        std::memcpy(&b[PeriodOffset(3) + offsetInBlock], bytes.data(), bytes.size());
        writeBytes(ledger.CurData.FileName, b);
    }

    void openPeriod() {
        LoadFileHeader(ledger, ledger.CurData.FileName);
        LoadPeriod(ledger, ledger.CurData.FileName);
    }

    // Runs the check, answering the question with `answer`; records what happened.
    SaveAnswer check(SaveAnswer answer = SaveAnswer::Cancel) {
        questions.clear();
        errors.clear();
        return CheckModified(
            ledger, [&] { ++recalcs; },
            [&](std::string_view q) {
                questions.emplace_back(q);
                return answer;
            },
            [&](const std::string& m) { errors.push_back(m); }, &modified);
    }

    TempDir dir;
    FixedClock clock;
    Ledger ledger;
    bool modified = false;
    int recalcs = 0;
    std::vector<std::string> questions, errors;
};

constexpr std::size_t kSlot1Name = 400 + 27;
constexpr std::size_t kSlot2Memo = 400 + 700 + 333;

TEST_F(ChangeCheckTest, UnchangedPeriodAsksNothing) {
    openPeriod();
    EXPECT_EQ(check(), SaveAnswer::No);
    EXPECT_FALSE(modified);
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(recalcs, 1);
}

TEST_F(ChangeCheckTest, OldTailIsAChangeUntilTheNormalisedDataAreSaved) {
    // "山田" stored over the tail of an earlier, longer name.
    patchStored(kSlot1Name, sjis::fromUtf8("\x04山田太郎"));
    openPeriod();

    EXPECT_EQ(check(SaveAnswer::Yes), SaveAnswer::Yes);
    EXPECT_TRUE(modified);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], "データが変更されています。保存しますか？");

    SavePeriod(ledger, ledger.CurData.FileName);
    EXPECT_EQ(check(), SaveAnswer::No);
    EXPECT_FALSE(modified);
    EXPECT_TRUE(questions.empty());
    auto stored = ReadPeriodBlock(ledger.CurData.FileName, 4);
    EXPECT_EQ(stored->EmployeeTbl[0].Name.str(), "山田");
    EXPECT_EQ(stored->EmployeeTbl[0].Name.text[4], 0);
}

TEST_F(ChangeCheckTest, TailsOfKeyMemoAndKindTextAreLeftAlone) {
    patchStored(kSlot2Memo, sjis::fromUtf8("\x02メモの続き"));
    patchStored(400 + 700,
                "\x02"
                "25xxxx");
    patchStored(400 + 700 + 509,
                "\x02"
                "ABCDE");
    openPeriod();
    EXPECT_EQ(check(), SaveAnswer::No);
    EXPECT_FALSE(modified);
    EXPECT_EQ(ledger.Employee(2).Memo.text[2], sjis::fromUtf8("モ")[0]);
}

TEST_F(ChangeCheckTest, EveryChangedByteCounts) {
    struct Case {
        const char* what;
        std::function<void(Ledger&)> change;
    };
    const std::vector<Case> cases{
        {"reserved byte of a payment record", [](Ledger& l) { l.Payment(80).Reserved1[27] = 1; }},
        {"bonus pay date in the header", [](Ledger& l) { l.FileHeader.BonusPayDay[2] = 10; }},
        {"reserved header byte", [](Ledger& l) { l.FileHeader.Reserved2[79] = 1; }},
        {"attendance figure", [](Ledger& l) { l.Attendance(40).Values[kAttOvertime] = 0.5; }},
        {"company reserved byte", [](Ledger& l) { l.BasicInfo().Reserved4[0] = 9; }},
    };
    for (const auto& c : cases) {
        openPeriod();
        c.change(ledger);
        EXPECT_EQ(check(SaveAnswer::No), SaveAnswer::No) << c.what;
        EXPECT_TRUE(modified) << c.what;
        EXPECT_EQ(questions.size(), 1u) << c.what;
    }
}

TEST_F(ChangeCheckTest, RecalculationRunsBeforeTheComparison) {
    openPeriod();
    bool modifiedOut = false;
    SaveAnswer a = CheckModified(
        ledger, [&] { ledger.Deduction(1).Amounts[kDedTotal] = 1000; }, nullptr, nullptr,
        &modifiedOut);
    EXPECT_TRUE(modifiedOut);
    EXPECT_EQ(a, SaveAnswer::No);  // nobody to ask
}

TEST_F(ChangeCheckTest, UnreadableStoredCopyIsReportedAndCountsAsChanged) {
    openPeriod();
    std::filesystem::remove(ledger.CurData.FileName);
    EXPECT_EQ(check(SaveAnswer::No), SaveAnswer::No);
    EXPECT_TRUE(modified);
    EXPECT_EQ(errors, std::vector<std::string>{"ファイルが見つかりません"});
    EXPECT_EQ(questions.size(), 1u);

    writeBytes(ledger.CurData.FileName, std::vector<unsigned char>(PeriodOffset(3) + 10, 0));
    EXPECT_EQ(check(SaveAnswer::Cancel), SaveAnswer::Cancel);
    EXPECT_EQ(errors, std::vector<std::string>{"ファイルの末尾以降を読み込みました"});
}

// The calculations read stored periods through the same interface; a fake stands
// in for the file.
class FakeReader : public SavedBlockReader {
public:
    std::unique_ptr<TPeriodBlock> read(const std::filesystem::path&, int period) const override {
        lastPeriod = period;
        auto b = std::make_unique<TPeriodBlock>();
        std::memset(static_cast<void*>(b.get()), 0, sizeof *b);
        b->BasicInfo.PayDay = 25;
        return b;
    }
    TPayrollFileHeader header(const std::filesystem::path&) const override { return {}; }
    mutable int lastPeriod = 0;
};

TEST_F(ChangeCheckTest, StoredCopyComesFromTheGivenReader) {
    ledger.clearPeriod();
    ledger.BasicInfo().PayDay = 25;
    FakeReader reader;
    bool modifiedOut = true;
    CheckModified(ledger, nullptr, nullptr, nullptr, &modifiedOut, reader);
    EXPECT_FALSE(modifiedOut);
    EXPECT_EQ(reader.lastPeriod, 4);
}

}  // namespace
}  // namespace ledger
