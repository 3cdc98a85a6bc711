#include "withholding/ui/ImeCtrl.h"

#include "platform/ui/Ime.h"

namespace withholding::ui {

ImeRequest ImeRequestForMode(int mode) {
    if (mode < 0 || mode == 3) return ImeRequest::Nothing;
    if (mode == 0) return ImeRequest::Disable;
    if (mode == 1) return ImeRequest::Close;
    if (mode == 7) return ImeRequest::OpenHalfKana;
    return ImeRequest::Open;
}

void SetImeMode(QWidget* field, int mode) {
    if (!field) return;
    switch (ImeRequestForMode(mode)) {
        case ImeRequest::Nothing:
            return;
        // A closed input method and a disabled one are the same on Linux: the
        // field takes no input-method text.
        case ImeRequest::Disable:
        case ImeRequest::Close:
            platform::ui::setImeMode(field, platform::ui::ImeMode::Off);
            return;
        case ImeRequest::Open:
            platform::ui::setImeMode(field, platform::ui::ImeMode::Hiragana);
            return;
        case ImeRequest::OpenHalfKana:
            platform::ui::setImeMode(field, platform::ui::ImeMode::HalfKatakana);
            return;
    }
}

}  // namespace withholding::ui
