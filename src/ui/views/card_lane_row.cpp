#include "ui/views/card_lane_row.h"

#include <QBoxLayout>
#include <QPainter>

#include "ui/look/rounded_shape.h"
#include "ui/look/theme.h"
#include "ui/views/lane_label.h"
#include "ui/views/load_button.h"
#include "ui/views/symbol_button.h"
#include "ui/views/text_line.h"
#include "ui/views/view_text.h"

namespace kesta::ui {

namespace {

using model::Field;

// The lane's options and cursor, the switch for the load button, and what
// makes up the followed track.
constexpr model::ChangedFields kShownFields =
    model::ChangedFields(Field::lanes) | Field::laneCursor | Field::ranking | Field::oneClickLoad |
    Field::focus | Field::decks | Field::library | Field::shown | Field::screenTracks;

}  // namespace

CardLaneRow::CardLaneRow(ModelBridge& bridge, Lane lane, QWidget* parent)
    : QWidget(parent),
      bridge_(bridge),
      lane_(lane),
      label_(new LaneLabel(
          lane,
          Theme::font(Theme::kCardLaneLabelFontSize, Theme::Weight::heavy, Theme::kCardLaneLabelTracking),
          Theme::kCardLaneLabelWidth)),
      block_(new QWidget),
      title_(
          new TextLine(Theme::font(Theme::kCardLaneTitleFontSize, Theme::Weight::semibold), Theme::text())),
      artist_(new TextLine(Theme::font(Theme::kCardLaneArtistFontSize), Theme::muted())),
      tempo_(new TextLine(Theme::font(Theme::kCardLaneTempoFontSize, Theme::Weight::bold), Theme::lime())),
      load_(new LoadButton(bridge, Suggestion{lane, {}, {}, {}})),
      next_(new SymbolButton(Icon::reload, Theme::kCardLaneNextSymbolSize, Theme::Weight::regular)),
      hide_(new SymbolButton(Icon::close, Theme::kCardLaneHideSymbolSize, Theme::Weight::bold)),
      empty_(new TextLine(Theme::font(Theme::kCardLaneEmptyFontSize), Theme::muted())) {
  setFixedHeight(Theme::kCardLaneRowHeight);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  tempo_->setCompressible(false);

  auto* lines = new QVBoxLayout(block_);
  lines->setContentsMargins(0, 0, 0, 0);
  lines->setSpacing(0);
  lines->addWidget(title_);
  lines->addWidget(artist_);

  const QString laneTitle = fromView(lane.title());
  next_->setAccessibleName(tr("Another %1 option").arg(laneTitle));
  next_->setToolTip(tr("Another %1 option").arg(laneTitle));
  hide_->setToolTip(tr("Not tonight: hide this track for the rest of the set"));

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(Theme::kCardLaneRowPadding, 0, Theme::kCardLaneRowPadding, 0);
  row->setSpacing(Theme::kCardLaneRowSpacing);
  row->addWidget(label_, 0, Qt::AlignVCenter);
  row->addWidget(block_, 1, Qt::AlignVCenter);
  row->addWidget(tempo_, 0, Qt::AlignVCenter);
  row->addWidget(load_, 0, Qt::AlignVCenter);
  row->addWidget(next_, 0, Qt::AlignVCenter);
  row->addWidget(hide_, 0, Qt::AlignVCenter);
  row->addWidget(empty_, 1, Qt::AlignVCenter);

  connect(next_, &SymbolButton::clicked, this, &CardLaneRow::nextOption);
  connect(hide_, &SymbolButton::clicked, this, &CardLaneRow::hideShown);
  connect(&bridge_, &ModelBridge::changed, this, [this](model::ChangedFields fields) {
    if ((fields.bits() & kShownFields.bits()) != 0) refresh();
  });
  refresh();
}

void CardLaneRow::refresh() {
  shown_ = bridge_.model().suggestion(lane_);
  if (shown_) {
    showSuggestion(*shown_);
  } else {
    showEmpty();
  }
}

void CardLaneRow::showSuggestion(const Suggestion& s) {
  const model::AppModel& model = bridge_.model();
  title_->setText(toQString(s.track.title));
  artist_->setText(toQString(s.track.displayArtist()));
  block_->setToolTip(suggestionTooltip(s));
  tempo_->setText(toQString(s.track.displayBPM() + " · " + s.track.displayKey()));
  load_->setSuggestion(s);
  const bool more = model.alternatives(lane_) >= 2;
  next_->setEnabled(more);
  next_->setColor(more ? Theme::muted() : Theme::line());
  hide_->setAccessibleName(tr("Not tonight: hide %1").arg(toQString(s.track.title)));

  empty_->setVisible(false);
  for (QWidget* part :
       {block_, static_cast<QWidget*>(tempo_), static_cast<QWidget*>(next_), static_cast<QWidget*>(hide_)}) {
    part->setVisible(true);
  }
  load_->setVisible(model.oneClickLoad());
}

void CardLaneRow::showEmpty() {
  const model::AppModel& model = bridge_.model();
  QString shown = QStringLiteral(" ");
  if (const auto reason = model.emptyShort(lane_)) {
    shown = toQString(*reason);
  } else if (model.currentTrack()) {
    shown = QStringLiteral("—");
  }
  const std::optional<std::string> reason = model.emptyReason(lane_);
  empty_->setText(shown);
  empty_->setToolTip(reason ? toQString(*reason) : shown);

  for (QWidget* part : {block_, static_cast<QWidget*>(tempo_), static_cast<QWidget*>(load_),
                        static_cast<QWidget*>(next_), static_cast<QWidget*>(hide_)}) {
    part->setVisible(false);
  }
  empty_->setVisible(true);
}

void CardLaneRow::nextOption() { bridge_.model().nextOption(lane_); }

void CardLaneRow::hideShown() {
  if (shown_) bridge_.model().dismiss(*shown_);
}

void CardLaneRow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(continuousRoundedRect(QRectF(rect()), Theme::kRowRadius), Theme::panel());
}

}  // namespace kesta::ui
