#include "ui/look/wrapping_label.h"

#include <QPalette>

namespace kesta::ui {

QLabel* wrappingLabel(const QString& text, const QFont& font, const QColor& color) {
  auto* label = new QLabel(text);
  label->setFont(font);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  QPalette colours = label->palette();
  colours.setColor(QPalette::WindowText, color);
  label->setPalette(colours);
  return label;
}

}  // namespace kesta::ui
