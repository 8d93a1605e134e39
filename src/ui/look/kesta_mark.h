#pragma once

#include <QIcon>
#include <QImage>
#include <QWidget>
#include <array>

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

  // The sizes, in pixels, the application's icon is drawn at.
  static constexpr std::array<int, 7> kIconSizes{16, 24, 32, 48, 64, 128, 256};
  // The application's icon at `pixels` square: the mark on the card's dark
  // ground, so that it reads the same on light and dark panels.
  static QImage iconImage(int pixels);
  // The icon at every size of kIconSizes, for the windows' icon.
  static QIcon icon();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  qreal size_;
};

}  // namespace kesta::ui
