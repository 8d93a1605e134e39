#include "model/set_rows.h"

namespace kesta::model {

std::vector<SetRow> setRows(const ViewSnapshot& s) {
  std::vector<SetRow> rows{{&s.activeSet, true}};
  for (const DJSet& set : s.archivedSets) rows.push_back({&set, set.id == s.activeSet.id});
  return rows;
}

const DJSet* findSet(const ViewSnapshot& s, const std::string& setID) {
  for (const SetRow& row : setRows(s)) {
    if (row.set->id == setID) return row.set;
  }
  return nullptr;
}

}  // namespace kesta::model
