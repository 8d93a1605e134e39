#include "suggest/track_pool.h"

#include "library/text_tools.h"

namespace kesta {

TrackPool::TrackPool(std::vector<Track> tracks) {
  auto data = std::make_shared<Data>();
  data->songKeys.reserve(tracks.size());
  data->songNumbers.reserve(tracks.size());
  data->artistStarts.reserve(tracks.size());
  data->genreKeys.reserve(tracks.size());
  data->recommendable.reserve(tracks.size());
  auto& numbers = data->numberBySong;
  std::unordered_map<std::string, std::string> genreKeys;  // a collection has few genres
  for (const Track& track : tracks) {
    std::string songKey = track.songKey();
    const auto number =
        numbers.try_emplace(songKey, static_cast<std::uint32_t>(numbers.size())).first->second;
    // A normalised title holds letters and digits only, so the first "|" ends it.
    data->artistStarts.push_back(songKey.find('|') + 1);
    data->songKeys.push_back(std::move(songKey));
    data->songNumbers.push_back(number);
    data->recommendable.push_back(track.isRecommendable());
    auto genre = genreKeys.find(track.genre);
    if (genre == genreKeys.end())
      genre = genreKeys.emplace(track.genre, TextTools::normalized(track.genre)).first;
    data->genreKeys.push_back(genre->second);
  }
  data->tracks = std::move(tracks);
  data_ = std::move(data);
}

const std::vector<Track>& TrackPool::tracks() const {
  static const std::vector<Track> kNone;
  return data_ ? data_->tracks : kNone;
}

std::optional<std::uint32_t> TrackPool::songNumber(std::string_view songKey) const {
  if (!data_) return std::nullopt;
  const auto found = data_->numberBySong.find(std::string(songKey));
  if (found == data_->numberBySong.end()) return std::nullopt;
  return found->second;
}

}  // namespace kesta
