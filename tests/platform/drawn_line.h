#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QString>
#include <functional>

#include "platform/image/image.h"

// Deck lines drawn as a deck shows them, light on dark in the Noto faces, for
// the recogniser's tests. Drawing needs the offscreen GUI application that
// drawn_line.cpp starts for the test program; call from its main thread.
namespace kesta::test {

// Draws into the line's field, with the painter's font set to the line's.
using Paint = std::function<void(QPainter&, const QFontMetricsF&, QRectF field)>;

// The Noto faces of `text` at `pixels`.
QFont deckFont(const QString& text, int pixels);

// The picture `paint` draws with `text`'s faces at `pixels` into a field of
// `width` times the width of that text, with a margin of `pixels` at its
// left and right and a height of four lines.
Image drawnLine(const QString& text, int pixels, double width, const Paint& paint);

// Paints `title` in its own direction, cut by Qt with "…" to its field where
// `cut`, as a deck cuts a title that does not fit.
Paint elided(const QString& title, bool cut);

// A picture as the recogniser takes it.
Image imageOf(const QImage& picture);

}  // namespace kesta::test
