#pragma once

#include <string>
#include <vector>

#include "model/view_snapshot.h"

// The set history's cards, as a pure function of the view snapshot: the set
// being recorded first, then every archived set, newest first. The rows
// borrow the sets from the snapshot. Any thread.
namespace kesta::model {

struct SetRow {
  const DJSet* set = nullptr;
  bool current = false;  // the set being recorded
};

std::vector<SetRow> setRows(const ViewSnapshot& snapshot);

// The set with id `setID` among the rows, or null.
const DJSet* findSet(const ViewSnapshot& snapshot, const std::string& setID);

}  // namespace kesta::model
