#include "ui/pixel_probe.h"

#include <QApplication>
#include <QPalette>
#include <cstdlib>

namespace kesta::test {

ProbeHost::ProbeHost(const QColor& background, QSize size) {
  QPalette colours = palette();
  colours.setColor(QPalette::Window, background);
  setPalette(colours);
  setAutoFillBackground(true);
  resize(size);
}

QImage ProbeHost::render() {
  show();
  QApplication::processEvents();
  return grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor blend(const QColor& top, qreal opacity, const QColor& bottom) {
  const auto mix = [opacity](float a, float b) { return float(opacity * a + (1 - opacity) * b); };
  return QColor::fromRgbF(mix(top.redF(), bottom.redF()), mix(top.greenF(), bottom.greenF()),
                          mix(top.blueF(), bottom.blueF()));
}

bool near(const QColor& a, const QColor& b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

bool hasInk(const QImage& image, const QRect& area, const QColor& background) {
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      if (!near(image.pixelColor(x, y), background, 24)) return true;
    }
  }
  return false;
}

}  // namespace kesta::test

QT_BEGIN_NAMESPACE
void PrintTo(const QColor& color, std::ostream* out) {
  *out << "rgb(" << color.red() << ", " << color.green() << ", " << color.blue() << ")";
}
QT_END_NAMESPACE
