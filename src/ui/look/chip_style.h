#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>

#include "ui/look/icons.h"

class QPainter;

namespace kesta::ui {

// What a chip shows: a line of text, optionally led by a symbol, in a font
// (the chip's own 11-point semibold unless a view asks for another). Given
// too little room, the chip cuts `text` at its end and keeps `tail` whole;
// with `shorter` forms it shows the first of text + tail and those that fits.
struct ChipLabel {
  QString text;
  std::optional<Icon> symbol;
  QFont font;
  QString tail = {};
  QStringList shorter = {};
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
  // The text drawn in a chip `width` wide (see ChipLabel).
  static QString shownText(const ChipLabel& label, qreal width);
  // Draws the chip filling `rect` with its shown text.
  void paint(QPainter& painter, const QRectF& rect, const ChipLabel& label, bool pressed, bool enabled) const;

 private:
  void paintOpaque(QPainter& painter, const QRectF& rect, const ChipLabel& label, bool pressed) const;
};

}  // namespace kesta::ui
