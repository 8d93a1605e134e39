#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

namespace kesta::ui {

// A label of plain text (never read as rich text, so names from the library
// show as they are) that wraps at word ends, in the font and colour given.
// The caller owns it until a layout takes it. Main thread only.
QLabel* wrappingLabel(const QString& text, const QFont& font, const QColor& color);

}  // namespace kesta::ui
