#include "ledger/ui/CalculatorDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

#include "ui/BoxRecorder.h"
#include "ui/CalcKeys.h"
#include "ui/Screenshot.h"

namespace ledger::ui {
namespace {

void typeKeys(CalculatorDialog& calc, const char* keys) {
    for (const char* k = keys; *k; ++k) calc.FormKeyPress(*k);
}

void sendKey(QWidget* to, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &press);
}

TEST(CalculatorDialog, KeysReachTheCalculatorWhereverTheFocusIs) {
    QWidget main;
    main.setGeometry(100, 100, 800, 600);
    CalculatorDialog calc(&main);
    calc.show();
    EXPECT_EQ(calc.displayText(), "0.");
    typeKeys(calc, "5*");
    EXPECT_TRUE(calc.button(kCalcMul)->isDown());  // shown pressed for a moment
    // Enter on the focused OK button is "＝", not OK.
    sendKey(calc.btOk, Qt::Key_Return, "\r");
    EXPECT_EQ(calc.displayText(), "25.");
    EXPECT_DOUBLE_EQ(calc.CalcValue, 25);
    EXPECT_TRUE(calc.isVisible());
    testing_support::screenshot(&calc, "Calc");

    // Esc clears and leaves the calculator open.
    sendKey(&calc, Qt::Key_Escape);
    EXPECT_EQ(calc.displayText(), "0.");
    EXPECT_TRUE(calc.isVisible());
    EXPECT_FALSE(calc.FormKeyPress('x'));
    calc.reject();
}

TEST(CalculatorDialog, DivisionByZeroShowsAnErrorBox) {
    testing_support::BoxRecorder boxes;
    CalculatorDialog calc;
    calc.show();
    typeKeys(calc, "5/0\r");
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.requests[0].icon, platform::ui::Icon::Error);
    EXPECT_EQ(calc.displayText(), "0.");
    calc.reject();
}

TEST(CalculatorDialog, OpensCentredFirstThenWhereItWasClosed) {
    QWidget main;
    main.setGeometry(100, 100, 800, 600);
    main.show();
    {
        CalculatorDialog calc(&main);
        calc.show();
        const QRect m = main.frameGeometry();
        EXPECT_EQ(calc.pos().x(), m.left() + (m.width() - calc.frameGeometry().width()) / 2);
        typeKeys(calc, "12");
        calc.move(300, 250);
        calc.accept();
        EXPECT_DOUBLE_EQ(calc.CalcValue, 12);
    }
    CalculatorDialog again(&main);
    again.show();
    EXPECT_EQ(again.pos(), QPoint(300, 250));
    EXPECT_EQ(again.displayText(), "0.");  // every use starts cleared
    EXPECT_DOUBLE_EQ(again.CalcValue, 0);
    again.reject();
}

using testing_support::typeIntoCalc;

TEST(CalculatorDialog, AZeroTypedAfterThePointIsKept) {
    struct Case {
        const char* keys;
        const char* display;
        double value;
    };
    for (const Case& c : {Case{"1.05", "1.05", 1.05}, Case{"1000*1.05=", "1050.", 1050},
                          Case{"250000*0.05=", "12500.", 12500}, Case{"8.05*3=", "24.15", 24.15},
                          Case{"0.0000001", "0.00000", 0}}) {
        CalculatorDialog calc;
        calc.show();
        calc.activateWindow();
        typeIntoCalc(calc, c.keys);
        EXPECT_EQ(calc.displayText(), c.display) << c.keys;
        EXPECT_DOUBLE_EQ(calc.CalcValue, c.value) << c.keys;
        calc.accept();
    }
}

TEST(CalculatorDialog, TheYearEndCalculatorClearsWithCAndIgnoresEsc) {
    QWidget main;
    main.setGeometry(100, 100, 800, 600);
    main.show();
    const QRect m = main.frameGeometry();
    for (int use = 0; use < 2; ++use) {
        CalculatorDialog calc(&main, CalcVariant::YearEnd);
        calc.show();
        // Centred every time, wherever it was closed before.
        EXPECT_EQ(calc.pos().x(), m.left() + (m.width() - calc.frameGeometry().width()) / 2);
        EXPECT_EQ(calc.pos().y(), m.top() + (m.height() - calc.frameGeometry().height()) / 2);
        typeIntoCalc(calc, "12+3");
        sendKey(calc.btOk, Qt::Key_Escape);
        EXPECT_TRUE(calc.isVisible());
        EXPECT_EQ(calc.displayText(), "3.");  // Esc did nothing
        typeIntoCalc(calc, "=");
        EXPECT_EQ(calc.displayText(), "15.");
        typeIntoCalc(calc, use == 0 ? "c" : "C");
        EXPECT_EQ(calc.displayText(), "0.");
        typeIntoCalc(calc, "7=");
        EXPECT_EQ(calc.displayText(), "7.");  // no operation left pending
        calc.move(300, 250);
        calc.accept();
        EXPECT_DOUBLE_EQ(calc.CalcValue, 7);
    }
    // The payroll calculator's remembered place is neither used nor set.
    CalculatorDialog payroll(&main);
    payroll.show();
    EXPECT_EQ(payroll.pos().x(), m.left() + (m.width() - payroll.frameGeometry().width()) / 2);
    typeIntoCalc(payroll, "4c");
    EXPECT_EQ(payroll.displayText(), "4.");  // "c" is none of its keys
    payroll.reject();
}

}  // namespace
}  // namespace ledger::ui
