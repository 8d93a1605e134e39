#include "reading/deck_layout.h"

#include "platform/json/json_coding.h"

namespace kesta {
namespace {

json::Value rectJson(const Rect& r) { return json::Value::array({{r.x, r.y}, {r.width, r.height}}); }

Rect rectFromJson(const json::Value& value) {
  const auto& parts = json::asArray(value);
  if (parts.size() != 2) throw json::DecodingError("A rectangle needs an origin and a size.");
  const auto& origin = json::asArray(parts[0]);
  const auto& size = json::asArray(parts[1]);
  if (origin.size() != 2 || size.size() != 2)
    throw json::DecodingError("A rectangle needs two pairs of numbers.");
  return {json::asNumber(origin[0]), json::asNumber(origin[1]), json::asNumber(size[0]),
          json::asNumber(size[1])};
}

}  // namespace

json::Value DeckLayout::toJson() const { return {{"deck1", rectJson(deck1)}, {"deck2", rectJson(deck2)}}; }

DeckLayout DeckLayout::fromJson(const json::Value& value) {
  return {rectFromJson(json::require(value, "deck1")), rectFromJson(json::require(value, "deck2"))};
}

}  // namespace kesta
