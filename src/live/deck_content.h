#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/json/json_value.h"
#include "platform/variant/sum_type.h"

namespace kesta {

// What a deck is confirmed to hold.
struct DeckContent : SumType<DeckContent> {
  // Nothing confirmed yet: every deck starts here.
  struct Unknown {
    friend bool operator==(const Unknown&, const Unknown&) = default;
  };
  // The deck is confirmed empty.
  struct Empty {
    friend bool operator==(const Empty&, const Empty&) = default;
  };
  // One library track, by its collection id.
  struct Track {
    std::string id;
    friend bool operator==(const Track&, const Track&) = default;
  };
  // Several candidate track ids, in the order the reading gave them.
  struct Ambiguous {
    std::vector<std::string> ids;
    friend bool operator==(const Ambiguous&, const Ambiguous&) = default;
  };
  // Legible title text of a track that is not in the library.
  struct Unmatched {
    std::string text;
    friend bool operator==(const Unmatched&, const Unmatched&) = default;
  };

  using Case = std::variant<Unknown, Empty, Track, Ambiguous, Unmatched>;

  Case value = Unknown{};

  static DeckContent unknown() { return {{}, Unknown{}}; }
  static DeckContent empty() { return {{}, Empty{}}; }
  static DeckContent track(std::string id) { return {{}, Track{std::move(id)}}; }
  static DeckContent ambiguous(std::vector<std::string> ids) { return {{}, Ambiguous{std::move(ids)}}; }
  static DeckContent unmatched(std::string text) { return {{}, Unmatched{std::move(text)}}; }

  // The id of a track, else absent.
  std::optional<std::string> trackID() const;
  // A track, an ambiguous list (even an empty one) or unmatched text: the deck
  // is loaded.
  bool hasMedia() const;
  // "unknown", "empty", "track", "ambiguous" or "unmatched".
  std::string_view caseName() const;

  // {"unknown": {}}, {"empty": {}}, {"track": {"_0": id}},
  // {"ambiguous": {"_0": [ids]}}, {"unmatched": {"_0": text}}. Decoding ignores
  // keys that name no case and throws json::DecodingError with
  // json::kInvalidKeyCount unless exactly one case key is present.
  json::Value toJson() const;
  static DeckContent fromJson(const json::Value& value);

  // Same case and equal payload; ambiguous lists compare in order.
  friend bool operator==(const DeckContent&, const DeckContent&) = default;
};

}  // namespace kesta
