#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "live/deck_content.h"
#include "platform/json/json_value.h"

namespace kesta {

// Why a deck became the focus.
enum class FocusKind {
  initial,     // the start-up decision, or the end of a start-up ambiguity
  load,        // a single load in one scan, or the end of an ambiguity from two loads
  userChoice,  // the DJ picked the deck
  resumed,     // the app model resumed a remembered focus
  audible,     // the mixer showed the other deck playing open
};

// "initial", "load", "userChoice", "resumed", "audible": also the JSON form.
std::string_view rawValue(FocusKind kind);
// The kind with exactly that raw value (case-sensitive); absent otherwise.
std::optional<FocusKind> focusKind(std::string_view rawValue);

// The deck the DJ is taken to mix from.
struct Focus {
  int deck = 1;  // 1 or 2
  DeckContent content;
  std::uint64_t seq = 0;  // the tracker's focus counter when this focus was set
  FocusKind kind = FocusKind::initial;
  double at = 0;  // Clock seconds when it was set
  bool deckUnloaded = false;

  // {"deck", "content", "seq", "kind", "at", "deckUnloaded"}, all required.
  json::Value toJson() const;
  static Focus fromJson(const json::Value& value);

  friend bool operator==(const Focus&, const Focus&) = default;
};

}  // namespace kesta
