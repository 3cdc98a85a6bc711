#include "ledger/Calculator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace ledger {
namespace {

// Presses the keys of a string as typed on the keyboard ("=" is Enter, "%" the
// percent button, "C" the clear button) and returns the last outcome.
CalcOutcome keys(Calculator& c, std::string_view typed) {
    CalcOutcome last;
    for (char k : typed) {
        int code = k == '='   ? kCalcEquals
                   : k == '%' ? kCalcPercent
                   : k == 'C' ? kCalcClear
                              : CalcKeyCode(k);
        last = c.press(code);
    }
    return last;
}

struct Sequence {
    const char* keys;
    const char* display;
    double value;
};

TEST(Calculator, SequencesShowAndReturnTheDisplayedValue) {
    for (const Sequence& s : {
             Sequence{"0.50", "0.50", 0.5},
             Sequence{"12", "12.", 12},
             Sequence{"12345678", "1234567.", 1234567},  // the eighth key is ignored
             Sequence{"123.4567", "123.456", 123.456},
             Sequence{"1..5", "1.5", 1.5},  // a second point is ignored
             Sequence{"5*=", "25.", 25},
             Sequence{"5*==", "125.", 125},
             Sequence{"2+3*", "5.", 5},
             Sequence{"2+3*4=", "20.", 20},
             Sequence{"2+3=*4=", "20.", 20},  // the operator after = does not add again
             Sequence{"200+10%", "20.", 20},
             Sequence{"200+10%=", "220.", 220},
             Sequence{"200*10%", "0.1", 0.1},
             Sequence{"200*10%=", "20.", 20},
             Sequence{"1/3=", "0.3333333333", 1.0 / 3},  // the value is not cut to the display
             Sequence{"1/3=*3=", "0.9999999999", 0.9999999999},  // operands are the shown text
             Sequence{"1/3==", "0.1111111111", 0.1111111111},
             Sequence{"99999*99999=", "9999800001.", 9999800001.0},
             Sequence{"999999*999999=", "9.99998E11", 999998000001.0},
             Sequence{"1/10000=", "0.0001", 0.0001},
             Sequence{"1/1000000=", "1E-6.", 1e-6},
             Sequence{"7-9=", "-2.", -2},
             Sequence{"12+34C", "0.", 0},
             Sequence{"1234567+7654321=", "8888888.", 8888888},  // a new number after +
             // A zero right after the point is kept.
             Sequence{"1.0", "1.0", 1},
             Sequence{"1.05", "1.05", 1.05},
             Sequence{"1000*1.05=", "1050.", 1050},
             Sequence{"250000*0.05=", "12500.", 12500},
             Sequence{"8.05*3=", "24.15", 24.15},
             Sequence{"0.000", "0.000", 0},
             Sequence{"0.00001", "0.00001", 0.00001},
             // Typed zeros count toward the seven characters too, so a typed
             // number never reaches the exponent form.
             Sequence{"0.000001", "0.00000", 0},
             Sequence{"1.0000009", "1.00000", 1},
             Sequence{"100.0000", "100.000", 100},
         }) {
        Calculator c;
        keys(c, s.keys);
        EXPECT_EQ(c.display(), s.display) << s.keys;
        EXPECT_DOUBLE_EQ(c.CalcValue(), s.value) << s.keys;
    }
}

TEST(Calculator, ExponentDisplayIsReadBackAsAnOperand) {
    Calculator c;
    keys(c, "1/1000000=*2=");
    EXPECT_EQ(c.display(), "2E-6.");
    EXPECT_DOUBLE_EQ(c.CalcValue(), 2e-6);
}

TEST(Calculator, RefusedKeysChangeNothing) {
    Calculator c;
    EXPECT_EQ(c.press(kCalcPercent).kind, CalcOutcome::Beep);  // right after clear
    EXPECT_EQ(c.display(), "0.");

    // A percentage of nothing: no operator since the clear.
    keys(c, "50");
    EXPECT_EQ(c.press(kCalcPercent).kind, CalcOutcome::Beep);
    EXPECT_EQ(c.display(), "50.");
    EXPECT_DOUBLE_EQ(c.CalcValue(), 50);

    EXPECT_EQ(c.press(kCalcEquals).kind, CalcOutcome::Ignored);  // no operation pending
    EXPECT_EQ(c.display(), "50.");
}

TEST(Calculator, DivisionByZeroIsReportedAndKeepsTheValue) {
    for (const char* seq : {"5/0=", "0/0=", "8/0+"}) {
        Calculator c;
        CalcOutcome r = keys(c, seq);
        EXPECT_EQ(r.kind, CalcOutcome::Error) << seq;
        EXPECT_FALSE(r.message.empty());
        EXPECT_EQ(c.display(), "0.") << seq;
        EXPECT_DOUBLE_EQ(c.CalcValue(), 0) << seq;
        keys(c, "C3+4=");  // still usable
        EXPECT_EQ(c.display(), "7.");
    }
}

TEST(Calculator, ResultsBeyondTheDoubleRangeAreRefused) {
    Calculator c;
    keys(c, "9999999*=");
    CalcOutcome r;
    for (int i = 0; i < 60 && r.kind != CalcOutcome::Error; ++i) r = c.press(kCalcEquals);
    EXPECT_EQ(r.kind, CalcOutcome::Error);
    EXPECT_TRUE(std::isfinite(c.CalcValue()));
    EXPECT_EQ(c.display().find("INF"), std::string::npos);
}

TEST(Calculator, KeyboardMapping) {
    EXPECT_EQ(CalcKeyCode('\r'), kCalcEquals);
    EXPECT_EQ(CalcKeyCode('\x1b'), kCalcClear);
    EXPECT_EQ(CalcKeyCode('/'), kCalcDiv);
    EXPECT_EQ(CalcKeyCode('7'), 7);
    EXPECT_EQ(CalcKeyCode('c'), -1);
    EXPECT_EQ(CalcKeyCode('='), -1);
    // The year-end calculator clears with the letter C; Esc is none of its keys.
    constexpr CalcVariant yearEnd = CalcVariant::YearEnd;
    EXPECT_EQ(CalcKeyCode('c', yearEnd), kCalcClear);
    EXPECT_EQ(CalcKeyCode('C', yearEnd), kCalcClear);
    EXPECT_EQ(CalcKeyCode('\x1b', yearEnd), -1);
    EXPECT_EQ(CalcKeyCode('\r', yearEnd), kCalcEquals);
    EXPECT_EQ(CalcKeyCode('*', yearEnd), kCalcMul);
    EXPECT_EQ(CalcKeyCode('.', yearEnd), kCalcPoint);
    EXPECT_EQ(CalcKeyCode('9', yearEnd), 9);
}

TEST(CalculatorFormat, GeneralFormatWithTenDigits) {
    struct Case {
        long double x;
        const char* text;
    };
    for (const Case& c : {Case{0, "0"}, Case{1234567890, "1234567890"}, Case{-0.5, "-0.5"},
                          Case{0.00001L, "0.00001"}, Case{0.000001L, "1E-6"}, Case{1e11L, "1E11"},
                          Case{-123456789012.0L, "-1.23456789E11"}}) {
        EXPECT_EQ(FormatGeneral(c.x, 10), c.text) << double(c.x);
    }
    EXPECT_EQ(FormatGeneral(12345678901.0L, 10), "1.23456789E10");
    EXPECT_EQ(FormatGeneral(0.1L, 15), "0.1");
}

}  // namespace
}  // namespace ledger
