#include "live/frame.h"

#include <array>
#include <charconv>
#include <string>

#include "platform/json/json_coding.h"

namespace kesta {

namespace {

std::string lowercaseHex(std::uint32_t value) {
  std::array<char, 8> digits{};
  const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value, 16);
  return std::string(digits.data(), result.ptr);
}

void redact(DeckObservation& observation) {
  if (const auto* unmatched = observation.reading.as<DeckReading::Unmatched>())
    observation.reading =
        DeckReading::unmatched("redacted-" + lowercaseHex(Frame::stableHash(unmatched->signature)));
}

}  // namespace

std::uint32_t Frame::stableHash(std::string_view text) {
  std::uint32_t hash = 0x811C9DC5u;
  for (const char byte : text) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 0x01000193u;
  }
  return hash;
}

Frame Frame::redacted() const {
  Frame copy = *this;
  redact(copy.deck1);
  redact(copy.deck2);
  return copy;
}

json::Value Frame::toJson() const {
  return {{"seq", seq}, {"time", time}, {"deck1", deck1.toJson()}, {"deck2", deck2.toJson()}};
}

Frame Frame::fromJson(const json::Value& value) {
  Frame frame;
  frame.seq = json::unsignedField(value, "seq");
  frame.time = json::numberField(value, "time");
  frame.deck1 = DeckObservation::fromJson(json::require(value, "deck1"));
  frame.deck2 = DeckObservation::fromJson(json::require(value, "deck2"));
  return frame;
}

}  // namespace kesta
