#include "ui/views/symbol_button.h"

#include <QPainter>
#include <QtMath>

namespace kesta::ui {

SymbolButton::SymbolButton(Icon icon, qreal size, Theme::Weight weight, QWidget* parent)
    : QAbstractButton(parent), icon_(icon), size_(size), weight_(weight), color_(Theme::muted()) {
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolButton::setColor(const QColor& color) {
  if (color == color_) return;
  color_ = color;
  update();
}

// A little room around the symbol makes it easier to hit.
QSize SymbolButton::sizeHint() const { return {qCeil(size_) + 4, qCeil(size_) + 4}; }

void SymbolButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRectF box(QPointF(width() - size_, height() - size_) / 2, QSizeF(size_, size_));
  paintIcon(painter, icon_, box, color_, weight_);
}

}  // namespace kesta::ui
