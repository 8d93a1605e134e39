#include "ui/look/sheet_frame.h"

#include <QBoxLayout>
#include <QDialog>

#include "ui/look/chip_button.h"
#include "ui/look/section_label.h"
#include "ui/look/theme.h"

namespace kesta::ui {

SheetFrame::SheetFrame(const QString& title, std::unique_ptr<QWidget> content, QWidget* parent)
    : QWidget(parent),
      content_(content ? content.release() : new QWidget),
      done_(new ChipButton(tr("Done"), true)) {
  setFixedSize(Theme::kSheetWidth, Theme::kSheetHeight);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Theme::background());
  colours.setColor(QPalette::WindowText, Theme::text());
  colours.setColor(QPalette::Text, Theme::text());
  setPalette(colours);
  setAutoFillBackground(true);

  auto* header = new QHBoxLayout;
  header->setContentsMargins(0, 0, 0, 0);
  header->addWidget(new SectionLabel(title), 0, Qt::AlignVCenter);
  header->addStretch(1);
  header->addWidget(done_, 0, Qt::AlignVCenter);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(Theme::kSheetPadding, Theme::kSheetPadding, Theme::kSheetPadding,
                             Theme::kSheetPadding);
  column->setSpacing(Theme::kSheetSpacing);
  column->addLayout(header);
  column->addWidget(content_, 1);

  connect(done_, &ChipButton::clicked, this, &SheetFrame::dismiss);
}

void SheetFrame::dismiss() {
  emit done();
  if (auto* dialog = qobject_cast<QDialog*>(window())) dialog->accept();
}

}  // namespace kesta::ui
