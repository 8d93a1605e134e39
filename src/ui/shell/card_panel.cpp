#include "ui/shell/card_panel.h"

#include <QVBoxLayout>

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

}  // namespace kesta::ui
