#include "ui/views/lane_row.h"

#include <QBoxLayout>

#include "ui/look/theme.h"
#include "ui/views/bare_layout.h"
#include "ui/views/lane_label.h"
#include "ui/views/load_button.h"
#include "ui/views/symbol_button.h"
#include "ui/views/text_line.h"
#include "ui/views/view_text.h"

namespace kesta::ui {

LaneRow::LaneRow(ModelBridge& bridge, Lane lane, QWidget* parent)
    : LaneOptionRow(bridge, lane,
                    {.nextSymbolSize = Theme::kLaneNextSymbolSize,
                     .hideSymbolSize = Theme::kLaneHideSymbolSize,
                     .emptyFont = Theme::font(Theme::kLaneEmptyFontSize),
                     .form = model::RowForm::full},
                    parent),
      label_(new LaneLabel(
          lane, Theme::font(Theme::kLaneLabelFontSize, Theme::Weight::heavy, Theme::kLaneLabelTracking),
          Theme::kLaneLabelWidth)),
      title_(new TextLine(Theme::font(Theme::kLaneTitleFontSize, Theme::Weight::semibold), Theme::text())),
      detail_(new TextLine(Theme::font(Theme::kLaneDetailFontSize), Theme::muted())),
      caveat_(new TextLine(Theme::font(Theme::kLaneCaveatFontSize),
                           Theme::faded(Theme::muted(), Theme::kCaveatOpacity))),
      tempo_(new QWidget),
      bpm_(new TextLine(Theme::font(Theme::kLaneBpmFontSize, Theme::Weight::bold), Theme::lime())),
      key_(new TextLine(Theme::font(Theme::kLaneKeyFontSize, Theme::Weight::semibold), Theme::muted())),
      buttons_(new QWidget) {
  setFixedHeight(Theme::kLaneRowHeight);
  // The artist keeps its first word beside a long reason; the reason is cut.
  detail_->setKeepsLead(true);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

  // The load button sits beside the title, so the reason and the caveat
  // below it have the block's whole width.
  auto* heading = new QHBoxLayout;
  heading->setContentsMargins(0, 0, 0, 0);
  heading->setSpacing(Theme::kLaneRowSpacing);
  heading->addWidget(title_, 1, Qt::AlignVCenter);
  heading->addWidget(loadButton(), 0, Qt::AlignVCenter);
  auto* lines = bareColumn(suggestionBlock(), Theme::kLaneLineSpacing);
  lines->addLayout(heading);
  lines->addWidget(detail_);
  lines->addWidget(caveat_);

  auto* tempo = bareColumn(tempo_, Theme::kLaneLineSpacing);
  tempo_->setFixedWidth(Theme::kTempoColumnWidth);
  for (TextLine* line : {bpm_, key_}) {
    line->setAlignment(Qt::AlignRight);
    tempo->addWidget(line);
  }

  auto* buttons = bareColumn(buttons_, Theme::kLaneButtonSpacing);
  buttons_->setFixedWidth(Theme::kLaneButtonColumnWidth);
  buttons->addWidget(nextButton(), 0, Qt::AlignHCenter);
  buttons->addWidget(hideButton(), 0, Qt::AlignHCenter);
  nextButton()->setToolTip(tr("Show another %1 option").arg(toQString(lane.title())));
  // Every lane's reason may take two lines: the row has the room.
  emptyLine()->setLines(2);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(Theme::kLaneRowPadding, 0, Theme::kLaneRowPadding, 0);
  row->setSpacing(Theme::kLaneRowSpacing);
  row->addWidget(label_, 0, Qt::AlignVCenter);
  row->addWidget(suggestionBlock(), 1, Qt::AlignVCenter);
  row->addWidget(tempo_, 0, Qt::AlignVCenter);
  row->addWidget(buttons_, 0, Qt::AlignVCenter);
  row->addWidget(emptyLine(), 1, Qt::AlignVCenter);
  follow();
}

void LaneRow::fillSuggestion(const model::LaneRowText& row) {
  title_->setText(toQString(row.title));
  const QString detail = toQString(row.detail);
  const QString kept = toQString(row.detailKept);
  detail_->setText(detail.chopped(kept.size()), kept);
  caveat_->setText(toQString(row.caveat));
  bpm_->setText(toQString(row.tempo));
  key_->setText(toQString(row.key));
}

}  // namespace kesta::ui
