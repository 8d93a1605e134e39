#pragma once

#include <QFont>

namespace kesta::ui {

// The room one line of a font needs above and below its baseline to hold
// every mark of the names it may show. Inter's own line is too short for
// the faces it falls back to: the dots under Arabic's final yeh and the
// tone marks stacked over Thai vowels reach past it. Measured from the ink
// of those deepest and highest letters in the faces the font actually
// draws them with, so a row holding the line keeps one height whatever it
// shows. Whole pixels, so the baseline sits on a pixel row. Main thread
// only, like all of Qt Gui.
struct LineBox {
  int above = 0;
  int below = 0;

  int height() const { return above + below; }
};

// Never less than the font's own ascent and descent.
LineBox lineBox(const QFont& font);

}  // namespace kesta::ui
