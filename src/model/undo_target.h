#pragma once

#include "model/view_snapshot.h"

// What the "Undo" chip takes back, as a pure function of the view snapshot:
// the last hidden suggestion while that can still be undone, else the last
// one-click load that can. Any thread.
namespace kesta::model {

enum class UndoTarget { nothing, dismissal, load };

UndoTarget undoTarget(const ViewSnapshot& snapshot);

}  // namespace kesta::model
