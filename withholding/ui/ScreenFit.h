#pragma once
#include <QSize>

class QScrollArea;
class QWidget;

// Windows taller than a small screen: a form in a scroll area grows to its whole
// size where the screen allows and shrinks to the screen's available area where
// it does not, with what lies outside the scroll area (the buttons) always shown.
namespace withholding::ui {

// Sizes window (its client area) to wanted, bounded by the available area of the
// screen it opens on less its frame, and places its frame within that area,
// centred over its parent where that fits. Call it as the window is shown.
void FitToScreen(QWidget& window, QSize wanted);

// The client size window would take if area showed its whole content: the
// window's own size hint with the area's hint replaced by its content's (and
// room for a scroll bar, should the screen call for one).
QSize UnscrolledSize(const QWidget& window, const QScrollArea& area);

// Keeps the focused control of area's content in view, however focus got there
// (Tab, Enter, a click, a handler).
void FollowFocus(QScrollArea& area);

}  // namespace withholding::ui
