#include "suggest/track_fixtures.h"

#include <stdexcept>

namespace kesta::test {

Track makeTrack(const TrackSpec& spec) {
  std::optional<MusicalKey> musicalKey;
  if (spec.camelot) {
    musicalKey = MusicalKey::parsing(*spec.camelot);
    if (!musicalKey) throw std::invalid_argument("not a key: " + *spec.camelot);
  }
  return Track{spec.id,
               StableKey{spec.key.empty() ? "k:" + spec.id : spec.key},
               Source::local(),
               spec.title.empty() ? "Title " + spec.id : spec.title,
               spec.artist.empty() ? "Artist " + spec.id : spec.artist,
               "",
               spec.genre,
               spec.bpm,
               spec.camelot,
               musicalKey,
               spec.energy,
               300,
               spec.playCount,
               spec.stars,
               0,
               0};
}

std::vector<Track> tracks(const std::vector<TrackSpec>& specs) {
  std::vector<Track> out;
  for (const auto& spec : specs) out.push_back(makeTrack(spec));
  return out;
}

std::vector<std::string> optionIds(const LaneResult& result) {
  std::vector<std::string> ids;
  for (const auto& option : result.options) ids.push_back(option.track.id);
  return ids;
}

}  // namespace kesta::test
