#pragma once

#include <vector>

#include "live/deck_content.h"
#include "platform/json/json_value.h"
#include "platform/time/date.h"

namespace kesta {

// Where following stood when it last stopped, so that it can pick up again.
struct ResumePoint {
  std::vector<DeckContent> decks;  // deck 1 and deck 2 in order; the count is not checked
  int deck = 1;                    // the deck that had the focus
  Date at;

  // {"at", "deck", "decks"}, all required.
  json::Value toJson() const;
  static ResumePoint fromJson(const json::Value& value);

  friend bool operator==(const ResumePoint&, const ResumePoint&) = default;
};

}  // namespace kesta
