#include "model/deck_text.h"

namespace kesta::model {

namespace {

constexpr const char* kBlank = " ";

// The title and meta line of what the deck holds.
std::pair<std::string, std::string> describe(const DeckView& deck, bool watching) {
  const DeckContent& content = deck.content;
  if (content.is<DeckContent::Track>()) {
    if (!deck.track) return {"—", kBlank};
    const Track& track = *deck.track;
    return {track.title, track.displayArtist() + " · " + track.displayBPM() + " BPM · " + track.displayKey()};
  }
  if (const auto* ambiguous = content.as<DeckContent::Ambiguous>()) {
    return {std::to_string(ambiguous->ids.size()) + " possible versions", kBlank};
  }
  if (content.is<DeckContent::Unmatched>()) return {"Not in your library", kBlank};
  if (content.is<DeckContent::Empty>()) return {"Empty", kBlank};
  return {watching ? "Reading…" : "—", kBlank};
}

}  // namespace

DeckText deckText(const ViewSnapshot& snapshot, int deck) {
  const DeckView& view = snapshot.deck(deck);
  auto [title, meta] = describe(view, snapshot.watching);
  return {.title = std::move(title),
          .meta = std::move(meta),
          .followed = snapshot.focus && snapshot.focus->deck == deck,
          .checking = view.checking,
          .tappable = snapshot.watching && view.content.hasMedia()};
}

}  // namespace kesta::model
