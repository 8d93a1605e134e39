#pragma once

#include <optional>
#include <string>

#include "reading/library_index.h"
#include "suggest/track_pool.h"

namespace kesta::model {

// The ranking pool of the installed library and the chosen pool id, prepared
// once and then shared by every ranking until either changes. Preparing a
// large collection takes tens of milliseconds, so a ranking that finds no
// prepared pool prepares it on its background thread and hands it back to be
// kept here.
//
// The installed library is recognised by its lookup index, which the app
// model rebuilds on every install; the kept copy of the index holds the
// library it points at, so a later library cannot reuse its address. Main
// thread only, except `prepare`, which may run anywhere.
class PreparedPool {
 public:
  // A pool id of the library an index was built over.
  struct Source {
    LibraryIndex index;
    std::string poolID;
  };

  // The kept pool, when it was prepared for this library and pool id.
  std::optional<TrackPool> find(const Source& wanted) const;
  // Keeps a pool prepared for `preparedFor` while that is still the library
  // and pool id wanted now.
  void keep(const Source& wanted, Source preparedFor, TrackPool pool);

  // The tracks of the pool id in the index's library, prepared.
  static TrackPool prepare(const Source& source);

 private:
  std::optional<Source> source_;
  TrackPool pool_;
};

}  // namespace kesta::model
