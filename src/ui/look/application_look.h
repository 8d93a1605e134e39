#pragma once

#include <QPalette>

class QApplication;

namespace kesta::ui {

// The dark palette of the whole application, built from the theme's colours,
// so that menus, tooltips, message boxes and file dialogs are dark too.
QPalette darkPalette();

// Gives the application its look: the Fusion style (with menu dividers and
// tick-box edges in the theme's line colour, lime ticks, and no platform
// icons on dialog buttons), the dark palette and the pinned font. Call once
// on the main thread, right after the QApplication is made and before any
// widget is.
void applyApplicationLook(QApplication& application);

}  // namespace kesta::ui
