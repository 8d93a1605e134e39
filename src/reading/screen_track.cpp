#include "reading/screen_track.h"

#include <algorithm>
#include <vector>

#include "library/musical_key.h"
#include "library/text_tools.h"
#include "platform/text/regex.h"
#include "platform/text/unicode_text.h"
#include "reading/track_matcher.h"

namespace kesta {

namespace {

constexpr double kLowestBPM = 50.0;
constexpr double kHighestBPM = 220.0;
constexpr std::string_view kScreenPrefix = "screen:";

// A deck clock at the start of a line ("3:07", "-1:45 remain").
const Regex& leadingClock() {
  static const Regex pattern(R"(^-?\d{1,3}:\d{2})");
  return pattern;
}

const Regex& keyReadout() {
  static const Regex pattern(R"(^((1[0-2]|[1-9])[ABab]|[A-G][#b♯♭]?m)$)");
  return pattern;
}

bool isTitleOrArtist(const std::string& line) {
  const std::string norm = TextTools::normalized(line);
  if (unicode::graphemeCount(norm) < 2) return false;
  const std::u32string scalars = unicode::toScalars(norm);
  if (std::none_of(scalars.begin(), scalars.end(), unicode::isLetter)) return false;
  return !TrackMatcher::interfaceWords().contains(norm) && !TrackMatcher::isMetadataToken(line) &&
         !leadingClock().search(line);
}

}  // namespace

std::optional<ScreenTrack> ScreenTrack::from(std::span<const std::string> lines) {
  std::vector<std::string> trimmed;
  for (const auto& line : lines) {
    std::string text = unicode::trimmed(line, unicode::isWhitespaceOrNewline);
    if (!text.empty()) trimmed.push_back(std::move(text));
  }
  const auto bpm = TrackMatcher::metadataHints(trimmed).bpm;
  if (!bpm || *bpm < kLowestBPM || *bpm > kHighestBPM) return std::nullopt;

  std::vector<const std::string*> shown;
  for (const auto& line : trimmed) {
    if (shown.size() == 2) break;
    if (isTitleOrArtist(line)) shown.push_back(&line);
  }
  if (shown.empty()) return std::nullopt;
  return ScreenTrack{*shown[0], shown.size() > 1 ? *shown[1] : std::string(), *bpm, keyTextIn(trimmed)};
}

std::optional<std::string> ScreenTrack::keyTextIn(std::span<const std::string> lines) {
  for (const auto& token : TrackMatcher::readoutTokens(lines)) {
    std::string text = unicode::trimmed(token, unicode::isWhitespace);
    if (keyReadout().search(text) && MusicalKey::parsing(text)) return text;
  }
  return std::nullopt;
}

Track ScreenTrack::asTrack(const std::string& signature) const {
  const std::string id = std::string(kScreenPrefix) + signature;
  return Track{
      .id = id,
      .key = StableKey{id},
      .source = Source{"screen"},
      .title = title,
      .artist = artist,
      .remixer = "",
      .genre = "",
      .bpm = bpm,
      .keyText = keyText,
      .musicalKey = keyText ? MusicalKey::parsing(*keyText) : std::nullopt,
      .energy = std::nullopt,
  };
}

bool ScreenTrack::isScreenTrack(const Track& track) { return track.id.starts_with(kScreenPrefix); }

}  // namespace kesta
