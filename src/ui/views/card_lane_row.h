#pragma once

#include <QWidget>
#include <optional>

#include "suggest/lane.h"
#include "suggest/suggestion.h"
#include "ui/shell/model_bridge.h"

namespace kesta::ui {

class LaneLabel;
class LoadButton;
class SymbolButton;
class TextLine;

// One suggestion lane squeezed into a 32-point line of the corner card: the
// lane's short name, the shown option's title and artist (the reason in the
// tooltip), tempo and key, the load button while one-click load is on, and
// the next-option and hide buttons; an empty lane shows the model's short
// reason. Updated in place from the model; main thread only.
class CardLaneRow : public QWidget {
  Q_OBJECT

 public:
  CardLaneRow(ModelBridge& bridge, Lane lane, QWidget* parent = nullptr);

  Lane lane() const { return lane_; }

  // The parts, for tests and the gallery.
  TextLine* titleLine() const { return title_; }
  TextLine* artistLine() const { return artist_; }
  TextLine* tempoLine() const { return tempo_; }
  TextLine* emptyLine() const { return empty_; }
  LoadButton* loadButton() const { return load_; }
  SymbolButton* nextButton() const { return next_; }
  SymbolButton* hideButton() const { return hide_; }
  QWidget* suggestionBlock() const { return block_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void refresh();
  void showSuggestion(const Suggestion& suggestion);
  void showEmpty();
  void nextOption();
  void hideShown();

  ModelBridge& bridge_;
  Lane lane_;
  std::optional<Suggestion> shown_;
  LaneLabel* label_;
  QWidget* block_;
  TextLine* title_;
  TextLine* artist_;
  TextLine* tempo_;
  LoadButton* load_;
  SymbolButton* next_;
  SymbolButton* hide_;
  TextLine* empty_;
};

}  // namespace kesta::ui
