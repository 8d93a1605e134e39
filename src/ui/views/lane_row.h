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

// One suggestion lane of the full window, 58 points high: the lane's name,
// the option the model shows in it (title, artist and reason, caveat), the
// load button while one-click load is on, tempo and key, and the buttons for
// the lane's next option and for hiding the track. An empty lane shows why.
// Updated in place from the model; main thread only.
class LaneRow : public QWidget {
  Q_OBJECT

 public:
  LaneRow(ModelBridge& bridge, Lane lane, QWidget* parent = nullptr);

  Lane lane() const { return lane_; }

  // The parts, for tests and the gallery.
  TextLine* titleLine() const { return title_; }
  TextLine* detailLine() const { return detail_; }
  TextLine* caveatLine() const { return caveat_; }
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
  TextLine* detail_;
  TextLine* caveat_;
  LoadButton* load_;
  QWidget* tempo_;
  TextLine* bpm_;
  TextLine* key_;
  QWidget* buttons_;
  SymbolButton* next_;
  SymbolButton* hide_;
  TextLine* empty_;
};

}  // namespace kesta::ui
