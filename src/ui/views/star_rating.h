#pragma once

#include <QWidget>

namespace kesta::ui {

// The DJ's rating of the followed track: five painted stars, the first
// `rating` filled in lime, the rest hollow and muted. Clicking star i emits
// `rated(i)` whatever the current rating; the model decides what it means.
// Updated in place; main thread only.
class StarRating : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kStars = 5;

  explicit StarRating(QWidget* parent = nullptr);

  int rating() const { return rating_; }
  // Repaints only when the rating changed.
  void setRating(int rating);
  // Where star `i` (1 to 5) is drawn.
  QRect starRect(int i) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  void rated(int stars);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int rating_ = 0;
};

}  // namespace kesta::ui
