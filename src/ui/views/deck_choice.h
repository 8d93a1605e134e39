#pragma once

#include <QWidget>
#include <array>

#include "model/view_snapshot.h"

namespace kesta::ui {

class ChipButton;
class ModelBridge;

// The answer to the start-up question of the corner card: two equal chips,
// "Deck 1: <title>" and "Deck 2: <title>" (an em dash for a deck without a
// library track); a chip tells the model to follow that deck. When either
// title would be cut, both chips say "D<n> · <title>", so the pair reads
// alike. Updated in place from the model; main thread only.
class DeckChoice : public QWidget {
  Q_OBJECT

 public:
  explicit DeckChoice(ModelBridge& bridge, QWidget* parent = nullptr);

  // The chip of `deck` (1 or 2).
  ChipButton* chip(int deck) const { return chips_.at(deck - 1); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void refresh();
  // Gives both chips the whole form when both fit it, else the brief one.
  void applyForm();

  ModelBridge& bridge_;
  std::array<ChipButton*, model::kDeckCount> chips_{};
  std::array<QString, model::kDeckCount> titles_;
};

}  // namespace kesta::ui
