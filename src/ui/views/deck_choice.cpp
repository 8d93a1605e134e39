#include "ui/views/deck_choice.h"

#include <QBoxLayout>

#include "ui/look/chip_button.h"
#include "ui/look/theme.h"
#include "ui/shell/model_bridge.h"
#include "ui/views/bare_layout.h"

namespace kesta::ui {

namespace {

using model::Field;

}  // namespace

DeckChoice::DeckChoice(ModelBridge& bridge, QWidget* parent) : QWidget(parent), bridge_(bridge) {
  auto* layout = bareRow(this, Theme::kDeckChoiceSpacing);
  for (int deck = 1; deck <= 2; ++deck) {
    auto* chip = new ChipButton({}, true);
    chip->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    connect(chip, &ChipButton::clicked, this,
            [this, deck] { bridge_.model().follow(deck, FocusKind::userChoice); });
    chips_[deck - 1] = chip;
    layout->addWidget(chip, 1, Qt::AlignVCenter);
  }
  connect(&bridge_, &ModelBridge::changed, this, [this](model::ChangedFields fields) {
    if (fields.contains(Field::decks) || fields.contains(Field::library)) refresh();
  });
  refresh();
}

void DeckChoice::refresh() {
  for (int deck = 1; deck <= 2; ++deck) {
    const auto track = bridge_.model().track(deck);
    const QString title = track ? toQString(track->title) : QStringLiteral("—");
    // "D<n> · <title>" when the whole form would cut the title.
    chips_[deck - 1]->setText(tr("Deck %1: %2").arg(deck).arg(title), {},
                              {tr("D%1 · %2").arg(deck).arg(title)});
    chips_[deck - 1]->setToolTip(title);
  }
}

}  // namespace kesta::ui
