#pragma once

#include "model/undo_target.h"
#include "ui/look/chip_button.h"
#include "ui/shell/model_bridge.h"

namespace kesta::ui {

// The "Undo" chip: takes back the last hidden suggestion while the model
// still offers that, else the last one-click load that can be undone; hidden
// when there is nothing to undo. Undoing a hide wins over undoing a load.
// Updated in place from the model; main thread only.
class LoadUndo : public ChipButton {
  Q_OBJECT

 public:
  // What the chip would undo now.
  using Target = model::UndoTarget;

  explicit LoadUndo(ModelBridge& bridge, QWidget* parent = nullptr);

  Target target() const { return target_; }

 protected:
  bool event(QEvent* event) override;

 private:
  void refresh();
  void applyVisibility();
  void undo();

  ModelBridge& bridge_;
  Target target_ = Target::nothing;
};

}  // namespace kesta::ui
