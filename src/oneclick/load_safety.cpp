#include "oneclick/load_safety.h"

namespace kesta::LoadSafety {

namespace {

std::string deckText(int deck) { return "Deck " + std::to_string(deck); }

// Entry `deck` (1-based) of a per-deck list, or nullptr when the list is short.
template <class T>
const T* entry(std::span<const T> list, int deck) {
  const auto index = static_cast<std::size_t>(deck - 1);
  return index < list.size() ? &list[index] : nullptr;
}

bool holdsSong(const DeckContent& content, const Track& requested,
               const std::unordered_map<std::string, std::string>& songKeys) {
  const auto* track = content.as<DeckContent::Track>();
  if (track == nullptr) return false;
  if (track->id == requested.id) return true;
  const auto song = songKeys.find(track->id);
  return song != songKeys.end() && song->second == requested.songKey();
}

}  // namespace

LoadDecision decide(const Track& requested, const std::optional<Focus>& focus,
                    std::span<const DeckContent> decks, std::span<const DeckMotion> motion,
                    const std::set<int>& pending,
                    const std::unordered_map<std::string, std::string>& songKeys,
                    std::span<const std::optional<MixerReading>> mixer) {
  if (!focus) {
    return LoadDecision::refused("Load a track first so Kesta knows which deck you're playing from.");
  }
  const int target = focus->deck == 1 ? 2 : 1;
  if (pending.contains(target)) {
    return LoadDecision::refused(deckText(target) + " is changing. Try again in a moment.");
  }
  for (int deck = 1; deck <= 2; ++deck) {
    const DeckContent* content = entry(decks, deck);
    if (content != nullptr && holdsSong(*content, requested, songKeys)) {
      return LoadDecision::refused("That track is already on " + deckText(deck) + ".");
    }
  }

  // A short list must not be read past its end: a deck without an entry is
  // one Kesta has not read.
  const DeckContent* content = entry(decks, target);
  const bool contentUnknown = content == nullptr || content->is<DeckContent::Unknown>();
  const DeckMotion* targetMotion = entry(motion, target);
  const DeckMotion::Kind kind = targetMotion != nullptr ? targetMotion->kind : DeckMotion::Kind::unknown;

  switch (kind) {
    case DeckMotion::Kind::stopped:
      if (contentUnknown) {
        return LoadDecision::refused("Kesta can't read " + deckText(target) + " yet.");
      }
      return LoadDecision::allowed(target);
    case DeckMotion::Kind::empty:
      return LoadDecision::allowed(target);
    case DeckMotion::Kind::running: {
      const std::optional<MixerReading>* reading = entry(mixer, target);
      if (reading != nullptr && *reading && (*reading)->isSilent()) return LoadDecision::allowed(target);
      return LoadDecision::needsConfirmation(target);
    }
    case DeckMotion::Kind::unknown:
      break;
  }
  return LoadDecision::refused("Kesta can't tell whether " + deckText(target) +
                               " is stopped (its time readout isn't visible).");
}

}  // namespace kesta::LoadSafety
