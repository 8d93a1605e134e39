#include "model/load_landing.h"

#include <algorithm>

namespace kesta::model {

LoadLanding judgeLanding(const DeckContent& current, const Track& requested, const DeckContent& before,
                         const LibraryIndex& index) {
  if (const auto* shown = current.as<DeckContent::Track>()) {
    if (shown->id == requested.id) return LoadLanding::landed;
    const Track* entry = index.track(shown->id);
    if (entry != nullptr && entry->songKey() == requested.songKey()) return LoadLanding::landed;
    return current == before ? LoadLanding::notYet : LoadLanding::wrongTrack;
  }
  if (const auto* candidates = current.as<DeckContent::Ambiguous>()) {
    if (std::ranges::find(candidates->ids, requested.id) != candidates->ids.end()) {
      return LoadLanding::landedAmbiguous;
    }
  }
  return LoadLanding::notYet;
}

}  // namespace kesta::model
