#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QString>
#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include "ledger/SysOption.h"

class QComboBox;
class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;
class QMouseEvent;
class QWidget;

// The behaviour every entry field of the programs shares: Enter moves to the
// next field, Ctrl+Delete empties it, numeric fields take only digits and their
// separators, text fields are held to a Shift-JIS byte length and refuse
// characters Shift-JIS cannot hold.
//
// Only numeric fields overtype with [Option] InputOverN and have their whole
// text selected 150 ms after entering with [Option] AutoSelect; text fields
// insert at the caret like any line edit. Number fields do both by default,
// digit fields only where the dialog turns it on.
//
// In a number field, a click beside the figure (on the blanks that right-align
// it, or at or right of the middle of its last character as drawn), a double
// click or a triple click anywhere, enter the field: its whole figure is
// selected at once, so what is typed next replaces it however fast it comes,
// and whether the field had the focus before or not. A click before one of the
// figure's characters puts the caret there for good: the delayed select-all no
// longer takes it away. Home and End go to the figure's ends, never into the
// blanks around it.
//
// Overtype writes over the character at the caret only when nothing is
// selected: a typed key replaces any selection, as in any field, and the keys
// that follow it are inserted after it until the caret is moved or the field
// is left, so the whole typed run takes the selection's place.
//
// A helper is attached to one field and lives as its child. The settings are
// read at each event, so a change in the settings dialog applies at once; they
// must outlive the field (pass the Ledger's).
namespace ledger::ui {

class EditHelper : public QObject {
    Q_OBJECT
public:
    enum class Kind {
        Text,    // any character with a CP932 form
        Digits,  // digits (and the given extra keys) only, not normalised
        Number,  // a number normalised on leaving by its format code
        Plain,   // not an edit: only Enter moves on
    };

    // Turns the text CheckNumEdit made into what the field shows.
    using Reformat = std::function<QString(const std::string& normalised)>;

    // A numeric field of a format code (digits × 10 + decimals: 52, 62, 70, 90,
    // 100, 10, 20 ...). Keys: digits and extraKeys; by default "-." when the
    // format has decimals, none otherwise (pass "-.:" for hours, "-" for amounts
    // that may be negative). At most the format's digits (6 for 70, 7 for 90) may
    // be typed. On leaving, the text is normalised; a refused value is reported
    // in an error box and the field shows the reformatted empty text.
    static EditHelper* attachNumber(QLineEdit* edit, int formatCode, const SysOption& options,
                                    std::optional<QString> extraKeys = std::nullopt);
    // Text held to maxBytes Shift-JIS bytes (0: no limit).
    static EditHelper* attachText(QLineEdit* edit, int maxBytes, const SysOption& options);
    static EditHelper* attachText(QComboBox* combo, int maxBytes, const SysOption& options);
    // Digits only (an individual number, an account number, a postal code with
    // "-" as extra key), held to maxBytes characters.
    static EditHelper* attachDigits(QLineEdit* edit, int maxBytes, const SysOption& options,
                                    const QString& extraKeys = {});
    static EditHelper* attachDigits(QComboBox* combo, int maxBytes, const SysOption& options,
                                    const QString& extraKeys = {});
    // Check boxes and lists: Enter moves to the next field (a push or tool
    // button is pressed by Enter instead).
    static EditHelper* attachEnter(QWidget* widget);

    // What the number field shows after normalising; without one it shows the
    // normalised text itself.
    void setReformat(Reformat reformat) { reformat_ = std::move(reformat); }
    // A reformat that shows FmtAmount(width, StrToIntNum(text)).
    static Reformat amountReformat(int width);

    // Whether entering the field selects its text after the delay (with
    // AutoSelect) and whether typing overtypes (with InputOverN).
    EditHelper* setSelectsOnEntry(bool on) {
        selectsOnEntry_ = on;
        clickBesideEnters_ = on;
        return this;
    }
    // Whether a click beside the figure enters the field (see above): on in
    // every field that selects on entry, and in a cell editor that opens with
    // its figure selected.
    EditHelper* setClickBesideEnters(bool on) {
        clickBesideEnters_ = on;
        return this;
    }
    EditHelper* setOvertypes(bool on) {
        overtypes_ = on;
        return this;
    }
    // The most one may type (a field whose format allows more).
    EditHelper* setMaxLength(int length) {
        maxLength_ = std::max(length, 0);
        return this;
    }
    // Whether Enter moves on to the next field; a dialog whose default button
    // takes Enter turns it off.
    EditHelper* setEnterMovesOn(bool on) {
        enterMovesOn_ = on;
        return this;
    }
    bool selectsOnEntry() const { return selectsOnEntry_; }
    bool overtypes() const { return overtypes_; }
    // A key reached the field, or a click placed its caret, since it was last
    // entered: a select-all still pending must not undo that.
    bool caretChosenSinceEntering() const { return typed_ || caretClicked_; }

    // Normalises a number field now, as leaving it would (for an OK button that
    // reads the fields while one of them still has the focus).
    void normalise();

    // Moves the focus to the next field of the window in the tab order.
    static void focusNext(QWidget* from);

    Kind kind() const { return kind_; }
    int formatCode() const { return formatCode_; }
    // The longest text one may type: bytes for text, characters for the others.
    int maxLength() const { return maxLength_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EditHelper(QWidget* widget, QLineEdit* line, Kind kind, const SysOption* options);
    static EditHelper* attach(QWidget* widget, QLineEdit* line, Kind kind, int maxLength,
                              const SysOption* options);

    bool keyPress(QKeyEvent* e);
    bool mouseEvent(QMouseEvent* e);
    // The figure's characters in the text: [first, end), without the blanks
    // around it.
    struct FigureSpan {
        int first = 0;
        int end = 0;
    };
    FigureSpan figureSpan() const;
    int clickedCaret(const QPoint& at) const;
    bool homeOrEnd(QKeyEvent* e);
    bool inputMethod(QInputMethodEvent* e);
    bool acceptsChar(QChar c) const;
    bool typeText(const QString& chars);
    bool typeOne(const QString& ch);
    int lengthOf(const QString& text) const;
    void textChanged(const QString& text);

    QWidget* widget_;
    const QMetaObject* fieldClass_;
    QLineEdit* line_;
    Kind kind_;
    const SysOption* options_;
    int formatCode_ = 0;
    int maxLength_ = 0;
    QString extraKeys_;
    Reformat reformat_;
    QString accepted_;  // the last text with a CP932 form
    bool busy_ = false;
    bool selectsOnEntry_ = false;
    bool clickBesideEnters_ = false;
    bool overtypes_ = false;
    bool enterMovesOn_ = true;
    bool typed_ = false;
    bool caretClicked_ = false;
    bool pressTaken_ = false;         // the press was ours: its release and moves are too
    QElapsedTimer doubleClickTimer_;  // since the last double-click, for a third
    QPoint doubleClickAt_;
    bool replacingRun_ = false;  // keys typed over a selection, the caret not moved since
    int replacingRunCaret_ = 0;
};

}  // namespace ledger::ui
