#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <cstring>

#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "support/PersonTyping.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/CalcKeys.h"
#include "ui/Screenshot.h"
#include "withholding/WithholdingFile.h"
#include "withholding/ui/CompanyInfoDialog.h"
#include "withholding/ui/FamilyDialog.h"
#include "withholding/ui/NewLayoutRecordEditor.h"
#include "withholding/ui/OldLayoutRecordEditor.h"
#include "withholding_ui/EditorFixture.h"

namespace {
using withholding::WithholdingData;
using withholding::ui::FamilyDialog;
using withholding::ui::NewLayoutRecordEditor;
using withholding::ui::OldLayoutRecordEditor;
using withholding::ui::RecordEditor;

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

void focus(QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    settle();
}

void key(QWidget* w, int k, Qt::KeyboardModifiers m = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, k, m, text);
    QApplication::sendEvent(w, &press);
    settle();
}

using testing_support::EditorFixture;

template <class Editor>
std::unique_ptr<Editor> showEditor(EditorFixture& f, int slot) {
    auto e = std::make_unique<Editor>(f.ledger, f.data);
    e->EditSlot = slot;
    e->show();
    e->activateWindow();
    settle();
    return e;
}

TEST(RecordEditor, ShowsTheRecordAndNavigates) {
    EditorFixture f;
    int selected = 0;
    auto e = showEditor<NewLayoutRecordEditor>(f, 1);
    e->selectListSlot = [&](int s) { selected = s; };
    testing_support::screenshot(e.get(), "DataEdit2");
    EXPECT_EQ(e->windowTitle(), "源泉徴収データの入力");
    EXPECT_EQ(e->pnSimei->text(), "社員1");
    EXPECT_EQ(e->lbStatus->text(), "計算済");
    EXPECT_EQ(e->edit("edSiharai")->text(), " 3,456,789");
    EXPECT_EQ(e->edit("edUnder16")->text(), "0");
    EXPECT_FALSE(e->sbBackData->isEnabled());
    EXPECT_TRUE(e->sbNextData->isEnabled());
    EXPECT_TRUE(e->edit("edSiharai")->isReadOnly());
    EXPECT_TRUE(e->btAutoCalc->isEnabled());

    e->edit("edJukyuNo")->setText("1234");
    focus(e->edit("edJusyo1"));
    key(e->edit("edJusyo1"), Qt::Key_PageUp);  // the next record
    EXPECT_EQ(e->EditSlot, 2);
    EXPECT_EQ(selected, 2);
    EXPECT_EQ(f.data.Record(1).RecipientNo.str(), "1234");
    EXPECT_EQ(e->lbStatus->text(), "年調不要");
    e->sbBackNextDataClick(1);
    EXPECT_EQ(e->EditSlot, 3);
    EXPECT_FALSE(e->sbNextData->isEnabled());  // slot 4 is free
    focus(e->edit("edJusyo1"));
    key(e->edit("edJusyo1"), Qt::Key_PageUp);
    EXPECT_EQ(e->EditSlot, 3);
    key(e->edit("edJusyo1"), Qt::Key_PageDown);
    EXPECT_EQ(e->EditSlot, 2);
}

// Whichever way a record comes up, the focus starts at its postal code, in both
// layouts. The field left behind belonged to the stored record: its leave rules
// do not run on the record now shown (a month without a year would be cleared).
TEST(RecordEditor, EveryRecordShownStartsAtThePostalCode) {
    EditorFixture f;
    f.data.Record(2).BirthDate = {4, 0, 13, 0};
    f.data.OldRecord(2).BirthDate = {4, 0, 13, 0};
    auto check = [](RecordEditor& e) {
        focus(e.edit("edSeinenM"));
        key(e.edit("edSeinenM"), Qt::Key_PageUp);
        EXPECT_EQ(e.EditSlot, 2);
        EXPECT_EQ(QApplication::focusWidget(), e.edit("edYubinNo"));
        EXPECT_EQ(e.edit("edSeinenM")->text(), "13");
        focus(e.edit("edSeihoGaku"));
        e.sbBackData->click();
        settle();
        EXPECT_EQ(e.EditSlot, 1);
        EXPECT_EQ(QApplication::focusWidget(), e.edit("edYubinNo"));
    };
    check(*showEditor<NewLayoutRecordEditor>(f, 1));
    check(*showEditor<OldLayoutRecordEditor>(f, 1));
}

TEST(RecordEditor, ClosingWithoutEditsKeepsEveryByte) {
    EditorFixture f;
    auto& rec = f.data.Record(1);
    std::memset(&rec, 0x41, sizeof rec);  // text and bytes no control would write back
    rec.BirthDate = {3, 50, 2, 30};
    auto before = rec;
    auto e = showEditor<NewLayoutRecordEditor>(f, 1);
    e->reject();
    EXPECT_EQ(std::memcmp(&rec, &before, sizeof rec), 0);

    auto& old = f.data.OldRecord(1);
    std::memset(&old, 0x07, sizeof old);
    auto oldBefore = old;
    auto o = showEditor<OldLayoutRecordEditor>(f, 1);
    testing_support::screenshot(o.get(), "DataEdit");
    o->close();
    EXPECT_EQ(std::memcmp(&old, &oldBefore, sizeof old), 0);
}

TEST(RecordEditor, ManualSwitchUnlocksAnAutoField) {
    EditorFixture f;
    auto e = showEditor<NewLayoutRecordEditor>(f, 1);
    QLineEdit* tax = e->edit("edGensenGak");
    focus(tax);
    EXPECT_TRUE(e->sbManual->isEnabled());
    EXPECT_FALSE(e->sbCalculator->isEnabled());  // locked
    e->sbManualClick();
    EXPECT_FALSE(tax->isReadOnly());
    EXPECT_EQ(tax->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(f.data.Record(1).ManualFlags[withholding::kManualAnnualTax], 1);
    EXPECT_TRUE(e->sbCalculator->isEnabled());
    tax->setText("50000");
    e->sbManualClick();
    EXPECT_TRUE(tax->isReadOnly());
    EXPECT_EQ(f.data.Record(1).ManualFlags[withholding::kManualAnnualTax], 0);
    e->reject();
    EXPECT_EQ(f.data.Record(1).AnnualTax, 50000);  // kept until the next computation

    // Entered after an amount: text fields, date parts and 非居住者 have no
    // calculator; only the plain 16歳未満 count leaves the buttons to the amount.
    struct Row {
        const char* field;
        bool calculator;
        bool manual;
    } rows[] = {
        {"edUnder16", true, false}, {"edHikyoju", false, false},  {"edSeinenY", false, false},
        {"edJusyo1", false, false}, {"edGensenGak", false, true},
    };
    e = showEditor<NewLayoutRecordEditor>(f, 1);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.field);
        focus(e->edit("edSeihoGaku"));
        EXPECT_TRUE(e->sbCalculator->isEnabled());
        EXPECT_FALSE(e->sbManual->isEnabled());
        focus(e->edit(row.field));
        EXPECT_EQ(e->sbCalculator->isEnabled(), row.calculator);
        EXPECT_EQ(e->sbManual->isEnabled(), row.manual);
        if (row.calculator) {
            EXPECT_EQ(e->NumericField, e->edit("edSeihoGaku"));
        }
    }
}

// The record editors open the year-end program's calculator: "c" clears there,
// and the figure goes into the field.
TEST(RecordEditor, CalculatorIsTheYearEndOne) {
    EditorFixture f;
    auto e = showEditor<NewLayoutRecordEditor>(f, 1);
    QLineEdit* amount = e->edit("edSeihoGaku");
    focus(amount);
    bool opened = false;
    e->runModal = [&](QDialog& d) {
        auto* calc = qobject_cast<ledger::ui::CalculatorDialog*>(&d);
        if (!calc) return false;
        opened = true;
        calc->show();
        testing_support::typeIntoCalc(*calc, "12c3*2.05=");
        return true;
    };
    e->sbCalculatorClick();
    EXPECT_TRUE(opened);
    EXPECT_EQ(amount->text().trimmed(), "6");  // 6.15 cut to whole yen
    e->reject();
}

TEST(RecordEditor, LeavingFieldsAppliesTheirRules) {
    EditorFixture f;
    auto e = showEditor<NewLayoutRecordEditor>(f, 1);
    // Counts: 老人 内 fills an empty 老人, never an entered one.
    e->edit("edFuyoKazu3")->setText("2");
    focus(e->edit("edFuyoKazu3"));
    focus(e->edit("edJusyo1"));
    EXPECT_EQ(e->edit("edFuyoKazu4")->text(), "2");
    e->edit("edSyouKazu2")->setText("3");
    focus(e->edit("edSyouKazu1"));
    e->edit("edSyouKazu1")->setText("2");
    focus(e->edit("edJusyo1"));
    EXPECT_EQ(e->edit("edSyouKazu2")->text(), "3");
    // Postal code.
    focus(e->edit("edYubinNo"));
    e->edit("edYubinNo")->setText("1234567");
    focus(e->edit("edJusyo1"));
    EXPECT_EQ(e->edit("edYubinNo")->text(), "123-4567");
    // Amounts.
    e->edit("edSeihoGaku")->setText("1234567");
    focus(e->edit("edSeihoGaku"));
    focus(e->edit("edJusyo1"));
    EXPECT_EQ(e->edit("edSeihoGaku")->text(), " 1,234,567");
    // Birth date: 昭和65 does not exist; a day without a month goes back to the month.
    e->combo("cbGengou")->setCurrentIndex(3);
    focus(e->edit("edSeinenY"));
    e->edit("edSeinenY")->setText("65");
    focus(e->edit("edSeinenM"));
    EXPECT_EQ(e->edit("edSeinenY")->text(), "");
    e->edit("edSeinenY")->setText("50");
    focus(e->edit("edSeinenD"));
    e->edit("edSeinenD")->setText("9");
    focus(e->edit("edJusyo1"));
    EXPECT_EQ(e->edit("edSeinenD")->text(), "");
    EXPECT_EQ(QApplication::focusWidget(), e->edit("edSeinenM"));
}

TEST(RecordEditor, CheckBoxesExcludeEachOther) {
    EditorFixture f;
    auto e = showEditor<NewLayoutRecordEditor>(f, 1);
    QCheckBox* joined = e->checkBox("cbSyusyoku");
    QCheckBox* left = e->checkBox("cbTaisyoku");
    EXPECT_FALSE(e->edit("edSyuTaiY")->isEnabled());
    joined->click();
    e->edit("edSyuTaiM")->setText(" 4");
    left->click();
    EXPECT_FALSE(joined->isChecked());
    EXPECT_EQ(e->edit("edSyuTaiY")->text(), " 6");
    EXPECT_EQ(e->edit("edSyuTaiM")->text(), " 4");
    left->click();
    EXPECT_EQ(e->edit("edSyuTaiM")->text(), "");
    EXPECT_FALSE(e->edit("edSyuTaiY")->isEnabled());

    e->checkBox("cbTaisyou5")->click();
    e->checkBox("cbTaisyou7")->click();
    EXPECT_FALSE(e->checkBox("cbTaisyou5")->isChecked());
    e->checkBox("cbTaisyou3")->click();
    e->checkBox("cbTaisyou4")->click();
    EXPECT_FALSE(e->checkBox("cbTaisyou3")->isChecked());
    EXPECT_FALSE(e->checkBox("cbTaisyou2")->isEnabled());
    e->reject();
    EXPECT_EQ(f.data.Record(1).PersonFlags[withholding::kPersonWidower], 1);
    EXPECT_EQ(f.data.Record(1).PersonFlags[withholding::kPersonDisabledOther], 1);
    EXPECT_EQ(f.data.Record(1).Resigned, 0);
}

TEST(RecordEditor, KeysMoveAndFilter) {
    EditorFixture f;
    auto e = showEditor<NewLayoutRecordEditor>(f, 1);
    focus(e->edit("edYubinNo"));
    QLineEdit* postal = nullptr;
    e->lookupAddress = [&](QLineEdit* p, QLineEdit* address) {
        postal = p;
        address->setText("東京都");
    };
    key(e->edit("edYubinNo"), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(QApplication::focusWidget(), e->edit("edJusyo1"));
    EXPECT_EQ(postal, e->edit("edYubinNo"));
    EXPECT_EQ(e->edit("edJusyo1")->text(), "東京都");
    key(e->edit("edJusyo1"), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), e->edit("edJusyo2"));
    key(e->edit("edJusyo2"), Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), e->edit("edJusyo1"));
    // Digits only in short fields.
    focus(e->edit("edSeihoGaku"));
    e->edit("edSeihoGaku")->clear();
    key(e->edit("edSeihoGaku"), Qt::Key_A, Qt::NoModifier, "a");
    key(e->edit("edSeihoGaku"), Qt::Key_5, Qt::NoModifier, "5");
    EXPECT_EQ(e->edit("edSeihoGaku")->text(), "5");
}

TEST(RecordEditor, FamilyButtonOpensTheDialogOnTheSlot) {
    EditorFixture f;
    FamilyDialog family(f.ledger, f.data);
    auto e = showEditor<NewLayoutRecordEditor>(f, 2);
    e->setFamilyDialog(&family);
    int shownSlot = 0;
    e->runModal = [&](QDialog& d) {
        shownSlot = static_cast<FamilyDialog&>(d).FamilySlot;
        return false;
    };
    e->btFamily->click();
    EXPECT_EQ(shownSlot, 2);
}

TEST(RecordEditor, OldLayoutHasItsOwnFields) {
    EditorFixture f;
    f.data.OldRecord(1).SpouseKind[withholding::kSpouseSubYes] = 1;
    auto e = showEditor<OldLayoutRecordEditor>(f, 1);
    EXPECT_EQ(e->combo("cbKouHaiUmu")->currentText(), "従有");
    EXPECT_EQ(e->control("btFamily"), nullptr);
    EXPECT_EQ(e->control("edTekiyou4"), nullptr);
    EXPECT_EQ(e->edit("edUnder16")->text(), "");
    e->combo("cbKouHaiUmu")->setCurrentIndex(0);
    e->reject();
    EXPECT_EQ(f.data.OldRecord(1).SpouseKind[withholding::kSpouseYes], 1);
    EXPECT_EQ(f.data.OldRecord(1).SpouseKind[withholding::kSpouseSubYes], 0);
}

TEST(FamilyDialog, ShowsHidesAndStoresOnEveryClose) {
    EditorFixture f;
    f.data.Record(1).Spouse.IndividualNo = 12345678;
    f.data.Record(1).DependantMembers[2].IndividualNo = 987654321012;
    FamilyDialog d(f.ledger, f.data);
    d.FamilySlot = 1;
    d.show();
    settle();
    EXPECT_EQ(d.windowTitle(), "配偶者／扶養親族");
    EXPECT_EQ(d.edNumb[0]->text(), "000012345678");
    EXPECT_EQ(d.edNumb[3]->text(), "987654321012");
    EXPECT_EQ(d.edNumb[0]->echoMode(), QLineEdit::Password);
    d.cbHide->click();
    EXPECT_EQ(d.edNumb[0]->echoMode(), QLineEdit::Normal);
    testing_support::screenshot(&d, "Family");
    d.edName[0]->setText("山田花子");
    d.edBikou[5]->setText("備考");
    d.bbCancel->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(f.data.Record(1).Spouse.Name.str(), "山田花子");
    EXPECT_EQ(f.data.Record(1).Under16Notes[0].str(), "備考");
    // The hiding choice stays for the next showing.
    d.show();
    settle();
    EXPECT_FALSE(d.cbHide->isChecked());
    EXPECT_EQ(d.edNumb[0]->echoMode(), QLineEdit::Normal);

    // A number that is not twelve digits keeps the dialog open and stores nothing.
    testing_support::BoxRecorder boxes;
    d.edName[1]->setText("鈴木");
    d.edNumb[1]->setText("123");
    d.close();
    EXPECT_TRUE(d.isVisible());
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text, "個人番号は12桁の数字で入力して下さい。");
    EXPECT_EQ(f.data.Record(1).DependantMembers[0].Name.str(), "");
    d.edNumb[1]->setText("000000000123");
    d.reject();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(std::int64_t{f.data.Record(1).DependantMembers[0].IndividualNo}, 123);
}
// Typed as a person types (100 ms a key unless said otherwise) with the default
// settings: numeric fields select on entry and overtype, text fields insert.
using testing_support::clickAtEnd;
using testing_support::pressAtPace;
using testing_support::typeAtPace;

TEST(RecordEditorTyping, TextFieldsInsertAndNumericFieldsTakeEveryKey) {
    EditorFixture f;
    auto e = showEditor<NewLayoutRecordEditor>(f, 1);
    QLineEdit* address = e->edit("edJusyo2");
    address->setText("abc");
    clickAtEnd(address);
    QTest::qWait(250);
    typeAtPace("de", 100);
    EXPECT_EQ(address->text(), "abcde");
    address->setText("x東京都港区芝公園");
    pressAtPace(Qt::Key_Home, 100);
    typeAtPace("yz", 100);
    EXPECT_EQ(address->text(), "yzx東京都港区芝公園");

    // An amount typed quickly right after entering keeps every digit; at most
    // eight are taken.
    focus(e->edit("edSeihoGaku"));
    typeAtPace("999999999", 60);
    EXPECT_EQ(e->edit("edSeihoGaku")->text(), "99999999");
    typeAtPace("\n", 100);
    e->reject();
    EXPECT_EQ(f.data.Record(1).LifeInsurance, 99999999);
}

TEST(RecordEditorTyping, SwitchingAFieldToManualLetsTheTypedFigureReplaceIt) {
    EditorFixture f;
    f.data.Record(1).AnnualTax = 0;
    auto e = showEditor<NewLayoutRecordEditor>(f, 1);
    focus(e->edit("edGensenGak"));
    QTest::qWait(250);
    QTest::mouseClick(e->sbManual, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), e->edit("edGensenGak"));
    typeAtPace("12300\n", 100);
    EXPECT_EQ(e->edit("edGensenGak")->text(), "    12,300");

    focus(e->edit("edSiharai"));
    QTest::mouseClick(e->sbManual, Qt::LeftButton);
    typeAtPace("1234", 100);
    e->reject();
    EXPECT_EQ(f.data.Record(1).AnnualTax, 12300);
    EXPECT_EQ(f.data.Record(1).PaidAmount, 1234);
}

// However fast the keys follow a click, the figure saved in the withholding
// file is the one typed: beside the figure, at or right of the middle of its
// last character's ink, or after a double click anywhere it replaces the whole
// of it; before a digit it overtypes from there; over a selection (dragged or
// by Shift+arrows) the whole run of keys takes its place; after Home it starts
// at the figure's first digit; an auto field switched to manual takes it the
// same way.
TEST(RecordEditorTyping, AFigureTypedAfterAClickIsSavedAsTyped) {
    using namespace testing_support;
    struct Row {
        const char* field;
        ClickAt at;
        const char* keys;
        std::int32_t saved;
    } rows[] = {
        {"edSeihoGaku", kBesideFigure, "50000", 50000},
        {"edSeihoGaku", ClickAt{4}, "3", 30000},  // on the 4 of "    40,000"
        {"edGensenGak", kBesideFigure, "12300", 12300},
        {"edSeihoGaku", rightHalfOf(9), "50000", 50000},
        {"edSeihoGaku", ClickAt{9}, "5", 40005},
        {"edSeihoGaku", dragOver(4, 5), "3", 3000},
        {"edSeihoGaku", kHome, "3", 30000},
        // "   123,456"
        {"edSeimeiN", dragOver(3, 5), "200", 200456},
        {"edSeimeiN", homeShiftRightTo(3, 4), "25", 253456},
        {"edSeimeiN", doubleClickOn(3), "7", 7},    // before the comma
        {"edSeimeiN", doubleClickOn(7), "99", 99},  // after it
        {"edSeimeiN", doubleClickOn(8), "250000", 250000},
        {"edSeinenD", inkMiddleOf(1), "5", 5},  // the 1 of "21"
        {"edSeinenD", inkRightOf(1), "15", 15},
        {"edSeinenD", inkLeftOf(1), "5", 25},
    };
    testing_support::TempDir dir;
    const auto file = dir / "withholding.dat";
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.field << " at " << row.at.character << " how " << row.at.how);
        forEachWayIn([&](bool hadFocus, int pace) {
            EditorFixture f;
            f.data.Record(1).LifeInsurance = 40000;
            f.data.Record(1).NewLifePremium = 123456;
            f.data.Record(1).BirthDate = {3, 58, 7, 21};
            f.data.Record(1).ManualFlags[withholding::kManualAnnualTax] = 1;
            auto e = showEditor<NewLayoutRecordEditor>(f, 1);
            clickAndType(e->edit(row.field), e->edit("edJukyuNo"), hadFocus, row.at, row.keys,
                         pace);
            e->reject();
            withholding::SaveWithholdingFile(file, f.data);
            WithholdingData saved;
            withholding::ReadWithholdingFile(file, saved);
            const auto& rec = saved.Record(1);
            const std::string field = row.field;
            EXPECT_EQ(field == "edSeihoGaku" ? rec.LifeInsurance
                      : field == "edSeimeiN" ? rec.NewLifePremium
                      : field == "edSeinenD" ? rec.BirthDate.Day
                                             : rec.AnnualTax,
                      row.saved);
        });
    }
}

// Nothing can be typed into a locked auto field: however it is entered, none
// of its text is selected; switched to manual it is selected like any amount.
TEST(RecordEditorTyping, ALockedAutoFieldSelectsNothingOnEntry) {
    struct Row {
        bool manual;
        const char* keys;  // typed in the field before it; "" for a click beside the figure
        const char* selected;
    } rows[] = {
        {false, "\t", ""},
        {false, "\n", ""},
        {false, "", ""},
        {true, "\n", "    45,600"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.manual << " " << row.keys);
        EditorFixture f;
        f.data.Record(1).ManualFlags[withholding::kManualAnnualTax] = row.manual;
        auto e = showEditor<NewLayoutRecordEditor>(f, 1);
        QLineEdit* tax = e->edit("edGensenGak");
        focus(e->edit("edKouGakKei"));
        if (*row.keys)
            typeAtPace(row.keys, 0);
        else
            testing_support::clickInto(tax, testing_support::kBesideFigure);
        QTest::qWait(200);
        ASSERT_EQ(QApplication::focusWidget(), tax);
        EXPECT_EQ(tax->selectedText(), row.selected);
    }
}

TEST(RecordEditorTyping, ADatePartIsCheckedHoweverTheRecordIsLeft) {
    EditorFixture f;
    f.data.Record(1).BirthDate = {3, 62, 1, 0};
    f.data.Record(2).BirthDate = {3, 62, 1, 0};
    auto e = showEditor<NewLayoutRecordEditor>(f, 1);
    // Esc.
    focus(e->edit("edSeinenM"));
    typeAtPace("14", 100);
    pressAtPace(Qt::Key_Escape, 100);
    EXPECT_FALSE(e->isVisible());
    EXPECT_EQ(f.data.Record(1).BirthDate.Month, 0);
    EXPECT_EQ(f.data.Record(1).BirthDate.Year, 62);

    // The page keys and the buttons.
    e = showEditor<NewLayoutRecordEditor>(f, 1);
    focus(e->edit("edSeinenM"));
    typeAtPace("13", 100);
    pressAtPace(Qt::Key_PageUp, 100);
    EXPECT_EQ(e->EditSlot, 2);
    EXPECT_EQ(f.data.Record(1).BirthDate.Month, 0);
    focus(e->edit("edSeinenD"));
    typeAtPace("32", 100);
    QTest::mouseClick(e->sbBackData, Qt::LeftButton);
    EXPECT_EQ(e->EditSlot, 1);
    EXPECT_EQ(f.data.Record(2).BirthDate.Day, 0);
    EXPECT_EQ(f.data.Record(2).BirthDate.Month, 1);
    e->reject();
}

TEST(RecordEditorTyping, CompanyInformationAndFamilyFieldsTakeQuickTyping) {
    EditorFixture f;
    testing_support::BoxRecorder boxes;  // a lost digit must fail the test, not block it
    withholding::ui::CompanyInfoDialog corp(f.ledger, f.data);
    corp.show();
    corp.activateWindow();
    settle();
    EXPECT_EQ(QApplication::focusWidget(), corp.edJusyo1);
    typeAtPace("\t", 60);
    typeAtPace("Bldg 5F\t03-1234", 60);
    EXPECT_EQ(corp.edJusyo2->text(), "Bldg 5F");
    EXPECT_EQ(corp.edTelNo->text(), "03-1234");
    corp.bbOkClick();
    EXPECT_EQ(f.data.Header.Telephone.str(), "03-1234");

    FamilyDialog d(f.ledger, f.data);
    d.FamilySlot = 1;
    d.show();
    d.activateWindow();
    settle();
    focus(d.edNumb[0]);
    typeAtPace("123456789012", 50);
    EXPECT_EQ(d.edNumb[0]->text(), "123456789012");
    d.reject();
    EXPECT_EQ(std::int64_t{f.data.Record(1).Spouse.IndividualNo}, 123456789012);
}

}  // namespace
