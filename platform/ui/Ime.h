#pragma once
#include <QObject>
#include <QString>

class QWidget;

// The input method of an entry field. The original switched the Japanese input
// method per field (hiragana for names, half-width katakana for readings, off
// for numbers). Linux input methods (ibus, fcitx) let a program switch the input
// method on or off for a field, but not choose its conversion mode: a kana
// field therefore converts what is committed into it to half-width katakana,
// which stores what the half-width mode would have typed.
namespace platform::ui {

enum class ImeMode {
    Off,           // numbers: no input method
    Hiragana,      // names: input method open
    HalfKatakana,  // readings: input method open, committed text made half-width
};

// Opens or closes the field's input method for the mode; for HalfKatakana it
// also installs the conversion of committed text (a child of the field).
void setImeMode(QWidget* field, ImeMode mode);

// Whether the field takes input-method text.
bool imeOpen(const QWidget* field);

// Hiragana and full-width katakana, signs and letters as half-width katakana
// and ASCII ("ガッコウ" gives "ｶﾞｯｺｳ"); anything without a half-width form stays.
QString toHalfWidthKana(const QString& text);

// The reading of the last conversion committed into a field: the kana the
// input method showed before the text was converted. Linux input methods do not
// hand the reading over with the committed text (Windows did), so this is the
// last all-kana composition seen before the commit; it is empty when the text
// was committed without one (typed directly, pasted, or an input method that
// composes in another way).
class ImeReading : public QObject {
    Q_OBJECT
public:
    explicit ImeReading(QWidget* field);

    QString lastReading() const { return reading_; }
    void clear() { reading_.clear(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString composing_;
    QString reading_;
};

}  // namespace platform::ui
