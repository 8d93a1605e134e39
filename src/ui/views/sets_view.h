#pragma once

#include <string>
#include <vector>

#include "ui/look/sheet_frame.h"
#include "ui/shell/model_bridge.h"

class QVBoxLayout;

namespace kesta::ui {

class SetCard;

// The set history sheet, "SET HISTORY" in a sheet frame: a legend, then the
// set being recorded and every archived set, newest first, one card each,
// each exportable as CSV through the model. The cards are rebuilt only when
// the list of sets changed; a card's rows only when its set's rows did.
// Updated in place from the model; main thread only.
class SetsView : public SheetFrame {
  Q_OBJECT

 public:
  explicit SetsView(ModelBridge& bridge, QWidget* parent = nullptr);

  // The cards, in order: the current set first.
  std::vector<SetCard*> cards() const { return cards_; }

 private:
  void refresh();
  void exportSet(const std::string& setID);

  ModelBridge& bridge_;
  QVBoxLayout* list_;
  std::vector<SetCard*> cards_;
};

}  // namespace kesta::ui
