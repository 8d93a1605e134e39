#include "reading/text_recognition.h"

#include <cmath>
#include <string>

#include "platform/text/numbers.h"
#include "platform/text/regex.h"
#include "platform/text/unicode_text.h"

namespace kesta::TextRecognition {

namespace {

constexpr double kRowTolerance = 0.02;
constexpr std::size_t kInsertionSortLimit = 64;

// Each line, in the given order, moves toward the front past every earlier
// line it is read before, and stops at the first one it is not.
void insertionSort(std::vector<RecognizedLine>& lines) {
  for (std::size_t i = 1; i < lines.size(); ++i) {
    RecognizedLine moving = std::move(lines[i]);
    std::size_t j = i;
    while (j > 0 && readBefore(moving, lines[j - 1])) {
      lines[j] = std::move(lines[j - 1]);
      --j;
    }
    lines[j] = std::move(moving);
  }
}

// Natural runs (stretches in which no line is read before its predecessor),
// merged pairwise until one is left. A line of the right run goes first only
// when it is read before the left one, which keeps the sort stable.
void mergeRuns(std::vector<RecognizedLine>& lines) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (readBefore(lines[i], lines[i - 1])) starts.push_back(i);
  }
  std::vector<RecognizedLine> merged;
  merged.reserve(lines.size());
  while (starts.size() > 1) {
    std::vector<std::size_t> next;
    for (std::size_t r = 0; r < starts.size(); r += 2) {
      const std::size_t begin = starts[r];
      next.push_back(begin);
      if (r + 1 == starts.size()) continue;
      const std::size_t middle = starts[r + 1];
      const std::size_t end = r + 2 < starts.size() ? starts[r + 2] : lines.size();
      merged.clear();
      std::size_t left = begin, right = middle;
      while (left < middle && right < end) {
        merged.push_back(std::move(readBefore(lines[right], lines[left]) ? lines[right++] : lines[left++]));
      }
      while (left < middle) merged.push_back(std::move(lines[left++]));
      while (right < end) merged.push_back(std::move(lines[right++]));
      std::move(merged.begin(), merged.end(), lines.begin() + std::ptrdiff_t(begin));
    }
    starts = std::move(next);
  }
}

const Regex& wholeReadout() {
  static const Regex pattern(R"(^\d{1,3}:\d{2}([.,]\d)?$)");
  return pattern;
}

const Regex& readoutWithTenths() {
  static const Regex pattern(R"((?<![-\x{2212}\d:.,])\d{1,3}:\d{2}[.,]\d(?![\d:]))");
  return pattern;
}

// "3:21", "03:21.4" → 201; the tenths are dropped.
std::optional<int> seconds(std::string_view readout) {
  std::vector<std::string_view> pieces;
  std::size_t from = 0;
  while (from <= readout.size()) {
    const std::size_t colon = std::min(readout.find(':', from), readout.size());
    if (colon > from) pieces.push_back(readout.substr(from, colon - from));
    from = colon + 1;
  }
  if (pieces.size() != 2) return std::nullopt;
  const auto minutes = numbers::parseInteger(pieces[0]);
  if (!minutes) return std::nullopt;
  const std::u32string rest = unicode::toScalars(pieces[1]);
  const std::string firstTwo = unicode::fromScalars(std::u32string_view(rest).substr(0, 2));
  const auto secs = firstTwo.empty() ? std::nullopt : numbers::parseInteger(firstTwo);
  if (!secs || *secs > 59) return std::nullopt;
  return int(*minutes * 60 + *secs);
}

}  // namespace

bool readBefore(const RecognizedLine& a, const RecognizedLine& b) {
  const double rowGap = std::abs(a.box.midY() - b.box.midY());
  if (rowGap > kRowTolerance) return a.box.midY() < b.box.midY();
  return a.box.minX() < b.box.minX();
}

void sortInReadingOrder(std::vector<RecognizedLine>& lines) {
  if (lines.size() < kInsertionSortLimit) {
    insertionSort(lines);
  } else {
    mergeRuns(lines);
  }
}

std::vector<RecognizedLine> lines(const std::vector<TextObservation>& observations) {
  std::vector<RecognizedLine> out;
  out.reserve(observations.size());
  for (const TextObservation& o : observations) {
    const Rect& b = o.boundingBox;
    out.push_back({o.text, Rect{b.minX(), 1 - b.maxY(), b.width, b.height}, o.otherOrder});
  }
  sortInReadingOrder(out);
  return out;
}

std::vector<RecognizedLine> recognize(TextRecognizer& recognizer, const Image& image, float minimumTextHeight,
                                      RecognitionLevel level, RecognitionLanguages languages) {
  return lines(recognizer.recognize(image, {level, minimumTextHeight, languages}));
}

std::optional<int> elapsedSeconds(std::string_view line) {
  const std::string t = unicode::trimmed(line, unicode::isWhitespace);
  if (wholeReadout().search(t)) return seconds(t);
  if (const auto match = readoutWithTenths().firstMatch(t)) return seconds(*match->groups[0]);
  return std::nullopt;
}

std::optional<int> readClock(TextRecognizer& recognizer, const Image& window, const Rect& area,
                             RecognitionLanguages languages) {
  const auto crop = window.cropped(area.scaledTo(window.size()));
  if (!crop) return std::nullopt;
  for (const RecognizedLine& line :
       recognize(recognizer, *crop, 0.02f, RecognitionLevel::accurate, languages)) {
    if (const auto clock = elapsedSeconds(line.text)) return clock;
  }
  return std::nullopt;
}

}  // namespace kesta::TextRecognition
