#pragma once
#include <QString>

// The program's title: the caption of its main window and of its message boxes.
namespace platform::ui {

// Sets the title as the application's name, which message boxes take as their
// caption. Not as its display name: the window system would get that name
// appended to every window title (" — title"), and each window's caption is its
// own text exactly.
void setApplicationTitle(const QString& title);

}  // namespace platform::ui
