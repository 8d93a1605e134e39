#include "ui/views/lane_row.h"

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

// The lane's options and cursor, the ranking flag, the switch for the load
// button, and what makes up the followed track.
constexpr model::ChangedFields kShownFields =
    model::ChangedFields(Field::lanes) | Field::laneCursor | Field::ranking | Field::oneClickLoad |
    Field::focus | Field::decks | Field::library | Field::shown | Field::screenTracks;

QVBoxLayout* column(QWidget* owner, int spacing) {
  auto* layout = new QVBoxLayout(owner);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(spacing);
  return layout;
}

}  // namespace

LaneRow::LaneRow(ModelBridge& bridge, Lane lane, QWidget* parent)
    : QWidget(parent),
      bridge_(bridge),
      lane_(lane),
      label_(new LaneLabel(
          lane, Theme::font(Theme::kLaneLabelFontSize, Theme::Weight::heavy, Theme::kLaneLabelTracking),
          Theme::kLaneLabelWidth)),
      block_(new QWidget),
      title_(new TextLine(Theme::font(Theme::kLaneTitleFontSize, Theme::Weight::semibold), Theme::text())),
      detail_(new TextLine(Theme::font(Theme::kLaneDetailFontSize), Theme::muted())),
      caveat_(new TextLine(Theme::font(Theme::kLaneCaveatFontSize),
                           Theme::faded(Theme::muted(), Theme::kCaveatOpacity))),
      load_(new LoadButton(bridge, Suggestion{lane, {}, {}, {}})),
      tempo_(new QWidget),
      bpm_(new TextLine(Theme::font(Theme::kLaneBpmFontSize, Theme::Weight::bold), Theme::lime())),
      key_(new TextLine(Theme::font(Theme::kLaneKeyFontSize, Theme::Weight::semibold), Theme::muted())),
      buttons_(new QWidget),
      next_(new SymbolButton(Icon::reload, Theme::kLaneNextSymbolSize, Theme::Weight::regular)),
      hide_(new SymbolButton(Icon::close, Theme::kLaneHideSymbolSize, Theme::Weight::bold)),
      empty_(new TextLine(Theme::font(Theme::kLaneEmptyFontSize), Theme::muted())) {
  setFixedHeight(Theme::kLaneRowHeight);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

  auto* lines = column(block_, Theme::kLaneLineSpacing);
  for (TextLine* line : {title_, detail_, caveat_}) lines->addWidget(line);

  auto* tempo = column(tempo_, Theme::kLaneLineSpacing);
  tempo_->setFixedWidth(Theme::kTempoColumnWidth);
  for (TextLine* line : {bpm_, key_}) {
    line->setAlignment(Qt::AlignRight);
    tempo->addWidget(line);
  }

  auto* buttons = column(buttons_, Theme::kLaneButtonSpacing);
  buttons_->setFixedWidth(Theme::kLaneButtonColumnWidth);
  buttons->addWidget(next_, 0, Qt::AlignHCenter);
  buttons->addWidget(hide_, 0, Qt::AlignHCenter);
  const QString laneTitle = fromView(lane.title());
  next_->setAccessibleName(tr("Another %1 option").arg(laneTitle));
  next_->setToolTip(tr("Show another %1 option").arg(laneTitle));
  hide_->setToolTip(tr("Not tonight: hide this track for the rest of the set"));
  empty_->setLines(lane == Lane::groove ? 2 : 1);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(Theme::kLaneRowPadding, 0, Theme::kLaneRowPadding, 0);
  row->setSpacing(Theme::kLaneRowSpacing);
  row->addWidget(label_, 0, Qt::AlignVCenter);
  row->addWidget(block_, 1, Qt::AlignVCenter);
  row->addWidget(load_, 0, Qt::AlignVCenter);
  row->addWidget(tempo_, 0, Qt::AlignVCenter);
  row->addWidget(buttons_, 0, Qt::AlignVCenter);
  row->addWidget(empty_, 1, Qt::AlignVCenter);

  connect(next_, &SymbolButton::clicked, this, &LaneRow::nextOption);
  connect(hide_, &SymbolButton::clicked, this, &LaneRow::hideShown);
  connect(&bridge_, &ModelBridge::changed, this, [this](model::ChangedFields fields) {
    if ((fields.bits() & kShownFields.bits()) != 0) refresh();
  });
  refresh();
}

void LaneRow::refresh() {
  shown_ = bridge_.model().suggestion(lane_);
  if (shown_) {
    showSuggestion(*shown_);
  } else {
    showEmpty();
  }
}

void LaneRow::showSuggestion(const Suggestion& s) {
  const model::AppModel& model = bridge_.model();
  title_->setText(toQString(s.track.title));
  detail_->setText(toQString(s.track.displayArtist() + " · " + s.why));
  caveat_->setText(s.caveat ? toQString(*s.caveat) : QStringLiteral(" "));
  block_->setToolTip(suggestionTooltip(s));
  load_->setSuggestion(s);
  bpm_->setText(toQString(s.track.displayBPM()));
  key_->setText(toQString(s.track.displayKey()));
  const bool more = model.alternatives(lane_) >= 2;
  next_->setEnabled(more);
  next_->setColor(more ? Theme::muted() : Theme::line());
  hide_->setAccessibleName(tr("Not tonight: hide %1").arg(toQString(s.track.title)));

  empty_->setVisible(false);
  for (QWidget* part : {block_, tempo_, buttons_}) part->setVisible(true);
  load_->setVisible(model.oneClickLoad());
}

void LaneRow::showEmpty() {
  const model::AppModel& model = bridge_.model();
  const std::optional<std::string> reason = model.emptyReason(lane_);
  QString shown = QStringLiteral(" ");
  if (model.ranking()) {
    shown = QStringLiteral("…");
  } else if (reason) {
    shown = toQString(*reason);
  } else if (model.currentTrack()) {
    shown = QStringLiteral("—");
  } else if (lane_ == Lane::groove) {
    shown = tr("Suggestions appear once Kesta knows the loaded track.");
  }
  empty_->setText(shown);
  empty_->setToolTip(reason ? toQString(*reason) : QString());

  for (QWidget* part : {block_, static_cast<QWidget*>(load_), tempo_, buttons_}) part->setVisible(false);
  empty_->setVisible(true);
}

void LaneRow::nextOption() { bridge_.model().nextOption(lane_); }

void LaneRow::hideShown() {
  if (shown_) bridge_.model().dismiss(*shown_);
}

void LaneRow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(continuousRoundedRect(QRectF(rect()), Theme::kRowRadius), Theme::panel());
}

}  // namespace kesta::ui
