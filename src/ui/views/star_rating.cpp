#include "ui/views/star_rating.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/look/icons.h"
#include "ui/look/theme.h"

namespace kesta::ui {

namespace {

constexpr int kStarSize = 10;
// Each star sits in a slightly larger cell, so it is easy to hit.
constexpr int kCellWidth = 14;
constexpr int kSpacing = 1;
constexpr int kHeight = 18;

}  // namespace

StarRating::StarRating(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setCursor(Qt::PointingHandCursor);
  setToolTip(tr("Your rating, used as a gentle preference"));
}

void StarRating::setRating(int rating) {
  if (rating == rating_) return;
  rating_ = rating;
  update();
}

QRect StarRating::starRect(int i) const {
  return {(i - 1) * (kCellWidth + kSpacing), (height() - kHeight) / 2, kCellWidth, kHeight};
}

QSize StarRating::sizeHint() const { return {kStars * kCellWidth + (kStars - 1) * kSpacing, kHeight}; }

void StarRating::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (int i = 1; i <= kStars; ++i) {
    const bool filled = rating_ >= i;
    const QRectF cell(starRect(i));
    const QRectF box(cell.center() - QPointF(kStarSize, kStarSize) / 2, QSizeF(kStarSize, kStarSize));
    paintIcon(painter, filled ? Icon::starFill : Icon::star, box, filled ? Theme::lime() : Theme::muted());
  }
}

void StarRating::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  for (int i = 1; i <= kStars; ++i) {
    if (starRect(i).contains(event->position().toPoint())) {
      emit rated(i);
      return;
    }
  }
}

}  // namespace kesta::ui
