#include "ui/views/set_card.h"

#include <QBoxLayout>
#include <QPainter>

#include "ui/look/chip_button.h"
#include "ui/look/rounded_shape.h"
#include "ui/look/theme.h"
#include "ui/shell/icu_date_text.h"
#include "ui/shell/utf8_text.h"
#include "ui/views/bare_layout.h"
#include "ui/views/text_line.h"

namespace kesta::ui {

namespace {

QFont caption2(Theme::Weight weight = Theme::Weight::regular) {
  return Theme::font(Theme::kCaption2Size, weight);
}

TextLine* mark(const QString& text, const QColor& color) {
  auto* line = new TextLine(caption2(Theme::Weight::bold), color);
  line->setText(text);
  line->setCompressible(false);
  return line;
}

// One loaded track: time, title, played or loaded, and the lane that suggested it.
QWidget* entryRow(const DJSet::Entry& entry) {
  auto* row = new QWidget;
  auto* time = new TextLine(caption2(), Theme::muted());
  time->setText(QString::fromStdString(shortTime(entry.loadedAt)));
  time->setFixedWidth(Theme::kSetTimeColumnWidth);
  auto* title = new TextLine(Theme::font(Theme::kCaptionSize, Theme::Weight::bold), Theme::text());
  title->setText(QString::fromStdString(entry.title));
  title->setToolTip(title->text());
  auto* played = new TextLine(caption2(), entry.played ? Theme::lime() : Theme::muted());
  played->setText(entry.played ? SetCard::tr("played") : SetCard::tr("loaded"));
  played->setCompressible(false);
  auto* lane = new TextLine(caption2(Theme::Weight::bold), Theme::lime());
  if (entry.suggestedAs) {
    lane->setText(toQString(entry.suggestedAs->shortTitle()));
  }
  lane->setFixedWidth(Theme::kSetLaneColumnWidth);
  lane->setAlignment(Qt::AlignRight);

  auto* layout = bareRow(row, Theme::kSetRowSpacing);
  layout->addWidget(time, 0, Qt::AlignVCenter);
  layout->addWidget(title, 1, Qt::AlignVCenter);
  layout->addWidget(played, 0, Qt::AlignVCenter);
  layout->addWidget(lane, 0, Qt::AlignVCenter);
  return row;
}

}  // namespace

SetCard::SetCard(QWidget* parent)
    : QWidget(parent),
      heading_(new TextLine(Theme::font(Theme::kCalloutSize, Theme::Weight::bold), Theme::text())),
      current_(mark(tr("CURRENT"), Theme::lime())),
      legacy_(mark(tr("FROM 0.5"), Theme::muted())),
      export_(new ChipButton(tr("Export CSV"))),
      rowsLayout_(new QVBoxLayout),
      nothing_(new TextLine(Theme::captionFont(), Theme::muted())) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  heading_->setCompressible(false);
  nothing_->setText(tr("Nothing loaded yet."));

  auto* header = new QHBoxLayout;
  header->setContentsMargins(0, 0, 0, 0);
  header->addWidget(heading_, 0, Qt::AlignVCenter);
  header->addWidget(current_, 0, Qt::AlignVCenter);
  header->addWidget(legacy_, 0, Qt::AlignVCenter);
  header->addStretch(1);
  header->addWidget(export_, 0, Qt::AlignVCenter);

  rowsLayout_->setContentsMargins(0, 0, 0, 0);
  rowsLayout_->setSpacing(Theme::kSetCardLineSpacing);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(Theme::kSetCardPadding, Theme::kSetCardPadding, Theme::kSetCardPadding,
                             Theme::kSetCardPadding);
  column->setSpacing(Theme::kSetCardLineSpacing);
  column->addLayout(header);
  column->addLayout(rowsLayout_);
  column->addWidget(nothing_);

  connect(export_, &ChipButton::clicked, this, [this] { emit exportRequested(setID_); });
}

void SetCard::showSet(const DJSet& set, bool current) {
  setID_ = set.id;
  heading_->setText(QString::fromStdString(mediumDateShortTime(set.startedAt)));
  current_->setVisible(current);
  legacy_->setVisible(set.legacy);
  std::vector<DJSet::Entry> entries = set.entries();
  export_->setEnabled(!entries.empty());
  nothing_->setVisible(entries.empty());
  if (shownOnce_ && entries == entries_) return;
  shownOnce_ = true;
  rebuildRows(entries);
  entries_ = std::move(entries);
}

bool SetCard::showsCurrentMark() const { return !current_->isHidden(); }

bool SetCard::showsLegacyMark() const { return !legacy_->isHidden(); }

void SetCard::rebuildRows(const std::vector<DJSet::Entry>& entries) {
  for (QWidget* row : rows_) {
    rowsLayout_->removeWidget(row);
    row->hide();
    row->deleteLater();
  }
  rows_.clear();
  for (const DJSet::Entry& entry : entries) {
    QWidget* row = entryRow(entry);
    rowsLayout_->addWidget(row);
    rows_.push_back(row);
  }
}

void SetCard::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(continuousRoundedRect(QRectF(rect()), Theme::kSetCardRadius), Theme::panel());
}

}  // namespace kesta::ui
