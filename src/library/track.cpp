#include "library/track.h"

#include <cmath>

#include "library/text_tools.h"
#include "platform/json/json_coding.h"
#include "platform/text/numbers.h"
#include "platform/text/unicode_text.h"

namespace kesta {

bool Track::hasTitle() const { return !unicode::trimmed(title, unicode::isWhitespace).empty(); }

std::string Track::songKey() const {
  return TextTools::normalized(title) + "|" + TextTools::normalized(artist);
}

std::string Track::displayArtist() const { return artist.empty() ? "Unknown artist" : artist; }

std::string Track::displayBPM() const {
  if (!bpm) return "\u2014";
  return numbers::formatFixed(*bpm, *bpm == std::round(*bpm) ? 0 : 1);
}

std::string Track::displayKey() const { return keyText ? *keyText : "\u2014"; }

json::Value Track::toJson() const {
  json::Value out{
      {"id", id},
      {"key", key.toJson()},
      {"source", source.toJson()},
      {"title", title},
      {"artist", artist},
      {"remixer", remixer},
      {"genre", genre},
      {"durationSeconds", durationSeconds},
      {"playCount", playCount},
      {"stars", stars},
      {"hotCueCount", hotCueCount},
      {"memoryCueCount", memoryCueCount},
  };
  json::putOptional(out, "bpm", bpm);
  json::putOptional(out, "keyText", keyText);
  if (musicalKey) out["musicalKey"] = musicalKey->toJson();
  json::putOptional(out, "energy", energy);
  return out;
}

Track Track::fromJson(const json::Value& value) {
  std::optional<MusicalKey> musicalKey;
  if (const json::Value* stored = json::find(value, "musicalKey")) musicalKey = MusicalKey::fromJson(*stored);
  return Track{
      json::stringField(value, "id"),
      StableKey::fromJson(json::require(value, "key")),
      Source::fromJson(json::require(value, "source")),
      json::stringField(value, "title"),
      json::stringField(value, "artist"),
      json::stringField(value, "remixer"),
      json::stringField(value, "genre"),
      json::optionalNumber(value, "bpm"),
      json::optionalString(value, "keyText"),
      musicalKey,
      json::optionalInt(value, "energy"),
      json::intField(value, "durationSeconds"),
      json::intField(value, "playCount"),
      json::intField(value, "stars"),
      json::intField(value, "hotCueCount"),
      json::intField(value, "memoryCueCount"),
  };
}

}  // namespace kesta

namespace {

template <class T>
void combine(std::size_t& seed, const T& value) {
  seed ^= std::hash<T>{}(value) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

template <class T>
void combineOptional(std::size_t& seed, const std::optional<T>& value) {
  combine(seed, value.has_value());
  if (value) combine(seed, *value);
}

}  // namespace

std::size_t std::hash<kesta::Track>::operator()(const kesta::Track& track) const noexcept {
  std::size_t seed = 0;
  combine(seed, track.id);
  combine(seed, track.key);
  combine(seed, track.source);
  combine(seed, track.title);
  combine(seed, track.artist);
  combine(seed, track.remixer);
  combine(seed, track.genre);
  combineOptional(seed, track.bpm);
  combineOptional(seed, track.keyText);
  combineOptional(seed, track.musicalKey);
  combineOptional(seed, track.energy);
  combine(seed, track.durationSeconds);
  combine(seed, track.playCount);
  combine(seed, track.stars);
  combine(seed, track.hotCueCount);
  combine(seed, track.memoryCueCount);
  return seed;
}
