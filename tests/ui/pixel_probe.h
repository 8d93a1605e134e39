#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <ostream>

namespace kesta::test {

// A widget on a plain background of a known colour, shown offscreen, so that
// what a control draws with transparency can be checked against a blend.
class ProbeHost : public QWidget {
 public:
  explicit ProbeHost(const QColor& background, QSize size = {200, 80});
  // Lays out, shows and renders the host with everything in it.
  QImage render();
};

// `top` at `opacity` over the opaque `bottom`.
QColor blend(const QColor& top, qreal opacity, const QColor& bottom);

// Whether every channel differs by at most `tolerance` out of 255.
bool near(const QColor& a, const QColor& b, int tolerance = 2);

// Whether any pixel of `area` differs from `background` by more than a faint edge.
bool hasInk(const QImage& image, const QRect& area, const QColor& background);

}  // namespace kesta::test

// Readable colours in test failures.
QT_BEGIN_NAMESPACE
void PrintTo(const QColor& color, std::ostream* out);
QT_END_NAMESPACE
