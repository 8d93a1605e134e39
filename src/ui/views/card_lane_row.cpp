#include "ui/views/card_lane_row.h"

#include <QBoxLayout>

#include "ui/look/theme.h"
#include "ui/views/bare_layout.h"
#include "ui/views/lane_label.h"
#include "ui/views/line_slot.h"
#include "ui/views/load_button.h"
#include "ui/views/symbol_button.h"
#include "ui/views/text_line.h"
#include "ui/views/view_text.h"

namespace kesta::ui {

CardLaneRow::CardLaneRow(ModelBridge& bridge, Lane lane, QWidget* parent)
    : LaneOptionRow(bridge, lane,
                    {.nextSymbolSize = Theme::kCardLaneNextSymbolSize,
                     .hideSymbolSize = Theme::kCardLaneHideSymbolSize,
                     .emptyFont = Theme::font(Theme::kCardLaneEmptyFontSize),
                     .form = model::RowForm::card},
                    parent),
      label_(new LaneLabel(
          lane,
          Theme::font(Theme::kCardLaneLabelFontSize, Theme::Weight::heavy, Theme::kCardLaneLabelTracking),
          Theme::kCardLaneLabelWidth)),
      title_(
          new TextLine(Theme::font(Theme::kCardLaneTitleFontSize, Theme::Weight::semibold), Theme::text())),
      artist_(new TextLine(Theme::font(Theme::kCardLaneArtistFontSize), Theme::muted())),
      tempo_(new TextLine(Theme::font(Theme::kCardLaneTempoFontSize, Theme::Weight::bold), Theme::lime())) {
  setFixedHeight(Theme::kCardLaneRowHeight);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  tempo_->setCompressible(false);

  // The block is as tall as the row, so the artist's marks may reach below its slot.
  auto* lines = bareColumn(suggestionBlock(), 0);
  lines->addStretch(1);
  addLineSlot(*lines, title_);
  addLineSlot(*lines, artist_);
  lines->addStretch(1);

  nextButton()->setToolTip(tr("Another %1 option").arg(toQString(lane.title())));

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(Theme::kCardLaneRowPadding, 0, Theme::kCardLaneRowPadding, 0);
  row->setSpacing(Theme::kCardLaneRowSpacing);
  row->addWidget(label_, 0, Qt::AlignVCenter);
  row->addWidget(suggestionBlock(), 1);
  row->addWidget(tempo_, 0, Qt::AlignVCenter);
  row->addWidget(loadButton(), 0, Qt::AlignVCenter);
  row->addWidget(nextButton(), 0, Qt::AlignVCenter);
  row->addWidget(hideButton(), 0, Qt::AlignVCenter);
  row->addWidget(emptyLine(), 1, Qt::AlignVCenter);
  follow();
}

QList<QWidget*> CardLaneRow::optionParts() const { return {tempo_, nextButton(), hideButton()}; }

void CardLaneRow::fillSuggestion(const model::LaneRowText& row) {
  title_->setText(toQString(row.title));
  artist_->setText(toQString(row.detail));
  tempo_->setText(toQString(row.tempo));
}

}  // namespace kesta::ui
