#include "model/prepared_library.h"

#include <utility>

namespace kesta::model {

PreparedLibrary PreparedLibrary::prepare(Library library, std::string xmlPath, std::optional<Date> modifiedAt,
                                         bool withRatingTargets) {
  auto shared = std::make_shared<const Library>(std::move(library));
  LibraryIndex index(shared);
  LiveEngine::SongKeys songKeys;
  songKeys.reserve(index.trackCount());
  for (const Track& track : shared->tracks) {
    // Entries sharing an id: the one the index answers for that id is the one keyed.
    if (index.track(track.id) == &track) songKeys.emplace(track.id, track.songKey());
  }
  auto engineSongKeys = songKeys;
  auto poolChoices = shared->poolChoices();
  auto targets =
      withRatingTargets ? std::make_shared<const LegacyMigration::RatingTargets>(*shared) : nullptr;
  return {std::move(shared),      std::move(index),   std::move(songKeys), std::move(engineSongKeys),
          std::move(poolChoices), std::move(xmlPath), modifiedAt,          std::move(targets)};
}

}  // namespace kesta::model
