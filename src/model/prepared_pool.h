#pragma once

#include <optional>
#include <string>

#include "library/library.h"
#include "reading/library_index.h"
#include "suggest/track_pool.h"

namespace kesta::model {

// The ranking pool of the installed library and the chosen pool id, prepared
// once and then shared by every ranking until either changes: preparing a
// large collection costs far more than the set unions of a request.
//
// The installed library is recognised by its lookup index, which the app
// model rebuilds on every install: a copy of the index is kept, so the
// tables it points at cannot be freed and reused by a later library. That
// copy keeps the previous library alive until the next ranking after an
// install. Main thread only; the answered pool itself may go to any thread.
class PreparedPool {
 public:
  // The tracks of `library.pool(poolID)`, prepared; `index` must be the
  // index built over `library`.
  const TrackPool& pool(const Library& library, const LibraryIndex& index, const std::string& poolID);

 private:
  std::optional<LibraryIndex> index_;
  std::string poolID_;
  TrackPool pool_;
};

}  // namespace kesta::model
