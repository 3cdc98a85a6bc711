#pragma once

class QWidget;

// The year-end program's input-method modes 0..8 on the platform's input-method
// control. Linux input methods can be opened and closed for a field but do not
// let a program pick their conversion mode, so the modes that ask for one open
// the input method and leave the mode to the user (half-width katakana alone is
// kept, by converting what is committed).
namespace withholding::ui {

enum class ImeRequest {
    Nothing,       // mode 3 and modes below 0
    Disable,       // mode 0: no input method for the field
    Close,         // mode 1
    Open,          // 2, 4, 5, 6, 8 and any mode above 8
    OpenHalfKana,  // 7: half-width katakana
};

ImeRequest ImeRequestForMode(int mode);

// Switches the field's input method into the mode; a null field is ignored.
void SetImeMode(QWidget* field, int mode);

}  // namespace withholding::ui
