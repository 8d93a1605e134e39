#include "ui/views/lane_option_row.h"

#include <QPainter>

#include "ui/look/rounded_shape.h"
#include "ui/look/theme.h"
#include "ui/shell/view_refresh.h"
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
      form_(look.form),
      block_(new QWidget),
      load_(new LoadButton(bridge, Suggestion{lane, {}, {}, {}})),
      next_(new SymbolButton(Icon::reload, look.nextSymbolSize, Theme::Weight::regular)),
      hide_(new SymbolButton(Icon::close, look.hideSymbolSize, Theme::Weight::bold)),
      empty_(new TextLine(look.emptyFont, Theme::muted())) {
  next_->setAccessibleName(tr("Another %1 option").arg(toQString(lane.title())));
  hide_->setToolTip(tr("Not tonight: hide this track for the rest of the set"));
  connect(next_, &SymbolButton::clicked, this, &LaneOptionRow::nextOption);
  connect(hide_, &SymbolButton::clicked, this, &LaneOptionRow::hideShown);
}

void LaneOptionRow::follow() {
  new ViewRefresh(bridge_, *this, kShownFields, [this](model::ChangedFields) { refresh(); });
}

void LaneOptionRow::refresh() {
  const model::LaneRowText row = model::laneRowText(bridge_.snapshot(), lane_, form_);
  shown_ = row.shown;
  if (shown_) {
    showSuggestion(row);
  } else {
    showEmpty(row);
  }
}

void LaneOptionRow::showSuggestion(const model::LaneRowText& row) {
  const Suggestion& s = *row.shown;
  fillSuggestion(row);
  block_->setToolTip(suggestionTooltip(s));
  load_->setSuggestion(s);
  next_->setEnabled(row.moreOptions);
  next_->setColor(row.moreOptions ? Theme::muted() : Theme::line());
  hide_->setAccessibleName(tr("Not tonight: hide %1").arg(toQString(s.track.title)));

  empty_->setVisible(false);
  block_->setVisible(true);
  for (QWidget* part : optionParts()) part->setVisible(true);
  load_->setVisible(row.loadShown);
}

void LaneOptionRow::showEmpty(const model::LaneRowText& row) {
  empty_->setText(toQString(row.emptyText));
  empty_->setToolTip(toQString(row.emptyTooltip));
  block_->setVisible(false);
  load_->setVisible(false);
  for (QWidget* part : optionParts()) part->setVisible(false);
  empty_->setVisible(true);
}

void LaneOptionRow::nextOption() { bridge_.actions().nextOption(lane_); }

void LaneOptionRow::hideShown() {
  if (shown_) bridge_.actions().dismiss(*shown_);
}

void LaneOptionRow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(continuousRoundedRect(QRectF(rect()), Theme::kRowRadius), Theme::panel());
}

}  // namespace kesta::ui
