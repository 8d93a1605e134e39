#include "model/deck_text.h"

#include "platform/text/unicode_text.h"

namespace kesta::model {

namespace {

constexpr const char* kBlank = " ";

struct Described {
  std::string title;
  std::string meta = kBlank;
  std::string metaKept;
};

// The title and meta line of what the deck holds.
Described describe(const DeckView& deck, bool watching) {
  const DeckContent& content = deck.content;
  if (content.is<DeckContent::Track>()) {
    if (!deck.track) return {"—", kBlank, ""};
    const Track& track = *deck.track;
    std::string kept = " · " + track.displayBPM() + " BPM · " + track.displayKey();
    return {track.title, unicode::isolated(track.displayArtist()) + kept, kept};
  }
  if (const auto* ambiguous = content.as<DeckContent::Ambiguous>()) {
    return {std::to_string(ambiguous->ids.size()) + " possible versions", kBlank, ""};
  }
  if (content.is<DeckContent::Unmatched>()) return {"Not in your library", kBlank, ""};
  if (content.is<DeckContent::Empty>()) return {"Empty", kBlank, ""};
  return {watching ? "Reading…" : "—", kBlank, ""};
}

}  // namespace

DeckText deckText(const ViewSnapshot& snapshot, int deck) {
  const DeckView& view = snapshot.deck(deck);
  Described described = describe(view, snapshot.watching);
  return {.title = std::move(described.title),
          .meta = std::move(described.meta),
          .metaKept = std::move(described.metaKept),
          .followed = snapshot.focus && snapshot.focus->deck == deck,
          .checking = view.checking,
          .tappable = snapshot.watching && view.content.hasMedia()};
}

}  // namespace kesta::model
