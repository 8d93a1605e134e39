#include "model/prepared_pool.h"

namespace kesta::model {

const TrackPool& PreparedPool::pool(const Library& library, const LibraryIndex& index,
                                    const std::string& poolID) {
  const bool sameLibrary = index_ && &index_->tracks() == &index.tracks();
  if (!sameLibrary || poolID_ != poolID) {
    pool_ = TrackPool(library.pool(poolID));
    index_ = index;
    poolID_ = poolID;
  }
  return pool_;
}

}  // namespace kesta::model
