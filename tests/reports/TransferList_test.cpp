#include "reports/TransferList.h"

#include <gtest/gtest.h>

#include "ListFixture.h"

namespace reports {
namespace {

using testing::ListFixture;

TEST(TransferList, RowOfAnEmployee) {
    ListFixture f;
    auto& e = f.add("山田太郎", 300000);
    e.Code.set("A001");
    e.Kana.set("ﾔﾏﾀﾞﾀﾛｳ");
    e.BankName.set("みずほ銀行");
    e.BankKana.set("ﾐｽﾞﾎ");
    e.BranchName.set("新宿支店");
    e.BranchKana.set("ｼﾝｼﾞｭｸ");
    e.AccountType = 1;
    e.AccountNo.set("1234567");
    e.TransferFee = 432;
    int slot = f.slotOf(e);
    f.l.Payment(slot).Amounts[ledger::kPayOther1] = 5000;
    f.l.Deduction(slot).Amounts[ledger::kDedOther1] = 99999;  // the payment copy counts
    f.l.Deduction(slot).Amounts[ledger::kDedTotal] = 60000;

    DrawTransferPage(f.c, f.l, 1);
    struct Cell {
        double x;
        const char* text;
    } cells[] = {{20, "A001"},     {38, "山田太郎"},    {65, "ﾔﾏﾀﾞﾀﾛｳ"},  {85, "みずほ銀行"},
                 {125, "ﾐｽﾞﾎ"},    {152, "新宿支店"},   {192, "ｼﾝｼﾞｭｸ"},  {220, "当座"},
                 {230, "1234567"}, {245, "   245,000"}, {263, "     432"}};
    for (auto k : cells) EXPECT_EQ(f.textAt(k.x, 34.7), k.text) << k.x;
    EXPECT_FALSE(f.rec.findText("合　計"));
    EXPECT_EQ(f.textAt(95, 20), "給与/賞与振込一覧");
    EXPECT_EQ(f.textAt(150, 21), "[令和8年 4月分給与]");
}

TEST(TransferList, TransferPayeesOnlyThirtyAPage) {
    ListFixture f;
    for (int i = 0; i < 31; ++i) f.add("振込" + std::to_string(i));
    f.add("現金").PayMethod = 1;
    f.add("休職").Status = 2;
    f.add("退職").Status = 3;
    // A slot after a gap is still listed: the walk covers every slot.
    f.next = 40;
    f.add("離れ");

    EXPECT_EQ(TransferSlots(f.l).size(), 32u);
    EXPECT_EQ(TransferPageCount(f.l), 2);
    DrawTransferPage(f.c, f.l, 2);
    EXPECT_EQ(f.textAt(38, 34.7), "振込30");
    EXPECT_EQ(f.textAt(38, 39.7), "離れ");
    EXPECT_EQ(f.textAt(38, 44.7), "");
    EXPECT_EQ(f.textAt(260, 22), "Page 2 / 2");
    for (const char* name : {"現金", "休職", "退職"}) EXPECT_FALSE(f.rec.findText(name)) << name;
}

TEST(TransferList, EmptyListHasHeadingsAndGridOnOnePage) {
    ListFixture f;
    EXPECT_EQ(TransferPageCount(f.l), 1);
    DrawTransferPage(f.c, f.l, 1);
    struct Cell {
        double x;
        const char* text;
    } headings[] = {{21, "社員ｺｰﾄﾞ"},    {45, "社 員 名"},    {68, "フリガナ"},  {96, "金融機関名"},
                    {131, "フリガナ"},   {163, "支　店　名"}, {198, "フリガナ"}, {220, "種別"},
                    {229.5, "口座番号"}, {247.5, "支給金額"}, {266, "手数料"}};
    for (auto k : headings) EXPECT_EQ(f.textAt(k.x, 29.7), k.text) << k.x;
    auto run = f.rec.findText("社員ｺｰﾄﾞ");
    ASSERT_TRUE(run);
    EXPECT_GT(run->font.width, 0) << "headings are narrow";
    EXPECT_EQ(run->font.height, 357) << "10 points";
    EXPECT_TRUE(f.rec.hasLine(f.at(18), f.at(34), f.at(278), f.at(34)));
    EXPECT_EQ(f.rec.ofKind(RecordedOp::Fill).size(), 16u);
    EXPECT_EQ(AccountTypeText(3), "");
}

}  // namespace
}  // namespace reports
