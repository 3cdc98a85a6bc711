#pragma once
#include <string>
#include <string_view>

// The small four-function calculator the entry dialogs open over a numeric
// field. It works on the operands as the display shows them (ten significant
// digits), evaluates chained operations left to right, and hands back the value
// shown. No widget here: the window feeds it button codes and shows display().
namespace ledger {

// Button codes (the buttons' Tags): 0..9 the digits, then the point and the
// function keys.
inline constexpr int kCalcPoint = 10;
inline constexpr int kCalcAdd = 110;
inline constexpr int kCalcSub = 120;
inline constexpr int kCalcMul = 130;
inline constexpr int kCalcDiv = 140;
inline constexpr int kCalcEquals = 150;
inline constexpr int kCalcPercent = 160;
inline constexpr int kCalcClear = 170;

// What a key did, for the window to act on.
struct CalcOutcome {
    enum Kind { Done, Ignored, Beep, Error };
    Kind kind = Done;
    std::string message;  // for Error: the text of the error box
};

// x in the general number format with up to `precision` significant digits:
// fixed when it has at most `precision` digits before the point and is at least
// 0.00001 in size, otherwise mantissa and exponent ("9.99998E11", "1E-6");
// trailing zeros and a bare point are dropped.
std::string FormatGeneral(long double x, int precision);

// The two programs' calculators differ only in their keys and their place: the
// year-end program clears with the letter C instead of Esc, and opens centred
// over its main window every time.
enum class CalcVariant { Payroll, YearEnd };

// The button code of a typed character: Enter ('\r') is "＝", "*" "+" "-" "/"
// the operators, "." the point, digits themselves; Esc (0x1B) is "Ｃ" in the
// payroll program, "c" or "C" in the year-end program; -1 for any other key.
int CalcKeyCode(char key, CalcVariant variant = CalcVariant::Payroll);

class Calculator {
public:
    Calculator() { press(kCalcClear); }

    // Runs the button of a code: digits and the point (below 100) or a function.
    CalcOutcome press(int code);

    const std::string& display() const { return display_; }
    double CalcValue() const { return value_; }

private:
    CalcOutcome numClick(int code);
    CalcOutcome funcClick(int code);
    // The pending operation on two operand texts; false when it cannot be done
    // (division by zero, a result beyond the double range), with the message.
    bool applyOp(const std::string& left, const std::string& right, long double& result,
                 std::string& message);
    void showValue(double x);

    std::string operand1_;
    std::string operand2_;
    std::string entryText_;
    int pendingOp_ = 0;
    bool newEntry_ = true;
    bool pointTyped_ = false;
    int decimalsTyped_ = 0;
    bool justComputed_ = false;
    double value_ = 0;
    std::string display_ = "0.";
};

}  // namespace ledger
