#include <string_view>

#include "library/text_tools.h"
#include "platform/text/readout_text.h"
#include "platform/text/regex.h"
#include "platform/text/unicode_text.h"
#include "reading/track_matcher.h"

namespace kesta::TrackMatcher {

namespace {

const Regex& bpmHint() {
  static const Regex pattern(R"(^\d{2,3}[.,]\d{1,2}$)");
  return pattern;
}

const Regex& keyHint() {
  static const Regex pattern(R"(^((1[0-2]|[1-9])[ABab]|[A-G][#b♯♭]?m)$)");
  return pattern;
}

// Brackets and angle quotes that frame readouts ("(8A)", "‹128.00›").
bool isFrame(char32_t c) {
  static constexpr std::u32string_view kFrames = U"‹›<>«»()[]";
  return kFrames.find(c) != std::u32string_view::npos;
}

}  // namespace

bool isMetadataToken(std::string_view text) {
  const std::string token = unicode::trimmed(text, unicode::isWhitespace);
  return readout::isMetadata(token);
}

std::vector<std::string> readoutTokens(std::span<const std::string> lines) {
  std::vector<std::string> tokens(lines.begin(), lines.end());
  for (const std::string& line : lines) {
    std::u32string piece;
    const auto flush = [&] {
      if (piece.empty()) return;
      tokens.push_back(unicode::trimmed(unicode::fromScalars(piece), isFrame));
      piece.clear();
    };
    for (const char32_t c : unicode::toScalars(line)) {
      if (unicode::isWhitespaceOrNewline(c))
        flush();
      else
        piece.push_back(c);
    }
    flush();
  }
  return tokens;
}

Hints metadataHints(std::span<const std::string> lines) {
  Hints hints;
  for (const std::string& raw : readoutTokens(lines)) {
    if (hints.bpm && hints.key) break;
    const std::string token = unicode::trimmed(raw, unicode::isWhitespace);
    if (!hints.bpm && bpmHint().search(token)) hints.bpm = TextTools::number(token);
    if (!hints.key && keyHint().search(token)) hints.key = MusicalKey::parsing(token);
  }
  return hints;
}

}  // namespace kesta::TrackMatcher
