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
                     .emptyFont = Theme::font(Theme::kLaneEmptyFontSize)},
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
  nextButton()->setToolTip(tr("Show another %1 option").arg(fromView(lane.title())));
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

void LaneRow::fillSuggestion(const Suggestion& s) {
  title_->setText(toQString(s.track.title));
  // The reason is kept before the artist.
  detail_->setText(toQString(s.track.displayArtist()), toQString(" · " + s.why));
  caveat_->setText(s.caveat ? toQString(*s.caveat) : QStringLiteral(" "));
  bpm_->setText(toQString(s.track.displayBPM()));
  key_->setText(toQString(s.track.displayKey()));
}

void LaneRow::fillEmpty() {
  const std::optional<std::string> reason = model().emptyReason(lane());
  QString shown = QStringLiteral(" ");
  if (model().ranking()) {
    shown = QStringLiteral("…");
  } else if (reason) {
    shown = toQString(*reason);
  } else if (model().currentTrack()) {
    shown = QStringLiteral("—");
  } else if (lane() == Lane::groove) {
    shown = tr("Suggestions appear once Kesta knows the loaded track.");
  }
  emptyLine()->setText(shown);
  emptyLine()->setToolTip(reason ? toQString(*reason) : QString());
}

}  // namespace kesta::ui
