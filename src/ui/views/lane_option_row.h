#pragma once

#include <QFont>
#include <QWidget>
#include <optional>

#include "model/lane_row_text.h"
#include "suggest/lane.h"
#include "suggest/suggestion.h"
#include "ui/shell/model_bridge.h"

namespace kesta::ui {

class LoadButton;
class SymbolButton;
class TextLine;

// What the full window's lane rows and the corner card's share: the option
// the model shows in one lane, kept up to date from the model, the load,
// next-option and hide buttons that act on it, the line shown instead while
// the lane is empty, and the row's rounded panel. A subclass lays the parts
// out with its own, fills them and calls `follow()` last in its constructor.
// Main thread only.
class LaneOptionRow : public QWidget {
  Q_OBJECT

 public:
  Lane lane() const { return lane_; }

  // The shared parts, for tests and the gallery.
  TextLine* emptyLine() const { return empty_; }
  LoadButton* loadButton() const { return load_; }
  SymbolButton* nextButton() const { return next_; }
  SymbolButton* hideButton() const { return hide_; }
  // Holds the subclass's lines about the shown option.
  QWidget* suggestionBlock() const { return block_; }

 protected:
  // The sizes of the shared parts, which differ from row to row.
  struct Look {
    qreal nextSymbolSize = 0;
    qreal hideSymbolSize = 0;
    QFont emptyFont;
    model::RowForm form = model::RowForm::full;
  };

  LaneOptionRow(ModelBridge& bridge, Lane lane, const Look& look, QWidget* parent);

  // Shows the model's current option now and after every change to it. Not
  // in this constructor, as it calls the subclass's fill functions.
  void follow();

  // Fill the subclass's parts from the row's lines about the shown option;
  // which parts are visible is handled here.
  virtual void fillSuggestion(const model::LaneRowText& row) = 0;
  // The subclass's parts that are shown with an option and hidden without.
  virtual QList<QWidget*> optionParts() const = 0;

  void paintEvent(QPaintEvent* event) override;

 private:
  void refresh();
  void showSuggestion(const model::LaneRowText& row);
  void showEmpty(const model::LaneRowText& row);
  void nextOption();
  void hideShown();

  ModelBridge& bridge_;
  Lane lane_;
  model::RowForm form_;
  std::optional<Suggestion> shown_;
  QWidget* block_;
  LoadButton* load_;
  SymbolButton* next_;
  SymbolButton* hide_;
  TextLine* empty_;
};

}  // namespace kesta::ui
