#include "live/focus.h"

#include <array>
#include <string>
#include <utility>

#include "platform/json/json_coding.h"

namespace kesta {

namespace {

constexpr std::array<std::pair<FocusKind, std::string_view>, 5> kKinds{{
    {FocusKind::initial, "initial"},
    {FocusKind::load, "load"},
    {FocusKind::userChoice, "userChoice"},
    {FocusKind::resumed, "resumed"},
    {FocusKind::audible, "audible"},
}};

}  // namespace

std::string_view rawValue(FocusKind kind) {
  for (const auto& [k, raw] : kKinds)
    if (k == kind) return raw;
  return {};
}

std::optional<FocusKind> focusKind(std::string_view rawValue) {
  for (const auto& [kind, raw] : kKinds)
    if (raw == rawValue) return kind;
  return std::nullopt;
}

json::Value Focus::toJson() const {
  return {{"deck", deck}, {"content", content.toJson()}, {"seq", seq}, {"kind", rawValue(kind)},
          {"at", at},     {"deckUnloaded", deckUnloaded}};
}

Focus Focus::fromJson(const json::Value& value) {
  Focus focus;
  focus.deck = json::intField(value, "deck");
  focus.content = DeckContent::fromJson(json::require(value, "content"));
  focus.seq = json::unsignedField(value, "seq");
  const std::string raw = json::stringField(value, "kind");
  const auto kind = focusKind(raw);
  if (!kind) throw json::DecodingError("Cannot initialize FocusKind from invalid String value " + raw);
  focus.kind = *kind;
  focus.at = json::numberField(value, "at");
  focus.deckUnloaded = json::boolField(value, "deckUnloaded");
  return focus;
}

}  // namespace kesta
