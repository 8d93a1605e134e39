#include "ui/views/deck_choice.h"

#include <QBoxLayout>

#include "ui/look/chip_button.h"
#include "ui/look/theme.h"
#include "ui/shell/model_bridge.h"
#include "ui/shell/view_refresh.h"
#include "ui/views/bare_layout.h"

namespace kesta::ui {

namespace {

using model::Field;

constexpr model::ChangedFields kShownFields = model::ChangedFields(Field::decks) | Field::library;

}  // namespace

DeckChoice::DeckChoice(ModelBridge& bridge, QWidget* parent) : QWidget(parent), bridge_(bridge) {
  auto* layout = bareRow(this, Theme::kDeckChoiceSpacing);
  for (int deck = 1; deck <= model::kDeckCount; ++deck) {
    auto* chip = new ChipButton({}, true);
    chip->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    connect(chip, &ChipButton::clicked, this, [this, deck] { bridge_.actions().follow(deck); });
    chips_[deck - 1] = chip;
    layout->addWidget(chip, 1, Qt::AlignVCenter);
  }
  new ViewRefresh(bridge_, *this, kShownFields, [this](model::ChangedFields) { refresh(); });
}

void DeckChoice::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  applyForm();
}

void DeckChoice::refresh() {
  for (int deck = 1; deck <= model::kDeckCount; ++deck) {
    const auto& track = bridge_.snapshot().deck(deck).track;
    titles_[deck - 1] = track ? toQString(track->title) : QStringLiteral("—");
    chips_[deck - 1]->setToolTip(titles_[deck - 1]);
  }
  applyForm();
}

void DeckChoice::applyForm() {
  bool wholeFits = true;
  for (int deck = 1; deck <= model::kDeckCount; ++deck) {
    ChipButton* chip = chips_[deck - 1];
    chip->setText(tr("Deck %1: %2").arg(deck).arg(titles_[deck - 1]));
    wholeFits = wholeFits && chip->sizeHint().width() <= chip->width();
  }
  if (wholeFits) return;
  for (int deck = 1; deck <= model::kDeckCount; ++deck) {
    chips_[deck - 1]->setText(tr("D%1 · %2").arg(deck).arg(titles_[deck - 1]));
  }
}

}  // namespace kesta::ui
