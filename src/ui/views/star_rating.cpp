#include "ui/views/star_rating.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/look/icons.h"
#include "ui/look/theme.h"

namespace kesta::ui {

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
  // Each star sits in a cell a little larger than it, so it is easy to hit.
  return {(i - 1) * (Theme::kStarCellWidth + Theme::kStarSpacing), (height() - Theme::kStarCellHeight) / 2,
          Theme::kStarCellWidth, Theme::kStarCellHeight};
}

QSize StarRating::sizeHint() const {
  return {kStars * Theme::kStarCellWidth + (kStars - 1) * Theme::kStarSpacing, Theme::kStarCellHeight};
}

void StarRating::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (int i = 1; i <= kStars; ++i) {
    const bool filled = rating_ >= i;
    const QRectF cell(starRect(i));
    const QRectF box(cell.center() - QPointF(Theme::kStarSize, Theme::kStarSize) / 2,
                     QSizeF(Theme::kStarSize, Theme::kStarSize));
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
