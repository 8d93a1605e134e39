#pragma once

#include <QColor>
#include <QIcon>
#include <QRectF>

#include "ui/look/theme.h"

class QPainter;

namespace kesta::ui {

// The few symbols the views show, drawn as vector paths so they look the same
// everywhere; no symbol font is needed.
enum class Icon {
  waveform,          // a pulse line: the product mark's symbol
  pictureInPicture,  // a window with a small one in its top-right corner: switch to the card
  ellipsisCircle,    // three dots in a ring: the menu of less frequent actions
  checkmark,
  star,
  starFill,
  expand,       // two arrows pointing apart: open the full window
  reload,       // two arrows chasing round a circle: another option
  close,        // a cross: hide
  chevronDown,  // an open angle pointing down: a menu opens here
};

// Draws `icon` centred in `box` (its shorter side is the symbol's size) in
// `color`; heavier weights draw thicker strokes. Leaves the painter as found.
void paintIcon(QPainter& painter, Icon icon, const QRectF& box, const QColor& color,
               Theme::Weight weight = Theme::Weight::regular);

// `icon` as a square QIcon of `size` points, for menus and plain buttons.
QIcon makeIcon(Icon icon, qreal size, const QColor& color, Theme::Weight weight = Theme::Weight::regular);

}  // namespace kesta::ui
