#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>
#include <vector>

#include "ledger/Ledger.h"
#include "ledger/ui/BonusSlipItemsDialog.h"
#include "ledger/ui/SalarySlipItemsDialog.h"
#include "ledger/ui/SettingsDialog.h"
#include "platform/IniFile.h"
#include "platform/ui/MessageBox.h"
#include "support/TempDir.h"

namespace ledger::ui {
namespace {

using platform::ui::Answer;
using platform::ui::MessageRequest;
using platform::ui::ScopedResponder;
using testing_support::TempDir;

class SlipItemsTest : public testing::Test {
protected:
    SlipItemsTest()
        : clock({2026, 4, 1}), ledger(clock), responder([this](const MessageRequest& r) {
              texts.push_back(r.text.toStdString());
              return answer;
          }) {}

    std::string ini(const std::string& section, const std::string& key) {
        return platform::IniFile(dir / "Tolvane.ini").readString(section, key);
    }

    TempDir dir;
    FixedClock clock;
    Ledger ledger;
    std::vector<std::string> texts;
    Answer answer = Answer::Yes;
    ScopedResponder responder;
};

QColor cellColour(QTableWidget* g, int row) {
    return g->item(row, 1)->background().color();
}

TEST_F(SlipItemsTest, SalaryGridsShowLabelsAndUseColoursOfTheActivePage) {
    ledger.sysOption.freeLabels[0] = "住宅手当";
    SalarySlipItemsDialog dialog(ledger, dir / "Tolvane.ini");
    dialog.FormShow();
    QTableWidget* pay = dialog.grid(ItemGroup::Payment);
    ASSERT_TRUE(pay && dialog.grid(ItemGroup::Attendance));
    EXPECT_EQ(pay->rowCount(), 18);
    EXPECT_EQ(pay->item(0, 1)->text(), "基本給");
    EXPECT_EQ(pay->item(3, 1)->text(), "住宅手当");
    EXPECT_EQ(dialog.grid(ItemGroup::Deduction)->item(7, 1)->text(), "");
    EXPECT_EQ(pay->item(0, 0)->background().color(), QColor(0, 128, 128));

    const QColor unused(204, 221, 221);
    EXPECT_NE(cellColour(pay, 13), unused);  // 遅刻早退控除 is used by 月給 and 日給
    dialog.PageControlChange(3);
    EXPECT_EQ(cellColour(pay, 13), unused);
    EXPECT_EQ(pay->item(13, 1)->foreground().color(), QColor(128, 128, 128));

    // Selecting a name on the 日給 page switches that pay type only.
    dialog.PageControlChange(2);
    dialog.sgSelectCell(ItemGroup::Payment, 14);
    EXPECT_NE(cellColour(pay, 14), unused);
    const auto& e = ledger.itemTables.PaymentItems[14];
    EXPECT_FALSE(e.Use[1]);
    EXPECT_TRUE(e.Use[2]);
    EXPECT_FALSE(e.Use[3]);
}

TEST_F(SlipItemsTest, ClickAndDragInTheGrid) {
    SalarySlipItemsDialog dialog(ledger, dir / "Tolvane.ini");
    dialog.show();
    QTableWidget* pay = dialog.grid(ItemGroup::Payment);
    auto mouse = [&](QEvent::Type type, int col, int row) {
        QRect r = pay->visualItemRect(pay->item(row, col));
        QPointF p = r.center();
        QMouseEvent ev(type, p, pay->viewport()->mapToGlobal(p), Qt::LeftButton,
                       type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                       Qt::NoModifier);
        QApplication::sendEvent(pay->viewport(), &ev);
    };
    mouse(QEvent::MouseButtonPress, 1, 14);
    mouse(QEvent::MouseButtonRelease, 1, 14);
    EXPECT_TRUE(ledger.itemTables.PaymentItems[14].Use[1]);

    mouse(QEvent::MouseButtonPress, 0, 0);
    mouse(QEvent::MouseButtonRelease, 0, 2);
    EXPECT_EQ(ledger.itemTables.PaymentItems[2].Code, "F基本給");
    EXPECT_EQ(pay->item(2, 1)->text(), "基本給");
    EXPECT_EQ(pay->item(0, 1)->text(), "役職手当");
}

TEST_F(SlipItemsTest, OkWritesTheMovedLayoutAndRebuildsPrnLayout) {
    SalarySlipItemsDialog dialog(ledger, dir / "Tolvane.ini");
    dialog.FormShow();
    dialog.sgRowMoved(ItemGroup::Payment, 0, 17);
    dialog.bbOkClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ini("KyuyoItemName", "Sikyu17"), "F基本給");
    EXPECT_EQ(ini("KyuyoKeitai1", "Sikyu"), "110001100111100011");
    EXPECT_EQ(ini("KyuyoKeitai2", "Sikyu"), "110000000110100011");
    EXPECT_EQ(ini("KyuyoKeitai3", "Sikyu"), "110000000110000011");
    EXPECT_EQ(ledger.PrnLayout[1].Payment[17], "F基本給");
    EXPECT_EQ(ledger.PrnLayout[1].Payment[0], "F役職手当");
}

TEST_F(SlipItemsTest, CancelDiscardsTheEdits) {
    SalarySlipItemsDialog dialog(ledger, dir / "Tolvane.ini");
    dialog.LoadItems(true);
    TPrnLayout before = ledger.PrnLayout;
    dialog.FormShow();
    dialog.sgRowMoved(ItemGroup::Payment, 0, 17);
    dialog.sgSelectCell(ItemGroup::Other, 0);
    dialog.bbCancelClick();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(ledger.itemTables.PaymentItems[0].Code, "F基本給");
    EXPECT_FALSE(ledger.itemTables.OtherItems[0].Use[1]);
    EXPECT_EQ(ledger.PrnLayout[1].Payment, before[1].Payment);
    EXPECT_FALSE(std::filesystem::exists(dir / "Tolvane.ini"));
}

TEST_F(SlipItemsTest, BonusDialogHasNoAttendanceAndResetsToBonusDefaults) {
    BonusSlipItemsDialog dialog(ledger, dir / "Tolvane.ini");
    EXPECT_EQ(dialog.windowTitle(), "賞与明細書印刷項目の設定");
    EXPECT_EQ(dialog.grid(ItemGroup::Attendance), nullptr);
    dialog.FormShow();
    EXPECT_EQ(dialog.grid(ItemGroup::Payment)->item(0, 1)->text(), "賞与");
    dialog.sgRowMoved(ItemGroup::Payment, 0, 5);
    answer = Answer::No;
    dialog.btDefaultClick();
    EXPECT_EQ(ledger.itemTables.PaymentItems[5].Code, "V賞与");
    answer = Answer::Yes;
    dialog.btDefaultClick();
    EXPECT_EQ(texts.back(), "項目使用有無と順序の変更を初期状態に戻します。");
    EXPECT_EQ(ledger.itemTables.PaymentItems[0].Code, "V賞与");
    dialog.bbOkClick();
    for (int t = 1; t <= 3; ++t)
        for (const auto& code : ledger.PrnLayout[t].Attendance) EXPECT_EQ(code, "F");
    EXPECT_EQ(ini("SyoyoKeitai2", "Sikyu"), "111000100011111111");
}

// Renders the dialogs for a person to look at (build folder, ui-shots).
TEST_F(SlipItemsTest, GrabDialogs) {
    std::filesystem::path out = std::filesystem::path(TOLVANE_BINARY_DIR) / "ui-shots";
    std::filesystem::create_directories(out);
    {
        SalarySlipItemsDialog k(ledger, dir / "Tolvane.ini");
        k.show();
        k.PageControlChange(2);
        EXPECT_TRUE(k.grab().save(QString::fromStdString((out / "PrnFormK.png").string())));
    }
    {
        BonusSlipItemsDialog s(ledger, dir / "Tolvane.ini");
        s.show();
        EXPECT_TRUE(s.grab().save(QString::fromStdString((out / "PrnFormS.png").string())));
    }
    {
        SettingsDialog c(ledger, dir / "Tolvane.ini");
        c.show();
        c.edCorpName->setText(QStringLiteral("株式会社テスト商事"));
        c.edCorpNumber->setText(QStringLiteral("1234567890123"));
        const char* names[4] = {"Config1.png", "Config2.png", "Config3.png", "Config4.png"};
        for (int p = 0; p < 4; ++p) {
            c.setPage(static_cast<ConfigPage>(p));
            EXPECT_TRUE(c.grab().save(QString::fromStdString((out / names[p]).string())));
        }
        answer = Answer::Yes;
    }
}

}  // namespace
}  // namespace ledger::ui
