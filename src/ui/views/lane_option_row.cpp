#include "ui/views/lane_option_row.h"

#include <QPainter>

#include "ui/look/rounded_shape.h"
#include "ui/look/theme.h"
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

}  // namespace

LaneOptionRow::LaneOptionRow(ModelBridge& bridge, Lane lane, const Look& look, QWidget* parent)
    : QWidget(parent),
      bridge_(bridge),
      lane_(lane),
      block_(new QWidget),
      load_(new LoadButton(bridge, Suggestion{lane, {}, {}, {}})),
      next_(new SymbolButton(Icon::reload, look.nextSymbolSize, Theme::Weight::regular)),
      hide_(new SymbolButton(Icon::close, look.hideSymbolSize, Theme::Weight::bold)),
      empty_(new TextLine(look.emptyFont, Theme::muted())) {
  next_->setAccessibleName(tr("Another %1 option").arg(fromView(lane.title())));
  hide_->setToolTip(tr("Not tonight: hide this track for the rest of the set"));
  connect(next_, &SymbolButton::clicked, this, &LaneOptionRow::nextOption);
  connect(hide_, &SymbolButton::clicked, this, &LaneOptionRow::hideShown);
}

void LaneOptionRow::follow() {
  connect(&bridge_, &ModelBridge::changed, this, [this](model::ChangedFields fields) {
    if ((fields.bits() & kShownFields.bits()) != 0) refresh();
  });
  refresh();
}

void LaneOptionRow::refresh() {
  shown_ = model().suggestion(lane_);
  if (shown_) {
    showSuggestion(*shown_);
  } else {
    showEmpty();
  }
}

void LaneOptionRow::showSuggestion(const Suggestion& s) {
  fillSuggestion(s);
  block_->setToolTip(suggestionTooltip(s));
  load_->setSuggestion(s);
  const bool more = model().alternatives(lane_) >= 2;
  next_->setEnabled(more);
  next_->setColor(more ? Theme::muted() : Theme::line());
  hide_->setAccessibleName(tr("Not tonight: hide %1").arg(toQString(s.track.title)));

  empty_->setVisible(false);
  block_->setVisible(true);
  for (QWidget* part : optionParts()) part->setVisible(true);
  load_->setVisible(model().oneClickLoad());
}

void LaneOptionRow::showEmpty() {
  fillEmpty();
  block_->setVisible(false);
  load_->setVisible(false);
  for (QWidget* part : optionParts()) part->setVisible(false);
  empty_->setVisible(true);
}

void LaneOptionRow::nextOption() { bridge_.model().nextOption(lane_); }

void LaneOptionRow::hideShown() {
  if (shown_) bridge_.model().dismiss(*shown_);
}

void LaneOptionRow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(continuousRoundedRect(QRectF(rect()), Theme::kRowRadius), Theme::panel());
}

}  // namespace kesta::ui
