#include "ui/shell/card_panel.h"

#include <QImage>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/look/rounded_shape.h"
#include "ui/look/theme.h"
#include "ui/shell/window_drag.h"

namespace kesta::ui {

CardPanel::CardPanel(QWidget* content, QSize size)
    : QWidget(nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setFocusPolicy(Qt::NoFocus);
  setFixedSize(size);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(content);
  new WindowDrag(*this);
}

void CardPanel::cutToOutline(bool cut) {
  if (cut)
    setMask(outline(size()));
  else
    clearMask();
}

QRegion CardPanel::outline(QSize size) {
  // The shape is drawn as the card draws its background and read back row
  // by row: the window's edge then follows the card's antialiased edge.
  QImage coverage(size, QImage::Format_ARGB32_Premultiplied);
  coverage.fill(Qt::transparent);
  {
    QPainter painter(&coverage);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(continuousRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), Theme::kCardRadius),
                     Qt::black);
  }
  QRegion region;
  for (int y = 0; y < size.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(coverage.constScanLine(y));
    int x = 0;
    while (x < size.width()) {
      while (x < size.width() && qAlpha(row[x]) < 128) ++x;
      const int start = x;
      while (x < size.width() && qAlpha(row[x]) >= 128) ++x;
      if (x > start) region += QRect(start, y, x - start, 1);
    }
  }
  return region;
}

}  // namespace kesta::ui
