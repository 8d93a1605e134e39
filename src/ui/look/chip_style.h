#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

#include "ui/look/icons.h"

class QPainter;

namespace kesta::ui {

// What a chip shows: a line of text, optionally led by a symbol, in a font
// (the chip's own 11-point semibold unless a view asks for another).
struct ChipLabel {
  QString text;
  std::optional<Icon> symbol;
  QFont font;
};

// The look of the small rounded buttons of every view: a lime chip with black
// text when prominent, a raised dark chip with white text otherwise. A pressed
// chip's fill fades, a disabled chip fades as a whole. Painting only; the
// button that uses it is `ChipButton`.
struct ChipStyle {
  bool prominent = false;

  static QFont defaultFont();
  QColor labelColor() const;
  // The fill, faded while pressed.
  QColor fill(bool pressed) const;
  // The chip's natural size: the label's plus the padding.
  static QSizeF size(const ChipLabel& label);
  // Draws the chip filling `rect`; the text is cut at the end when it does not fit.
  void paint(QPainter& painter, const QRectF& rect, const ChipLabel& label, bool pressed, bool enabled) const;

 private:
  void paintOpaque(QPainter& painter, const QRectF& rect, const ChipLabel& label, bool pressed) const;
};

}  // namespace kesta::ui
