#include "ledger/ui/EmployeeEditor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <cstring>
#include <filesystem>

#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/ui/GradeTableDialog.h"
#include "ledger/ui/NoticeWindow.h"
#include "support/PersonTyping.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/CalcKeys.h"
#include "ui/Screenshot.h"

namespace ledger::ui {
namespace {

using platform::ui::Answer;
using testing_support::BoxRecorder;
using testing_support::TempDir;

GradeTable sampleGrades() {
    GradeTable t;
    t.Count = 50;
    t.PensionLowest = 4;
    t.PensionHighest = 35;
    for (int g = 1; g <= 50; ++g)
        t.Rows[std::size_t(g - 1)] = {g * 10000 + 50000, g * 10000 + 60000, g * 10000 + 55000};
    t.Rows[0] = {0, 63000, 58000};
    t.Rows[1] = {63000, 73000, 68000};
    t.Rows[3] = {83000, 93000, 88000};
    t.Rows[49] = {1355000, kNoUpperLimit, 1390000};
    return t;
}

class EmployeeEditorTest : public testing::Test {
protected:
    EmployeeEditorTest() : clock({2024, 4, 1, 9, 5, 7}), ledger(clock), dialog(ledger) {
        ledger.dataPath = dir.path();
        ledger.tables.grades = sampleGrades();
        ledger.tables.gradesLoaded = true;
        ledger.BasicInfo().HealthInsRate = 4.95;
        ledger.BasicInfo().CareInsRate = 0.80;
        ledger.BasicInfo().PensionRate = 9.15;
        grades = new GradeTableDialog(ledger.tables.grades, &dialog);
        notice = new NoticeWindow(&dialog);
        dialog.fmKenhoHyo = grades;
        dialog.fmNotice = notice;
        dialog.runModal = [this](QDialog& d) {
            modals.push_back(&d);
            if (&d == notice) {
                notices << notice->pnMessage->text();
                return true;
            }
            if (&d == grades) {
                grades->FormShow();
                if (gradeRow < 0) return false;
                grades->ListBox->setCurrentRow(gradeRow);
                grades->bbOkClick();
                return grades->result() == QDialog::Accepted;
            }
            return false;
        };
    }

    void employee(int slot, const char* key, const char* name, const char* code = "") {
        TEmployeeRec& e = ledger.Employee(slot);
        e.Key.set(key);
        e.Name.set(name);
        e.Code.set(code);
        e.Kind = 2;
        e.KindText.set("一般社員");
        e.PayForm = 1;
        e.Status = 1;
    }

    // A realistic employee in slot 1.
    void yamada() {
        employee(1, "190401_083000", "山田 太郎", "A001");
        TEmployeeRec& e = ledger.Employee(1);
        e.Kana.set("ﾔﾏﾀﾞ ﾀﾛｳ");
        e.Dept.set("営業部");
        e.BirthEra = 3;
        e.BirthYear = 58;
        e.BirthMonth = 7;
        e.BirthDay = 21;
        e.Dependants = 2;
        e.TaxDependants = 2;
        e.BasePay = 285000;
        e.PostAllowance = 20000;
        e.FamilyAllowance = 15000;
        e.OvertimeUnit = 2230;
        e.CommuteFree = 12500;
        e.ResidentTaxJune = 14300;
        e.ResidentTax = 13900;
        e.EmpInsured = e.HealthInsured = e.CareInsured = e.PensionInsured = 1;
        e.HealthPremium = 15840;
        e.CarePremium = 2560;
        e.PensionPremium = 29280;
        e.HealthGrade = 22;
        e.BankName.set("みずほ銀行");
        e.BankKana.set("ﾐｽﾞﾎ");
        e.BranchName.set("新宿支店");
        e.BranchKana.set("ｼﾝｼﾞｭｸ");
        e.AccountNo.set("1234567");
        e.TransferFee = 330;
        e.MyNumber = 123456789012;
        e.Memo.set("前職：株式会社サンプル");
    }

    // Yamada with a base pay of 300,000, open in the shown editor.
    void showYamada() {
        yamada();
        ledger.Employee(1).BasePay = 300000;
        ledger.Employee(1).TransferFee = 330;
        dialog.EditSlot = 1;
        dialog.FormShow();
        dialog.show();
        dialog.activateWindow();
    }

    TempDir dir;
    FixedClock clock;
    Ledger ledger;
    EmployeeEditor dialog;
    GradeTableDialog* grades;
    NoticeWindow* notice;
    BoxRecorder boxes;
    QStringList notices;
    std::vector<QDialog*> modals;
    int gradeRow = 1;
};

TEST_F(EmployeeEditorTest, NewEmployeeStartsFromDefaultsAndGoesToTheFirstFreeSlot) {
    for (int s = 1; s <= 5; ++s)
        employee(s, ("24010" + std::to_string(s) + "_000000").c_str(), "社員");
    dialog.EditSlot = -1;
    dialog.FormShow();
    EXPECT_EQ(dialog.cbKubun->currentText(), "一般社員");
    EXPECT_EQ(dialog.cbKeitai->currentText(), "月給");
    EXPECT_EQ(dialog.cbSyugyo->currentText(), "在職");
    EXPECT_EQ(dialog.cbBirthG->currentIndex(), -1);
    EXPECT_FALSE(dialog.sbBack->isEnabled());
    EXPECT_FALSE(dialog.sbNext->isEnabled());
    EXPECT_TRUE(dialog.rbFurikomi->isChecked());
    EXPECT_EQ(dialog.edMyNo->echoMode(), QLineEdit::Password);

    dialog.edSimei->setText("  鈴木 花子 ");
    dialog.cbKubun->setEditText("嘱託");
    dialog.bbOkClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.StoredSlot, 6);
    const TEmployeeRec& e = ledger.Employee(6);
    EXPECT_EQ(e.Key.bytes(), "240401_090507");
    EXPECT_EQ(e.Name.str(), "鈴木 花子");
    EXPECT_EQ(e.Kind, 0);
    EXPECT_EQ(e.KindText.str(), "嘱託");
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

TEST_F(EmployeeEditorTest, OkReportsTheFirstFailingCheckAndWritesNothing) {
    yamada();
    employee(2, "200101_000000", "佐藤", "B002");
    std::vector<unsigned char> before(sizeof(TEmployeeRec) * 2);
    std::memcpy(before.data(), &ledger.Employee(1), before.size());

    dialog.EditSlot = 2;
    dialog.FormShow();
    dialog.edSimei->clear();
    dialog.edMyNo->setText("01234567890");
    dialog.bbOkClick();
    dialog.edSimei->setText("佐藤");
    dialog.bbOkClick();
    dialog.edMyNo->clear();
    dialog.edSyaCod->setText("A001");
    dialog.bbOkClick();
    EXPECT_EQ(boxes.boxes,
              (QStringList{"氏名を入力して下さい。", "マイナンバーの入力に誤りがあります。",
                           "社員コードが重複しています。"}));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(std::memcmp(before.data(), &ledger.Employee(1), before.size()), 0);

    // Its own code is no duplicate.
    dialog.edSyaCod->setText("B002");
    dialog.bbOkClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(EmployeeEditorTest, RecordShownAndStoredBackUntouched) {
    yamada();
    dialog.EditSlot = 1;
    dialog.FormShow();
    EXPECT_EQ(dialog.edSimei->text(), "山田 太郎");
    EXPECT_EQ(dialog.edMyNo->text(), "123456789012");
    EXPECT_EQ(dialog.cbBirthG->currentText(), "昭和");
    EXPECT_EQ(dialog.edBirthY->text(), "58");
    EXPECT_EQ(dialog.edBirthM->text(), " 7");
    EXPECT_EQ(dialog.edFuyou->text(), " 2");
    EXPECT_EQ(dialog.edAmount[kAmBasePay]->text(), "  285,000");
    EXPECT_EQ(dialog.edAmount[kAmResidentTax]->text(), " 13,900");
    EXPECT_EQ(dialog.edAmount[kAmTransferFee]->text(), "  330");
    EXPECT_EQ(grades->SelectedGrade, 22);

    const TEmployeeRec orig = ledger.Employee(1);
    dialog.bbOkClick();
    EXPECT_EQ(std::memcmp(&orig, &ledger.Employee(1), sizeof orig), 0);
}

TEST_F(EmployeeEditorTest, MovingToAnotherEmployeeOnlyWithoutChanges) {
    yamada();
    employee(2, "200101_000000", "佐藤");
    dialog.EditSlot = 1;
    dialog.FormShow();
    EXPECT_FALSE(dialog.sbBack->isEnabled());
    EXPECT_TRUE(dialog.sbNext->isEnabled());

    dialog.sbBackNextDataClick(+1);
    EXPECT_EQ(dialog.EditSlot, 2);
    EXPECT_EQ(dialog.edSimei->text(), "佐藤");
    EXPECT_TRUE(dialog.sbBack->isEnabled());
    EXPECT_FALSE(dialog.sbNext->isEnabled());

    dialog.edSimei->setText("佐藤 次郎");
    // PageDown acts as 前データ.
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(dialog.edSimei, &pageDown);
    EXPECT_EQ(boxes.boxes, QStringList{"データ内容に変更がある場合は出来ません。"});
    EXPECT_EQ(dialog.EditSlot, 2);
    EXPECT_EQ(dialog.edSimei->text(), "佐藤 次郎");
    EXPECT_EQ(ledger.Employee(2).Name.str(), "佐藤");
}

TEST_F(EmployeeEditorTest, DependentFieldsFollowTheirSwitchesAndAreStillStored) {
    yamada();
    dialog.EditSlot = 1;
    dialog.FormShow();
    EXPECT_TRUE(dialog.edAmount[kAmCarePremium]->isEnabled());
    EXPECT_FALSE(dialog.edAmount[kAmPaidLeavePay]->isEnabled());
    EXPECT_FALSE(dialog.edAmount[kAmPensionFundPremium]->isEnabled());

    dialog.cbKenkou->setChecked(false);
    dialog.cbKenkouClick();
    EXPECT_FALSE(dialog.cbKaigo->isChecked());
    EXPECT_FALSE(dialog.cbKaigo->isEnabled());
    EXPECT_FALSE(dialog.edAmount[kAmCarePremium]->isEnabled());
    dialog.cbKeitai->setCurrentIndex(1);  // 日給
    EXPECT_TRUE(dialog.edAmount[kAmPaidLeavePay]->isEnabled());
    dialog.rbGenkin->setChecked(true);
    EXPECT_FALSE(dialog.edKinyu->isEnabled());
    EXPECT_FALSE(dialog.edAmount[kAmTransferFee]->isEnabled());

    dialog.bbOkClick();
    const TEmployeeRec& e = ledger.Employee(1);
    EXPECT_EQ(e.CareInsured, 0);
    EXPECT_EQ(e.CarePremium, 2560);
    EXPECT_EQ(e.PayMethod, 1);
    EXPECT_EQ(e.BankName.str(), "みずほ銀行");
    EXPECT_EQ(e.TransferFee, 330);
    EXPECT_EQ(e.PayForm, 2);
}

TEST_F(EmployeeEditorTest, PremiumsFromTheGradeTable) {
    yamada();
    dialog.EditSlot = 1;
    dialog.FormShow();
    EXPECT_FALSE(dialog.sbAutoSet->isEnabled());
    dialog.PageCtrl->setCurrentIndex(1);
    EXPECT_TRUE(dialog.sbAutoSet->isEnabled());

    boxes.answer = Answer::No;
    dialog.sbAutoSetClick();
    EXPECT_TRUE(modals.empty());
    boxes.answer = Answer::Yes;
    dialog.sbAutoSetClick();
    dialog.sbAutoSetClick();  // asked once per run
    EXPECT_EQ(boxes.boxes.size(), 2);
    EXPECT_EQ(boxes.boxes[0],
              "健康保険等級表から健康･介護･厚生年金保険料と\r厚生年金基金の掛け金をセットします。");
    EXPECT_EQ(grades->lbSelToKyu->text(), "選択等級：2等級");

    // Grade 2: health and care from its row, pension from the lowest pension grade.
    EXPECT_EQ(dialog.edAmount[kAmHealthPremium]->text(), "  3,366");
    EXPECT_EQ(dialog.edAmount[kAmCarePremium]->text(), "    544");
    EXPECT_EQ(dialog.edAmount[kAmPensionPremium]->text(), "  8,052");
    EXPECT_EQ(dialog.edAmount[kAmPensionFundPremium]->text(), "      0");  // though disabled

    dialog.bbOkClick();
    EXPECT_EQ(ledger.Employee(1).HealthGrade, 2);
    EXPECT_EQ(ledger.Employee(1).HealthPremium, 3366);

    // Cancel in the grade list changes nothing.
    gradeRow = -1;
    dialog.edAmount[kAmHealthPremium]->setText("  1,000");
    dialog.sbAutoSetClick();
    EXPECT_EQ(dialog.edAmount[kAmHealthPremium]->text(), "  1,000");
}

TEST_F(EmployeeEditorTest, TemplateIsSetAndCleared) {
    const auto file = dir / kEmployeeTemplateName;
    dialog.EditSlot = -1;
    dialog.FormShow();
    dialog.edSimei->setText("山田");
    dialog.cbKubun->setCurrentIndex(3);  // パート
    dialog.cbKubun->setEditText("パート");
    dialog.edAmount[kAmBasePay]->setText("150,000");

    boxes.answer = Answer::Cancel;
    dialog.sbNewBaseClick();
    EXPECT_FALSE(std::filesystem::exists(file));

    boxes.answer = Answer::Yes;
    dialog.sbNewBaseClick();
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 700u);
    EXPECT_EQ(notices, QStringList{"新規作成時の基本にしました。"});

    // The next new employee starts from it, without the name.
    dialog.FormShow();
    EXPECT_EQ(dialog.edSimei->text(), "");
    EXPECT_EQ(dialog.cbKubun->currentText(), "パート");
    EXPECT_EQ(dialog.edAmount[kAmBasePay]->text(), "  150,000");

    // "No" to the first question leads to the second; "No" there keeps the file.
    boxes.answer = Answer::No;
    dialog.sbNewBaseClick();
    EXPECT_TRUE(std::filesystem::exists(file));
    platform::ui::ScopedResponder clear([](const platform::ui::MessageRequest& m) {
        return m.buttons == platform::ui::Buttons::YesNoCancel ? Answer::No : Answer::Yes;
    });
    dialog.sbNewBaseClick();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(notices.back(), "基本に設定を解除しました。");
    EXPECT_EQ(dialog.cbKubun->currentText(), "一般社員");
    EXPECT_EQ(dialog.edAmount[kAmBasePay]->text(), "        0");
}

TEST_F(EmployeeEditorTest, KeysOfTheKindFieldAndTheCalculator) {
    dialog.EditSlot = -1;
    dialog.FormShow();
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(dialog.cbKubun, &backspace);
    EXPECT_EQ(boxes.boxes,
              QStringList{
                  "この項目ではBackSpaceキーは使用できません。\rDeleteキーで編集を行って下さい。"});
    EXPECT_EQ(dialog.cbKubun->currentText(), "一般社員");

    dialog.calculator = [](QWidget*) { return std::optional<double>(-5.7); };
    dialog.NumericField = dialog.edAmount[kAmResidentTax];
    dialog.sbCalculatorClick();
    EXPECT_EQ(dialog.edAmount[kAmResidentTax]->text(), "     -5");

    // The real calculator, typed key by key: the zero after the point counts.
    dialog.calculator = [](QWidget* owner) {
        CalculatorDialog calc(owner);
        calc.show();
        testing_support::typeIntoCalc(calc, "250000*1.05=");
        calc.accept();
        return std::optional<double>(calc.CalcValue);
    };
    dialog.NumericField = dialog.edAmount[kAmBasePay];
    dialog.sbCalculatorClick();
    EXPECT_EQ(dialog.edAmount[kAmBasePay]->text(), "  262,500");
}

TEST_F(EmployeeEditorTest, GradeListShowsTheTableAndKeepsTheChoiceOnCancel) {
    grades->SelectedGrade = 0;
    grades->FormShow();
    ASSERT_EQ(grades->ListBox->count(), 50);
    EXPECT_EQ(grades->ListBox->item(0)->text(), "        0円以上    63,000円未満     58,000円");
    EXPECT_FALSE(grades->ListBox->item(49)->text().contains("2,147"));
    EXPECT_EQ(grades->ListBox->currentRow(), 0);
    grades->SelectedGrade = 80;  // beyond the table
    grades->FormShow();
    EXPECT_EQ(grades->ListBox->currentRow(), 49);
    EXPECT_EQ(grades->lbSelToKyu->text(), "選択等級：50等級");
    grades->ListBox->setCurrentRow(4);
    grades->reject();
    EXPECT_EQ(grades->SelectedGrade, 80);
    grades->bbOkClick();
    EXPECT_EQ(grades->SelectedGrade, 5);
}

// With the default settings, typed at a person's pace: the text fields insert,
// the amounts overtype and move on past an equal digit, and the field still
// focused is checked when the record is stored.
TEST_F(EmployeeEditorTest, FieldsTypedAtAPersonsPace) {
    showYamada();
    QTest::qWait(50);
    testing_support::clickAtEnd(dialog.edBusyo);
    QTest::qWait(250);
    testing_support::typeAtPace("2", 100);
    EXPECT_EQ(dialog.edBusyo->text(), "営業部2");

    dialog.PageCtrl->setCurrentIndex(1);
    QLineEdit* base = dialog.edAmount[kAmBasePay];
    base->setFocus(Qt::TabFocusReason);
    QTest::qWait(250);
    EXPECT_EQ(base->selectedText(), "  300,000");
    testing_support::pressAtPace(Qt::Key_Home, 100);
    testing_support::pressAtPace(Qt::Key_Right, 100);
    testing_support::typeAtPace("05", 100);
    EXPECT_EQ(base->text(), "  305,000");
    dialog.bbOk->click();
    EXPECT_EQ(ledger.Employee(1).BasePay, 305000);
    EXPECT_EQ(ledger.Employee(1).Dept.str(), "営業部2");
}

// However fast the keys follow a click, the figure saved in the year file is
// the one typed: beside the figure, at or right of the middle of its last
// character's ink, or after a double or triple click anywhere it replaces the
// whole of it; before a digit it overtypes from there; over a selection
// (dragged or by Shift+arrows) the whole run of keys takes its place; after
// Home it starts at the figure's first digit.
TEST_F(EmployeeEditorTest, AFigureTypedAfterAClickIsSavedAsTyped) {
    using namespace testing_support;
    const auto file = dir / "令和6年給与･賞与.dat";
    ledger.CurData.Period = 4;
    CreateDataFile(ledger, file);
    constexpr int kBirthDay = -1;
    struct Row {
        int amount;  // or kBirthDay
        ClickAt at;
        const char* keys;
        std::int32_t saved;
    } rows[] = {
        {kAmBasePay, kBesideFigure, "250000", 250000},
        {kAmBasePay, ClickAt{3}, "05", 305000},  // on the first 0 of "  300,000"
        {kAmResidentTax, kBesideFigure, "12000", 12000},
        {kAmResidentTax, ClickAt{2}, "2", 12900},  // on the 3 of " 13,900"
        {kAmBasePay, rightHalfOf(8), "260000", 260000},
        {kAmBasePay, ClickAt{8}, "5", 300005},
        {kAmBasePay, dragOver(2, 4), "5", 5000},  // over "300"
        {kAmBasePay, dragOver(2, 4), "280", 280000},
        {kAmTransferFee, dragOver(2, 3), "44", 440},             // over "33" of "  330"
        {kAmBasePay, shiftLeftOver(3, 4), "80", 380000},         // over "00" before the comma
        {kAmBasePay, homeShiftRightTo(2, 4), "150", 150000},     // Home, over "300"
        {kAmResidentTax, doubleClickOn(1), "8", 8},              // before the comma
        {kAmFamilyAllowance, doubleClickOn(4), "12000", 12000},  // after it: " 15,000"
        {kAmBasePay, doubleClickOn(7), "250000", 250000},
        {kAmBasePay, tripleClickOn(3), "5", 5},
        {kAmFamilyAllowance, kHome, "9", 95000},  // " 15,000"
        {kBirthDay, inkMiddleOf(1), "5", 5},      // the 1 of "21"
        {kBirthDay, inkRightOf(1), "15", 15},
        {kBirthDay, inkLeftOf(1), "5", 25},
        {kBirthDay, doubleClickOn(0), "9", 9},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "amount " << row.amount << " at " << row.at.character
                                        << " how " << row.at.how << " keys " << row.keys);
        forEachWayIn([&](bool hadFocus, int pace) {
            showYamada();
            dialog.PageCtrl->setCurrentIndex(row.amount == kBirthDay ? 0 : 1);
            QLineEdit* field = row.amount == kBirthDay ? dialog.edBirthD
                                                       : dialog.edAmount[std::size_t(row.amount)];
            clickAndType(
                field,
                row.amount == kBirthDay ? dialog.edBirthM : dialog.edAmount[kAmPostAllowance],
                hadFocus, row.at, row.keys, pace);
            dialog.bbOk->click();
            SavePeriod(ledger, file);
            const auto block = ReadPeriodBlock(file, 4);
            const TEmployeeRec& saved = block->EmployeeTbl[0];
            const std::int32_t value = row.amount == kBirthDay        ? saved.BirthDay
                                       : row.amount == kAmBasePay     ? saved.BasePay
                                       : row.amount == kAmResidentTax ? saved.ResidentTax
                                       : row.amount == kAmTransferFee ? saved.TransferFee
                                                                      : saved.FamilyAllowance;
            EXPECT_EQ(value, row.saved);
        });
    }
}

TEST_F(EmployeeEditorTest, Screenshots) {
    yamada();
    dialog.EditSlot = 1;
    dialog.FormShow();
    dialog.cbHide->setChecked(false);
    dialog.cbHideClick();
    dialog.show();
    testing_support::screenshot(&dialog, "MembEdit_basic");
    dialog.PageCtrl->setCurrentIndex(1);
    testing_support::screenshot(&dialog, "MembEdit_pay");
    dialog.hide();
    grades->SelectedGrade = 22;
    grades->show();
    testing_support::screenshot(grades, "KenhoHyo");
    grades->hide();
}

}  // namespace
}  // namespace ledger::ui
