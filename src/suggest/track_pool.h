#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "library/track.h"

namespace kesta {

// The tracks a ranking draws from, in pool order, with what the ranking needs
// of each made once: its song key, a number per distinct song, its normalised
// artist and genre, and whether it may be suggested at all. Requests share a
// pool rather than copy it, so the app model builds one per library and pool
// choice and ranks against it at every change of focus. Immutable; safe to
// share across threads.
class TrackPool {
 public:
  TrackPool() = default;
  TrackPool(std::vector<Track> tracks);  // NOLINT(google-explicit-constructor): a pool is its tracks
  TrackPool(std::initializer_list<Track> tracks) : TrackPool(std::vector<Track>(tracks)) {}

  const std::vector<Track>& tracks() const;
  std::size_t size() const { return tracks().size(); }
  bool empty() const { return tracks().empty(); }
  const Track& operator[](std::size_t index) const { return tracks()[index]; }
  auto begin() const { return tracks().begin(); }
  auto end() const { return tracks().end(); }

  // Track::songKey of the track at `index`.
  const std::string& songKey(std::size_t index) const { return data_->songKeys[index]; }
  // Tracks of one song share a number, from 0 to songCount() - 1.
  std::uint32_t songNumber(std::size_t index) const { return data_->songNumbers[index]; }
  std::size_t songCount() const { return data_ ? data_->numberBySong.size() : 0; }
  // The number of a song key, when some track of the pool has it.
  std::optional<std::uint32_t> songNumber(std::string_view songKey) const;
  // The normalised artist: the part of the song key after its "|".
  std::string_view artistKey(std::size_t index) const {
    return std::string_view(data_->songKeys[index]).substr(data_->artistStarts[index]);
  }
  // TextTools::normalized of the track's genre.
  const std::string& genreKey(std::size_t index) const { return data_->genreKeys[index]; }
  // Track::isRecommendable of the track at `index`.
  bool isRecommendable(std::size_t index) const { return data_->recommendable[index]; }

 private:
  struct Data {
    std::vector<Track> tracks;
    std::vector<std::string> songKeys;
    std::vector<std::uint32_t> songNumbers;
    std::vector<std::size_t> artistStarts;
    std::vector<std::string> genreKeys;
    std::vector<bool> recommendable;
    std::unordered_map<std::string, std::uint32_t> numberBySong;
  };

  std::shared_ptr<const Data> data_;
};

}  // namespace kesta
