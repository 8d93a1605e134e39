#include "reading/deck_text_extractor.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>

#include "library/text_tools.h"
#include "platform/text/unicode_text.h"
#include "platform/time/clock.h"
#include "reading/loose_form.h"
#include "reading/text_recognition.h"
#include "reading/track_matcher.h"

namespace kesta {
namespace {

constexpr float kDeckTextHeight = 0.02f;
constexpr double kNever = -std::numeric_limits<double>::infinity();

double lookup(const std::map<int, double>& times, int deck) {
  const auto it = times.find(deck);
  return it == times.end() ? kNever : it->second;
}

std::vector<std::string> textsOf(std::span<const RecognizedLine> lines) {
  std::vector<std::string> texts;
  texts.reserve(lines.size());
  for (const auto& line : lines) texts.push_back(line.text);
  return texts;
}

// The texts, then the other order of each line read in both.
std::vector<std::string> textsInBothOrders(std::span<const RecognizedLine> lines) {
  std::vector<std::string> texts = textsOf(lines);
  for (const auto& line : lines)
    if (!line.otherOrder.empty()) texts.push_back(line.otherOrder);
  return texts;
}

bool findsTracks(const DeckReading& reading) {
  return reading.is<DeckReading::Track>() || reading.is<DeckReading::Ambiguous>();
}

// The ids a reading that finds tracks names, sorted.
std::vector<std::string> idsFound(const DeckReading& reading) {
  if (const auto* track = reading.as<DeckReading::Track>()) return {track->id};
  return reading.as<DeckReading::Ambiguous>()->ids;
}

// How strongly one order's verdict holds against the other's. A line that is
// a whole title of a track named outweighs a title cut short, misread or
// found inside a longer line (a remix's title holds its original's); among
// those the higher score counts. Two whole titles weigh the same, whether
// the matcher saw an artist or not: only the artist shown on a line read one
// way may tell them apart.
using Weight = std::pair<bool, int>;

Weight weightOf(std::span<const std::string> texts, const std::vector<std::string>& ids, int score,
                const LibraryIndex& index) {
  const bool whole = std::any_of(texts.begin(), texts.end(), [&](const std::string& text) {
    const auto& titled = index.idsForTitle(TextTools::normalized(text));
    return std::any_of(ids.begin(), ids.end(), [&](const std::string& id) {
      return std::find(titled.begin(), titled.end(), id) != titled.end();
    });
  });
  return {whole, whole ? 0 : score};
}

std::optional<int> clockOf(std::span<const RecognizedLine> lines) {
  for (const auto& line : lines)
    if (const auto seconds = TextRecognition::elapsedSeconds(line.text)) return seconds;
  return std::nullopt;
}

// The box of the line clockOf takes the time from.
std::optional<Rect> clockBoxOf(std::span<const RecognizedLine> lines) {
  for (const auto& line : lines)
    if (TextRecognition::elapsedSeconds(line.text)) return line.box;
  return std::nullopt;
}

// An extraction that recognised nothing: reading unreadable, no timings.
DeckExtraction unreadableExtraction() {
  DeckExtraction extraction;
  extraction.observation = DeckObservation::unreadable();
  return extraction;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

DeckTextExtractor::DeckTextExtractor(std::shared_ptr<TextRecognizer> recognizer)
    : DeckTextExtractor(std::move(recognizer), Config{}) {}

DeckTextExtractor::DeckTextExtractor(std::shared_ptr<TextRecognizer> recognizer, Config config)
    : config(config), recognizer_(std::move(recognizer)) {}

void DeckTextExtractor::reset() {
  anchors_.clear();
  lastOCR_.clear();
  lastAccurate_.clear();
  lastImageSize_.reset();
}

std::optional<Image> DeckTextExtractor::crop(const Image& image, int deck) const {
  return image.cropped(config.layout.rect(deck).scaledTo(image.size()));
}

DeckExtraction DeckTextExtractor::extract(const Image& image, int deck, const LibraryIndex& index,
                                          double now) {
  if (!lastImageSize_ || *lastImageSize_ != image.size()) {
    anchors_.clear();
    lastImageSize_ = image.size();
  }

  const auto deckCrop = crop(image, deck);
  if (!deckCrop) return unreadableExtraction();

  const auto anchorIt = anchors_.find(deck);
  if (anchorIt == anchors_.end() || anchorIt->second.noisy)
    return readAccurately(*deckCrop, deck, index, now, std::nullopt, std::nullopt);
  Anchor& anchor = anchorIt->second;

  auto fingerprint = Fingerprint::of(*deckCrop, anchor.region);
  if (!fingerprint) return readAccurately(*deckCrop, deck, index, now, std::nullopt, std::nullopt);

  const int changed = fingerprint->changedCells(anchor.fingerprint);
  if (!config.skipUnchangedDecks || changed >= config.minChangedCells)
    return readAccurately(*deckCrop, deck, index, now, changed >= config.minChangedCells,
                          std::move(fingerprint));

  if (now - lookup(lastOCR_, deck) < config.forcedRefresh) {
    DeckExtraction skip = unreadableExtraction();
    skip.observation.titleAreaChanged = false;
    skip.observation.rule = unchangedSkipRule;
    skip.fingerprint = std::move(fingerprint);
    return skip;
  }

  if (anchor.fastFailures < 2 && now - lookup(lastAccurate_, deck) < accurateRefresh) {
    const double t0 = Clock::now();
    auto lines = readFast(*deckCrop, anchor, index);
    const double t1 = Clock::now();
    if (confirms(textsInBothOrders(lines), anchor.expectedTitle, index)) {
      anchor.fastFailures = 0;
      lastOCR_[deck] = now;
      DeckExtraction verified = unreadableExtraction();
      verified.observation.clockSeconds = clockOf(lines);
      verified.observation.titleAreaChanged = false;
      verified.observation.rule = fastVerifiedRule;
      verified.lines = std::move(lines);
      verified.ocrRan = true;
      verified.fingerprint = std::move(fingerprint);
      verified.ocrMs = (t1 - t0) * 1000;
      return verified;
    }
    ++anchor.fastFailures;
  }
  return readAccurately(*deckCrop, deck, index, now, false, std::move(fingerprint));
}

std::vector<RecognizedLine> DeckTextExtractor::readFast(const Image& deckCrop, const Anchor& anchor,
                                                        const LibraryIndex& index) const {
  // Only the expected title has to be read: the Latin-script model, slower
  // than the English one, and the library's script models only when that
  // title needs them.
  RecognitionLanguages languages = index.recognitionLanguages();
  if (!LibraryIndex::hasLatinBeyondEnglish(anchor.expectedTitle)) languages.latinBeyondEnglish = false;
  if (!LibraryIndex::hasDetectionOnlyScript(anchor.expectedTitle)) languages.scripts = 0;
  if (!anchor.clockBox)
    return TextRecognition::recognize(*recognizer_, deckCrop, kDeckTextHeight, RecognitionLevel::fast,
                                      languages);
  // Two small parts take less than half the time of the whole area.
  auto lines = readPart(deckCrop, anchor.region, languages);
  auto clock = readPart(deckCrop, clockArea(*anchor.clockBox), RecognitionLanguages::english);
  lines.insert(lines.end(), std::make_move_iterator(clock.begin()), std::make_move_iterator(clock.end()));
  TextRecognition::sortInReadingOrder(lines);
  return lines;
}

std::vector<RecognizedLine> DeckTextExtractor::readPart(const Image& deckCrop, const Rect& area,
                                                        RecognitionLanguages languages) const {
  // The part in whole pixels, as fractions of the crop again.
  const Rect pixels = area.scaledTo(deckCrop.size());
  const auto part = deckCrop.cropped(pixels);
  if (!part || part->isEmpty()) return {};
  const Rect within{pixels.x / deckCrop.width(), pixels.y / deckCrop.height(),
                    pixels.width / deckCrop.width(), pixels.height / deckCrop.height()};
  auto lines = TextRecognition::recognize(*recognizer_, *part, float(kDeckTextHeight / within.height),
                                          RecognitionLevel::fast, languages);
  for (auto& line : lines) {
    line.box = Rect{within.x + line.box.x * within.width, within.y + line.box.y * within.height,
                    line.box.width * within.width, line.box.height * within.height};
  }
  return lines;
}

DeckExtraction DeckTextExtractor::readAccurately(const Image& deckCrop, int deck, const LibraryIndex& index,
                                                 double now, std::optional<bool> titleAreaChanged,
                                                 std::optional<Fingerprint> fingerprint) {
  const double t0 = Clock::now();
  auto lines = TextRecognition::recognize(*recognizer_, deckCrop, kDeckTextHeight, RecognitionLevel::accurate,
                                          index.recognitionLanguages());
  const double t1 = Clock::now();
  lastOCR_[deck] = now;
  lastAccurate_[deck] = now;

  const double m0 = Clock::now();
  const MatchResult result = match(lines, index);
  std::optional<Rect> region;
  if (const auto* track = result.reading.as<DeckReading::Track>()) {
    if (const Track* matched = index.track(track->id)) region = titleRegion(lines, *matched);
  } else if (result.reading.is<DeckReading::Empty>() || result.reading.is<DeckReading::NoTitle>()) {
    region = Rect{0, 0, 1, 1};
  }

  DeckExtraction extraction;
  extraction.observation =
      DeckObservation{result.reading, clockOf(lines), titleAreaChanged, result.rule, std::nullopt};
  extraction.lines = std::move(lines);
  extraction.ocrRan = true;
  extraction.titleRegion = region;
  extraction.fingerprint = std::move(fingerprint);
  extraction.matchMs = (Clock::now() - m0) * 1000;
  extraction.ocrMs = (t1 - t0) * 1000;
  return extraction;
}

void DeckTextExtractor::anchor(int deck, const Image& image, const DeckExtraction& extraction,
                               bool sameContent, const std::string& expectedTitle) {
  if (!extraction.titleRegion) return;
  const auto deckCrop = crop(image, deck);
  if (!deckCrop) return;
  auto fingerprint = Fingerprint::of(*deckCrop, *extraction.titleRegion);
  if (!fingerprint) return;

  const auto it = anchors_.find(deck);
  if (!sameContent || it == anchors_.end()) {
    anchors_[deck] =
        Anchor{*extraction.titleRegion, std::move(*fingerprint), expectedTitle, clockBoxOf(extraction.lines)};
    return;
  }
  Anchor& anchor = it->second;
  anchor.region = *extraction.titleRegion;
  anchor.clockBox = clockBoxOf(extraction.lines);
  anchor.fingerprint = std::move(*fingerprint);
  if (extraction.observation.titleAreaChanged == true) {
    ++anchor.noisyStreak;
    if (anchor.noisyStreak >= 3) anchor.noisy = true;
  } else {
    anchor.noisyStreak = 0;
  }
  anchor.expectedTitle = expectedTitle;
}

void DeckTextExtractor::forget(int deck) { anchors_.erase(deck); }

bool DeckTextExtractor::isNoisy(int deck) const {
  const auto it = anchors_.find(deck);
  return it != anchors_.end() && it->second.noisy;
}

std::optional<int> DeckTextExtractor::readClock(const Image& image, int deck,
                                                RecognitionLanguages languages) const {
  return TextRecognition::readClock(*recognizer_, image, config.layout.rect(deck), languages);
}

std::optional<Image> DeckTextExtractor::deckView(const Image& image) const {
  const auto top = crop(image, 1);
  const auto bottom = crop(image, 2);
  if (!top || !bottom) return std::nullopt;
  constexpr int kGap = 12;
  // Light green: red 0.81, green 1.0, blue 0.4.
  constexpr Rgba kFill{207, 255, 102, 255};
  Image view(std::max(top->width(), bottom->width()), top->height() + bottom->height() + kGap, kFill);
  view.draw(*top, 0, 0);
  view.draw(*bottom, 0, top->height() + kGap);
  return view;
}

bool DeckTextExtractor::confirms(std::span<const std::string> lines, const std::string& expectedTitle,
                                 const LibraryIndex& index) {
  if (expectedTitle.empty()) {
    const auto reading = TrackMatcher::match(lines, index).reading;
    return reading.is<DeckReading::Empty>() || reading.is<DeckReading::NoTitle>();
  }
  if (lines.empty()) return false;
  const std::string expected = TextTools::normalized(expectedTitle);
  for (const auto& line : lines) {
    const std::string n = TextTools::normalized(line);
    if (n != expected && !index.idsForTitle(n).empty()) return false;
  }
  const std::string b = looseForm(expectedTitle);
  const auto length = unicode::graphemeCount(b);
  for (const auto& line : lines) {
    const std::string a = looseForm(line);
    if (a == b) return true;
    if (length >= 8 && TextTools::editDistance(a, b, length >= 20 ? 2 : 1)) return true;
  }
  return false;
}

MatchResult DeckTextExtractor::match(std::span<const RecognizedLine> lines, const LibraryIndex& index) {
  const std::vector<std::string> texts = textsOf(lines);
  MatchResult result = TrackMatcher::match(texts, index);
  std::vector<std::string> other;
  std::vector<std::string> oneWay;  // the lines read in one order only
  for (const auto& line : lines) {
    other.push_back(line.otherOrder.empty() ? line.text : line.otherOrder);
    if (line.otherOrder.empty()) oneWay.push_back(line.text);
  }
  if (oneWay.size() == lines.size()) return result;
  MatchResult otherResult = TrackMatcher::match(other, index);
  if (!findsTracks(otherResult.reading)) return result;
  if (!findsTracks(result.reading)) return otherResult;
  const std::vector<std::string> first = idsFound(result.reading);
  const std::vector<std::string> second = idsFound(otherResult.reading);
  if (first == second) return result;
  const Weight firstWeight = weightOf(texts, first, result.score, index);
  const Weight secondWeight = weightOf(other, second, otherResult.score, index);
  if (firstWeight != secondWeight) return firstWeight > secondWeight ? result : otherResult;
  // Either order draws the same: only the artist shown tells the two apart,
  // on a line read one way (one read both ways may hold either title).
  const auto artistShown = [&](const std::vector<std::string>& ids) {
    return std::any_of(ids.begin(), ids.end(),
                       [&](const std::string& id) { return TrackMatcher::showsArtist(oneWay, id, index); });
  };
  const bool firstShown = artistShown(first);
  if (firstShown != artistShown(second)) return firstShown ? result : otherResult;
  std::vector<std::string> both = first;
  both.insert(both.end(), second.begin(), second.end());
  std::sort(both.begin(), both.end());
  both.erase(std::unique(both.begin(), both.end()), both.end());
  return {DeckReading::ambiguous(std::move(both)), std::string(bothOrdersRule), result.score};
}

std::optional<Rect> DeckTextExtractor::titleRegion(std::span<const RecognizedLine> lines,
                                                   const Track& track) {
  const std::string t = TextTools::normalized(track.title);
  const std::string a = TextTools::normalized(track.artist);
  std::optional<Rect> bounds;
  const auto holds = [&](const std::string& text) {
    const std::string n = TextTools::normalized(text);
    if (n.empty()) return false;
    return n == t || n == a ||
           (unicode::graphemeCount(n) >= 5 && (startsWith(t, n) || n.find(t) != std::string::npos ||
                                               (!a.empty() && n.find(a) != std::string::npos)));
  };
  for (const auto& line : lines) {
    if (!holds(line.text) && (line.otherOrder.empty() || !holds(line.otherOrder))) continue;
    if (!bounds) {
      bounds = line.box;
      continue;
    }
    const double left = std::min(bounds->minX(), line.box.minX());
    const double topEdge = std::min(bounds->minY(), line.box.minY());
    const double right = std::max(bounds->maxX(), line.box.maxX());
    const double bottomEdge = std::max(bounds->maxY(), line.box.maxY());
    bounds = Rect{left, topEdge, right - left, bottomEdge - topEdge};
  }
  if (!bounds) return std::nullopt;
  const double left = std::max(bounds->minX() - 0.01, 0.0);
  const double top = std::max(bounds->minY() - 0.01, 0.0);
  const double right = std::min(bounds->maxX() + 0.25, 1.0);
  const double bottom = std::min(bounds->maxY() + 0.01, 1.0);
  return Rect{left, top, right - left, bottom - top};
}

Rect DeckTextExtractor::clockArea(const Rect& clockBox) {
  // A line's height above and below the time and a quarter of its width to
  // the left: the fast level drops the leading digits of a tighter cut.
  // Room to the right for "9:59.9" to become "10:00.0".
  const double left = std::max(clockBox.minX() - clockBox.width / 4, 0.0);
  const double top = std::max(clockBox.minY() - clockBox.height, 0.0);
  const double right = std::min(clockBox.maxX() + clockBox.width / 3, 1.0);
  const double bottom = std::min(clockBox.maxY() + clockBox.height, 1.0);
  return Rect{left, top, std::max(right - left, 0.0), std::max(bottom - top, 0.0)};
}

}  // namespace kesta
