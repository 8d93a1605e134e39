#pragma once

#include <QAbstractButton>
#include <QColor>

#include "ui/look/icons.h"
#include "ui/look/theme.h"

namespace kesta::ui {

// A borderless button that is only a symbol, in a colour of the theme: the
// small next-option and hide buttons beside a suggestion. Takes no keyboard
// focus, so the windows never steal keys meant for rekordbox. Main thread only.
class SymbolButton : public QAbstractButton {
 public:
  SymbolButton(Icon icon, qreal size, Theme::Weight weight, QWidget* parent = nullptr);

  QColor color() const { return color_; }
  void setColor(const QColor& color);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Icon icon_;
  qreal size_;
  Theme::Weight weight_;
  QColor color_;
};

}  // namespace kesta::ui
