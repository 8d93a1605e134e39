#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/library.h"
#include "library/pool_choice.h"
#include "live/live_engine.h"
#include "platform/time/date.h"
#include "reading/library_index.h"
#include "store/legacy_migration.h"

namespace kesta::model {

// A library made ready to install: shared (the model, the index, the engine
// and the ranking all read the one copy), indexed, with its song keys (one
// map, shared the same way), pool
// menu and, when asked, the targets of old ratings worked out. Preparing takes
// a large library seconds, so it is done on the background thread that read
// the library; installing it on the main thread then only hands things over.
struct PreparedLibrary {
  std::shared_ptr<const Library> library;
  LibraryIndex index;
  // Track id → song key, for every id of the index; shared with the engine, never null.
  LiveEngine::SharedSongKeys songKeys = LoadTracker::noSongKeys();
  std::vector<PoolChoice> poolChoices;
  std::string xmlPath;             // the export the library was read from
  std::optional<Date> modifiedAt;  // that file's modification date, when known
  // For the earlier version's ratings still unresolved; none when not asked for.
  std::shared_ptr<const LegacyMigration::RatingTargets> ratingTargets;

  static PreparedLibrary prepare(Library library, std::string xmlPath, std::optional<Date> modifiedAt,
                                 bool withRatingTargets = false);
};

// What an import of the export hands back to the main thread.
struct ImportOutcome {
  std::optional<PreparedLibrary> library;  // none when the import failed
  std::string error;                       // the importer's message on failure
};

}  // namespace kesta::model
