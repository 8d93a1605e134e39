#include "model/unchanged_for_views.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace kesta::model {

namespace {

// What the screen adds to each deck's library track: its key when the
// library has none, then its whole BPM when the library has none.
std::map<int, std::string> gaps(const std::map<int, ShownMetadata>& shown, const LibraryIndex& index) {
  std::map<int, std::string> result;
  for (const auto& [deck, metadata] : shown) {
    const Track* track = index.track(metadata.trackID);
    if (!track) continue;
    std::string text;
    if (!track->musicalKey && metadata.keyText) text += *metadata.keyText;
    if (!track->hasBPM() && metadata.bpm)
      text += std::to_string(static_cast<long long>(std::trunc(*metadata.bpm)));
    result.emplace(deck, std::move(text));
  }
  return result;
}

}  // namespace

bool sameForViews(const std::optional<MixerReading>& a, const std::optional<MixerReading>& b) {
  if (!a || !b) return a.has_value() == b.has_value();
  return a->isSilent() == b->isSilent() && a->isMain() == b->isMain();
}

bool sameForViews(const std::vector<std::optional<MixerReading>>& a,
                  const std::vector<std::optional<MixerReading>>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const auto& x, const auto& y) { return sameForViews(x, y); });
}

bool sameForViews(const std::vector<DeckMotion>& a, const std::vector<DeckMotion>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const DeckMotion& x, const DeckMotion& y) { return x.category() == y.category(); });
}

bool sameFilling(const std::map<int, ShownMetadata>& a, const std::map<int, ShownMetadata>& b,
                 const LibraryIndex& index) {
  return gaps(a, index) == gaps(b, index);
}

bool sameForViews(const std::map<int, ShownMetadata>& a, const std::map<int, ShownMetadata>& b,
                  const LibraryIndex& index) {
  const auto sameDeck = [](const auto& x, const auto& y) { return x.first == y.first; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameDeck) && sameFilling(a, b, index);
}

}  // namespace kesta::model
