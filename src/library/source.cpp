#include "library/source.h"

#include "platform/json/json_coding.h"

namespace kesta {

namespace {

bool isAsciiLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// First letter of each word upper case, the rest lower case; words are runs of
// letters and digits, so "deezer-go" shows as "Deezer-Go".
std::string capitalized(const std::string& text) {
  std::string out = text;
  bool atWordStart = true;
  for (char& c : out) {
    if (!isAsciiLetterOrDigit(c)) {
      atWordStart = static_cast<unsigned char>(c) < 0x80;
      continue;
    }
    if (atWordStart && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!atWordStart && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    atWordStart = false;
  }
  return out;
}

}  // namespace

const std::set<std::string, std::less<>>& Source::knownStreaming() {
  static const std::set<std::string, std::less<>> slugs = {"spotify",  "soundcloud", "apple-music",
                                                           "beatport", "beatsource", "tidal"};
  return slugs;
}

std::string Source::displayName() const {
  if (slug == "local") return "Local files";
  if (slug == "spotify") return "Spotify";
  if (slug == "soundcloud") return "SoundCloud";
  if (slug == "apple-music") return "Apple Music";
  if (slug == "beatport") return "Beatport";
  if (slug == "beatsource") return "Beatsource";
  if (slug == "tidal") return "TIDAL";
  return capitalized(slug);
}

json::Value Source::toJson() const { return json::Value{{"slug", slug}}; }

Source Source::fromJson(const json::Value& value) { return Source{json::stringField(value, "slug")}; }

}  // namespace kesta
