#include "model/undo_target.h"

namespace kesta::model {

UndoTarget undoTarget(const ViewSnapshot& snapshot) {
  if (snapshot.dismissalUndoable) return UndoTarget::dismissal;
  const auto* done = snapshot.loadStatus.as<LoadStatus::Done>();
  return done && done->canUndo ? UndoTarget::load : UndoTarget::nothing;
}

}  // namespace kesta::model
