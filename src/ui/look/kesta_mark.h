#pragma once

#include <QWidget>

class QPainter;

namespace kesta::ui {

// The product mark: a lime pulse line on a faint lime tile with a lime rim,
// `size` points square. Main thread only.
class KestaMark : public QWidget {
 public:
  explicit KestaMark(qreal size, QWidget* parent = nullptr);

  qreal markSize() const { return size_; }
  // The rim's width for a mark of `size` points; never thinner than 1.5.
  static qreal strokeWidth(qreal size);
  // Draws the mark filling the square `box`.
  static void paint(QPainter& painter, const QRectF& box);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  qreal size_;
};

}  // namespace kesta::ui
