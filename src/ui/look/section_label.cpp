#include "ui/look/section_label.h"

#include "ui/look/theme.h"

namespace kesta::ui {

SectionLabel::SectionLabel(const QString& text, QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setFont(Theme::font(Theme::kSectionFontSize, Theme::Weight::bold, Theme::kSectionTracking));
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, Theme::lime());
  setPalette(colours);
  setText(text);
}

}  // namespace kesta::ui
