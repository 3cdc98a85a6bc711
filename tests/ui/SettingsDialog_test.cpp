#include "ledger/ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <vector>

#include "ledger/HealthRates.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/ui/HealthRatesDialog.h"
#include "platform/IniFile.h"
#include "platform/ui/MessageBox.h"
#include "support/PersonTyping.h"
#include "support/TempDir.h"
#include "ui/Screenshot.h"

namespace ledger::ui {
namespace {

using platform::ui::Answer;
using platform::ui::MessageRequest;
using platform::ui::ScopedResponder;
using testing_support::TempDir;
using testing_support::writeText;

class SettingsDialogTest : public testing::Test {
protected:
    SettingsDialogTest()
        : clock({2026, 4, 1}),
          ledger(clock),
          responder([this](const MessageRequest& r) {
              texts.push_back(r.text.toStdString());
              return answer;
          }),
          dialog(ledger, dir / "Tolvane.ini") {
        ledger.CurData.Period = 4;
    }

    // Fills the basic page so that OK passes.
    void fillBasics() {
        dialog.edCorpName->setText(QStringLiteral("株式会社テスト"));
        dialog.edPayDay->setText(QStringLiteral("25"));
        dialog.edHoursPerDay->setText(QStringLiteral("7:30"));
        dialog.edHealthIns->setText(QStringLiteral(" 5.095"));
    }

    TempDir dir;
    FixedClock clock;
    Ledger ledger;
    std::vector<std::string> texts;
    Answer answer = Answer::Ok;
    ScopedResponder responder;
    SettingsDialog dialog;
};

TEST_F(SettingsDialogTest, NewPeriodShowsDefaultsAndOkWalksTheChecks) {
    dialog.FormShow();
    EXPECT_EQ(dialog.edEmpIns->text(), " 0.500");
    EXPECT_EQ(dialog.edHealthIns->text(), " 0.000");
    EXPECT_EQ(dialog.edCareIns->text(), " 0.810");
    EXPECT_EQ(dialog.edPension->text(), " 9.150");
    EXPECT_TRUE(dialog.rbGeneral->isChecked());
    EXPECT_EQ(ledger.BasicInfo().CareInsRate, 0.81);  // the record in memory takes them

    dialog.btSysSaveClick();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "会社名が入力されていません。");
    EXPECT_EQ(dialog.focusWidget(), dialog.edCorpName);

    dialog.edCorpName->setText(QStringLiteral("株式会社テスト"));
    dialog.edPayDay->setText(QStringLiteral("25"));
    dialog.edHoursPerDay->setText(QStringLiteral("8"));
    dialog.btSysSaveClick();
    EXPECT_EQ(texts.back(), "保険料負担率が入力されていません。");
    EXPECT_EQ(dialog.focusWidget(), dialog.edEmpIns);
    EXPECT_TRUE(ledger.BasicInfo().CorpName.empty());  // nothing stored yet
}

TEST_F(SettingsDialogTest, EnterOnTheFocusedOkButtonPressesIt) {
    dialog.FormShow();
    dialog.show();
    dialog.activateWindow();
    dialog.btSysSave->setFocus(Qt::TabFocusReason);
    QTest::keyClick(dialog.btSysSave, Qt::Key_Return);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "会社名が入力されていません。");
    dialog.hide();
}

// However fast the keys follow a click, the figure saved is the one typed:
// beside the figure, at or right of the middle of its last character's ink, or
// after a double or triple click anywhere it replaces the whole of it; before
// a digit it overtypes from there; over a selection (dragged or by
// Shift+arrows) the whole run of keys takes its place; after Home it starts at
// the figure's first digit.
TEST_F(SettingsDialogTest, AFigureTypedAfterAClickIsStoredAsTyped) {
    using namespace testing_support;
    struct Row {
        QLineEdit* SettingsDialog::*field;
        const char* shown;
        ClickAt at;
        const char* keys;
        double stored;
    } rows[] = {
        {&SettingsDialog::edHealthIns, " 4.925", kBesideFigure, "5.1", 5.1},
        {&SettingsDialog::edHealthIns, " 4.925", ClickAt{3}, "1", 4.125},  // on the 9
        {&SettingsDialog::edHealthIns, " 4.925", rightHalfOf(5), "5.15", 5.15},
        {&SettingsDialog::edHealthIns, " 4.925", ClickAt{5}, "1", 4.921},
        {&SettingsDialog::edHealthIns, " 4.925", dragOver(3, 4), "5", 4.55},
        {&SettingsDialog::edHealthIns, " 4.925", dragOver(3, 4), "15", 4.155},
        {&SettingsDialog::edHealthIns, " 4.925", shiftLeftOver(3, 4), "80", 4.805},
        {&SettingsDialog::edHealthIns, " 4.925", kHome, "5", 5.925},
        {&SettingsDialog::edHealthIns, " 4.925", doubleClickOn(3), "5.1", 5.1},  // after the point
        {&SettingsDialog::edHealthIns, " 4.925", doubleClickOn(1), "10", 10},    // before it
        {&SettingsDialog::edHealthIns, " 4.925", doubleClickOn(5), "10.125", 10.125},
        {&SettingsDialog::edHealthIns, " 4.925", tripleClickOn(4), "5.15", 5.15},
        {&SettingsDialog::edHealthIns, " 4.921", inkMiddleOf(5), "5.1", 5.1},
        {&SettingsDialog::edHealthIns, " 4.921", inkLeftOf(5), "5", 4.925},
        {&SettingsDialog::edPayDay, "21", inkRightOf(1), "25", 25},
        {&SettingsDialog::edPayDay, "21", inkMiddleOf(1), "5", 5},
    };
    const auto file = dir / "令和8年給与･賞与.dat";
    CreateDataFile(ledger, file);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.shown << " at " << row.at.character << " how " << row.at.how);
        forEachWayIn([&](bool hadFocus, int pace) {
            dialog.show();  // which loads the form
            dialog.activateWindow();
            fillBasics();
            (dialog.*row.field)->setText(QString::fromUtf8(row.shown));
            clickAndType(dialog.*row.field, dialog.edCareIns, hadFocus, row.at, row.keys, pace);
            dialog.btSysSave->click();
            SavePeriod(ledger, file);
            const TBasicInfo saved = ReadPeriodBlock(file, 4)->BasicInfo;
            EXPECT_EQ(row.field == &SettingsDialog::edPayDay ? saved.PayDay : saved.HealthInsRate,
                      row.stored);
        });
    }
}

TEST_F(SettingsDialogTest, OkStoresTheRecordAndTheSettingsAndHintsAtNewRates) {
    dialog.FormShow();
    fillBasics();
    dialog.edCorpNumber->setText(QStringLiteral("1234567890123"));
    dialog.edFree[0]->setText(QStringLiteral(" 住宅手当"));
    dialog.rbTime10->setChecked(true);
    dialog.btSysSaveClick();

    ASSERT_EQ(texts,
              (std::vector<std::string>{"社員情報の編集画面で､保険料などの再設定が必要です。"}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ledger.BasicInfo().CorpName.str(), "株式会社テスト");
    EXPECT_EQ(ledger.BasicInfo().CorpNumber, 1234567890123);
    EXPECT_EQ(ledger.BasicInfo().HoursPerDay, 7.5);
    EXPECT_EQ(ledger.BasicInfo().HealthInsRate, 5.095);
    EXPECT_EQ(ledger.sysOption.freeLabels[0], " 住宅手当");
    EXPECT_EQ(ledger.sysOption.timeStyle, 0);

    platform::IniFile ini(dir / "Tolvane.ini");
    EXPECT_EQ(ini.readString("Option", "CorpName"), "株式会社テスト");
    EXPECT_EQ(ini.readString("Option", "DefJikanD"), "7.50");
    EXPECT_EQ(ini.readString("Option", "FixTeate1"), " 住宅手当");

    // Shown again: only the employment rate changes, so no hint.
    texts.clear();
    dialog.FormShow();
    EXPECT_EQ(dialog.edHoursPerDay->text(), " 7.50");
    dialog.rbOther->click();
    EXPECT_EQ(dialog.edEmpIns->text(), " 0.600");
    dialog.btSysSaveClick();
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(ledger.BasicInfo().GeneralBusiness, 0);
    EXPECT_EQ(ledger.BasicInfo().EmpInsRate, 0.6);
}

TEST_F(SettingsDialogTest, LabelFaultsOpenTheirPage) {
    dialog.FormShow();
    fillBasics();
    dialog.edAttendance[2]->setText(QStringLiteral("出勤日数"));
    dialog.btSysSaveClick();
    EXPECT_EQ(texts.back(), "項目名が重複しています。");
    EXPECT_EQ(dialog.page(), ConfigPage::ItemNames);
    EXPECT_EQ(dialog.focusWidget(), dialog.edAttendance[2]);

    dialog.edAttendance[2]->setText(QStringLiteral("有休日数"));
    dialog.edFree[0]->setText(QStringLiteral("基本給"));
    dialog.btSysSaveClick();
    EXPECT_EQ(
        texts.back(),
        "項目名｢基本給｣は既に設定されている項目名です。\r同じ項目名を複数設定する事は出来ません。");
    EXPECT_EQ(dialog.page(), ConfigPage::FreeItems);
    EXPECT_EQ(dialog.focusWidget(), dialog.edFree[0]);
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    // Leaving an attendance label checks its naming rule at once.
    texts.clear();
    dialog.edAttendance[7]->setText(QStringLiteral("実働"));
    dialog.attendanceLabelExit(7);
    EXPECT_EQ(texts, (std::vector<std::string>{"｢時間｣か｢残業｣の文字を含む必要があります。"}));
    EXPECT_EQ(dialog.focusWidget(), dialog.edAttendance[7]);
}

TEST_F(SettingsDialogTest, LabelsRefuseTextWithoutShiftJisForm) {
    dialog.FormShow();
    dialog.edFree[3]->setText(QStringLiteral("手当😀"));
    EXPECT_EQ(dialog.edFree[3]->text(), "変動手当１");
    // Held to twelve bytes.
    dialog.edFree[3]->setText(QStringLiteral("通勤手当特別加算"));
    EXPECT_EQ(dialog.edFree[3]->text(), "通勤手当特別");
}

TEST_F(SettingsDialogTest, DefaultsButtonsRestoreTheirPageAfterAsking) {
    dialog.FormShow();
    dialog.edFree[0]->setText(QStringLiteral("住宅手当"));
    dialog.cbKazei[0]->setChecked(false);
    dialog.edAttendance[0]->setText(QStringLiteral("所定日数"));
    answer = Answer::No;
    dialog.btDefault1Click();
    EXPECT_EQ(dialog.edFree[0]->text(), "住宅手当");
    answer = Answer::Yes;
    dialog.btDefault1Click();
    EXPECT_EQ(texts.back(), "この画面の項目名称を初期状態に戻します。");
    EXPECT_EQ(dialog.edFree[0]->text(), "固定手当１");
    EXPECT_TRUE(dialog.cbKazei[0]->isChecked());
    EXPECT_EQ(dialog.edAttendance[0]->text(), "所定日数");
    dialog.btDefault2Click();
    EXPECT_EQ(dialog.edAttendance[0]->text(), "所定労働日数");
    EXPECT_EQ(ledger.sysOption.freeLabels[0], "固定手当１");
}

TEST_F(SettingsDialogTest, CancelWithoutACompanyNameAsksFirst) {
    dialog.show();
    answer = Answer::No;
    dialog.btCancelClick();
    EXPECT_EQ(texts.back(),
              "基本情報が未設定の状態では、処理は正常に行われません。\r設定を行わず、この画面を閉じ"
              "ますか？");
    EXPECT_TRUE(dialog.isVisible());
    answer = Answer::Yes;
    dialog.btCancelClick();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(SettingsDialogTest, HealthRateComesFromTheRatesList) {
    writeText(dir / kHealthRatesFileName, "\x90\x5f\x93\xde\x90\xec\x8c\xa7  10.19\r\n");
    dialog.fmKenRitu = new HealthRatesDialog(dir / kHealthRatesFileName, &dialog);
    HealthRatesDialog& rates = *dialog.fmKenRitu;
    ASSERT_EQ(rates.lbKenRitu->count(), 1);
    EXPECT_EQ(rates.lbKenRitu->item(0)->text(), "神奈川県  10.19%");
    EXPECT_FALSE(rates.bbOk->isEnabled());

    dialog.runModal = [](QDialog& d) {
        auto& k = static_cast<HealthRatesDialog&>(d);
        k.lbKenRitu->setCurrentRow(0);
        k.lbKenRituClick();
        EXPECT_TRUE(k.bbOk->isEnabled());
        k.bbOkClick();
        return k.result() == QDialog::Accepted;
    };
    dialog.FormShow();
    dialog.btKenRituClick();
    EXPECT_EQ(texts,
              (std::vector<std::string>{"選択した健康保険料率の半分の値がセットされます。"}));
    EXPECT_EQ(dialog.edHealthIns->text(), " 5.095");

    rates.show();
    testing_support::screenshot(&rates, QStringLiteral("KenRitu"));
    rates.hide();

    // Names are padded with blanks to one byte width: the rates line up.
    writeText(dir / kHealthRatesFileName,
              "\x96\x6b\x8a\x43\x93\xb9    10.28\r\n"        // 北海道
              "\x90\x5f\x93\xde\x90\xec\x8c\xa7   9.92\r\n"  // 神奈川県
              "Test       9.55\r\n");
    HealthRatesDialog three(dir / kHealthRatesFileName);
    ASSERT_EQ(three.lbKenRitu->count(), 3);
    const QFontMetrics m(three.lbKenRitu->font());
    auto rateX = [&](int row) {
        QString t = three.lbKenRitu->item(row)->text();
        return m.horizontalAdvance(t.left(t.size() - 6));  // up to the rate's last 5 bytes + "%"
    };
    EXPECT_EQ(rateX(0), rateX(1));
    EXPECT_EQ(rateX(0), rateX(2));

    HealthRatesDialog none(dir / "missing.dat");
    EXPECT_EQ(none.lbKenRitu->count(), 0);
    none.bbOkClick();
    EXPECT_EQ(none.result(), QDialog::Rejected);
}

TEST_F(SettingsDialogTest, RatesOkWaitsForTheUserToPickAPrefecture) {
    writeText(dir / kHealthRatesFileName,
              "\x96\x6b\x8a\x43\x93\xb9    10.28\r\n"          // 北海道
              "\x90\x5f\x93\xde\x90\xec\x8c\xa7  10.19\r\n");  // 神奈川県
    HealthRatesDialog rates(dir / kHealthRatesFileName);
    rates.show();
    QListWidget* list = rates.lbKenRitu;
    // Entering the list makes its first row current; that is no choice.
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(list, &in);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_FALSE(rates.bbOk->isEnabled());
    rates.bbOkClick();
    EXPECT_TRUE(texts.empty());
    EXPECT_TRUE(rates.isVisible());

    const QPoint at = list->visualItemRect(list->item(1)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &click);
    }
    EXPECT_TRUE(rates.bbOk->isEnabled());
    rates.bbOkClick();
    EXPECT_EQ(rates.result(), QDialog::Accepted);
    EXPECT_NEAR(rates.Rate, 5.095, 1e-9);
}

TEST_F(SettingsDialogTest, SettingsAreReadWhenCreated) {
    platform::IniFile ini(dir / "Tolvane.ini");
    ini.writeQuoted("Option", "Sonota1", "立替金");
    ini.writeString("Option", "HasuuSik", "9");
    SettingsDialog again(ledger, dir / "Tolvane.ini");
    EXPECT_EQ(ledger.sysOption.freeLabels[12], "立替金");
    EXPECT_EQ(ledger.sysOption.hasuuSik, 1);
    again.FormShow();
    EXPECT_EQ(again.edFree[12]->text(), "立替金");
    EXPECT_TRUE(again.rbSikUp->isChecked());
}

}  // namespace
}  // namespace ledger::ui
