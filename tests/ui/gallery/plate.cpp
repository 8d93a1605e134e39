#include "ui/gallery/plate.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>

#include "ui/look/section_label.h"
#include "ui/look/theme.h"

namespace kesta::ui::gallery {

Plate::Plate(const QString& title, int width) : grid_(new QGridLayout) {
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Theme::background());
  colours.setColor(QPalette::WindowText, Theme::text());
  setPalette(colours);
  setAutoFillBackground(true);
  setFixedWidth(width);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(16, 16, 16, 16);
  column->setSpacing(14);
  column->addWidget(new SectionLabel(title));
  grid_->setHorizontalSpacing(14);
  grid_->setVerticalSpacing(12);
  grid_->setColumnStretch(1, 1);
  column->addLayout(grid_);
  column->addStretch(1);
}

void Plate::addRow(const QString& caption, std::vector<QWidget*> widgets) {
  auto* label = new QLabel(caption);
  label->setFont(Theme::captionFont());
  QPalette colours = label->palette();
  colours.setColor(QPalette::WindowText, Theme::muted());
  label->setPalette(colours);
  grid_->addWidget(label, rows_, 0, Qt::AlignLeft | Qt::AlignVCenter);

  auto* row = new QHBoxLayout;
  row->setSpacing(10);
  for (QWidget* widget : widgets) row->addWidget(widget, 0, Qt::AlignVCenter);
  row->addStretch(1);
  grid_->addLayout(row, rows_, 1);
  ++rows_;
}

}  // namespace kesta::ui::gallery
