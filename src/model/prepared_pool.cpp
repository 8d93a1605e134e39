#include "model/prepared_pool.h"

#include <utility>

namespace kesta::model {

namespace {

bool same(const PreparedPool::Source& a, const PreparedPool::Source& b) {
  return &a.index.tracks() == &b.index.tracks() && a.poolID == b.poolID;
}

}  // namespace

std::optional<TrackPool> PreparedPool::find(const Source& wanted) const {
  if (!source_ || !same(*source_, wanted)) return std::nullopt;
  return pool_;
}

void PreparedPool::keep(const Source& wanted, Source preparedFor, TrackPool pool) {
  if (!same(wanted, preparedFor)) return;
  source_ = std::move(preparedFor);
  pool_ = std::move(pool);
}

TrackPool PreparedPool::prepare(const Source& source) {
  return TrackPool(source.index.library().pool(source.poolID));
}

}  // namespace kesta::model
