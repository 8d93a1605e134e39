#include "model/pool_label.h"

#include <set>
#include <string_view>
#include <unordered_set>

#include "platform/text/unicode_text.h"

namespace kesta::model {

namespace {

constexpr std::string_view kMiddleDot = " \u00B7 ";

std::size_t suggestibleIDs(const std::vector<Track>& tracks) {
  std::unordered_set<std::string_view> ids;
  for (const Track& track : tracks) {
    if (track.isRecommendable()) ids.insert(track.id);
  }
  return ids.size();
}

}  // namespace

std::string poolLabel(const Library& library, const std::string& poolID,
                      const std::vector<PoolChoice>& choices) {
  const std::vector<std::string> ids = Library::playlistIDs(poolID);
  const std::size_t playlists = std::set<std::string>(ids.begin(), ids.end()).size();
  if (playlists >= 2) {
    return std::to_string(playlists) + " playlists" + std::string(kMiddleDot) +
           std::to_string(suggestibleIDs(library.pool(poolID)));
  }
  for (const PoolChoice& choice : choices) {
    if (choice.id != poolID) continue;
    // A playlist is the DJ's own name; the other pools are named by Kesta.
    const bool playlist = choice.id.starts_with("playlist:");
    return (playlist ? unicode::isolated(choice.name) : choice.name) + std::string(kMiddleDot) +
           std::to_string(choice.count);
  }
  return "Full collection";
}

}  // namespace kesta::model
