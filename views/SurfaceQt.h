#pragma once

// Shared by the surface's Qt-backed parts (text and anti-aliasing); nothing outside the
// surface includes this.

#include "views/Font.h"

#include <QFont>

namespace ondrel {

// Makes sure a GUI application object exists (Qt's offscreen platform when the program made
// none), as fonts need one.
void EnsureGuiApplication();

// The Qt font standing in for `font`.
QFont QtFontOf(const Font& font);

} // namespace ondrel
