#include "ui/look/chip_button.h"

#include <QKeySequence>
#include <QPainter>
#include <QtMath>

#include "ui/look/theme.h"

namespace kesta::ui {

ChipButton::ChipButton(const QString& text, bool prominent, QWidget* parent)
    : QAbstractButton(parent), style_{prominent}, font_(ChipStyle::defaultFont()) {
  setText(text);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover, false);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ChipButton::setText(const QString& text) { setText(text, {}); }

void ChipButton::setText(const QString& text, const QString& tail, const QStringList& shorter) {
  if (tail != tail_ || shorter != shorter_) {
    tail_ = tail;
    shorter_ = shorter;
    updateGeometry();
    update();
  }
  QAbstractButton::setText(text);
  setShortcut(QKeySequence());
}

QString ChipButton::shownText() const { return ChipStyle::shownText(label(), width()); }

void ChipButton::setProminent(bool prominent) {
  if (style_.prominent == prominent) return;
  style_.prominent = prominent;
  update();
}

void ChipButton::setSymbol(std::optional<Icon> symbol) {
  if (symbol_ == symbol) return;
  symbol_ = symbol;
  updateGeometry();
  update();
}

void ChipButton::setLabelFont(const QFont& font) {
  font_ = font;
  updateGeometry();
  update();
}

QSize ChipButton::sizeHint() const {
  const QSizeF size = ChipStyle::size(label());
  return {qCeil(size.width()), qCeil(size.height())};
}

QSize ChipButton::minimumSizeHint() const { return {qCeil(2 * Theme::kChipPaddingX), sizeHint().height()}; }

void ChipButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style_.paint(painter, QRectF(rect()), label(), isDown(), isEnabled());
}

ChipLabel ChipButton::label() const { return {text(), symbol_, font_, tail_, shorter_}; }

ChipButton* modeChip(const QString& text, Icon symbol, const QString& toolTip) {
  auto* chip = new ChipButton(text);
  chip->setSymbol(symbol);
  chip->setLabelFont(Theme::font(Theme::kModeChipFontSize, Theme::Weight::semibold));
  chip->setToolTip(toolTip);
  return chip;
}

}  // namespace kesta::ui
