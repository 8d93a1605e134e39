#include "ui/views/sets_view.h"

#include <QBoxLayout>
#include <QLabel>
#include <QScrollArea>

#include "model/set_rows.h"
#include "ui/look/theme.h"
#include "ui/look/wrapping_label.h"
#include "ui/shell/view_refresh.h"
#include "ui/views/bare_layout.h"
#include "ui/views/set_card.h"

namespace kesta::ui {

namespace {

using model::Field;

constexpr model::ChangedFields kShownFields = model::ChangedFields(Field::activeSet) | Field::archivedSets;

QLabel* legend() {
  return wrappingLabel(
      SetsView::tr("Loaded = Kesta saw it on a deck. Played = the deck clock ran for 30 s or "
                   "more. Stays on this computer."),
      Theme::captionFont(), Theme::muted());
}

}  // namespace

SetsView::SetsView(ModelBridge& bridge, QWidget* parent)
    : SheetFrame(tr("SET HISTORY"), std::make_unique<QWidget>(), parent),
      bridge_(bridge),
      list_(new QVBoxLayout) {
  setWindowTitle(tr("Set history"));
  auto* listHost = new QWidget;
  listHost->setLayout(list_);
  list_->setContentsMargins(0, 0, 0, 0);
  list_->setSpacing(Theme::kSetCardSpacing);
  list_->addStretch(1);

  auto* scroll = new QScrollArea;
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  scroll->setWidget(listHost);
  scroll->viewport()->setAutoFillBackground(false);
  listHost->setAutoFillBackground(false);

  auto* column = bareColumn(content(), Theme::kSheetSpacing);
  column->addWidget(legend());
  column->addWidget(scroll, 1);

  new ViewRefresh(bridge_, *this, kShownFields, [this](model::ChangedFields) { refresh(); });
}

void SetsView::refresh() {
  const std::vector<model::SetRow> sets = model::setRows(bridge_.snapshot());
  bool sameList = sets.size() == cards_.size();
  for (std::size_t i = 0; sameList && i < sets.size(); ++i) sameList = cards_[i]->setID() == sets[i].set->id;
  if (!sameList) {
    for (SetCard* card : cards_) {
      list_->removeWidget(card);
      card->hide();
      card->deleteLater();
    }
    cards_.clear();
    for (std::size_t i = 0; i < sets.size(); ++i) {
      auto* card = new SetCard;
      connect(card, &SetCard::exportRequested, this, &SetsView::exportSet);
      list_->insertWidget(static_cast<int>(i), card);
      cards_.push_back(card);
    }
  }
  for (std::size_t i = 0; i < sets.size(); ++i) cards_[i]->showSet(*sets[i].set, sets[i].current);
}

void SetsView::exportSet(const std::string& setID) {
  if (const DJSet* set = model::findSet(bridge_.snapshot(), setID)) bridge_.actions().exportSet(*set);
}

}  // namespace kesta::ui
