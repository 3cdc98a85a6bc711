#pragma once
#include <QString>

// The Windows font names the documents use, mapped to the IPA families that stand
// in for them on this system.
namespace platform::ui {

// Registers the substitutions once per application.
void installFontSubstitutions();

// The installed family that stands in for a Windows font name.
QString familyFor(const QString& windowsName);

}  // namespace platform::ui
