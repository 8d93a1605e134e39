#pragma once

#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "library/track.h"
#include "platform/image/geometry.h"
#include "platform/image/image.h"
#include "platform/ocr/text_recognizer.h"
#include "reading/deck_extraction.h"
#include "reading/deck_layout.h"
#include "reading/fingerprint.h"
#include "reading/library_index.h"
#include "reading/recognized_line.h"
#include "reading/track_matcher.h"

namespace kesta {

// Turns one captured rekordbox window into one observation per deck. Most of
// it is bookkeeping that keeps accurate recognition off the common path: a
// fingerprint of the title area found at the last reading (the anchor), a skip
// while that area is unchanged, a cheap fast-level confirmation of the expected
// title, and an accurate reading at fixed intervals.
//
// A plain class for one owner (the live engine's serialised context); not safe
// for concurrent use.
class DeckTextExtractor {
 public:
  struct Config {
    DeckLayout layout;
    // How long an unchanged deck may go without recognition, seconds.
    double forcedRefresh = 1.0;
    // Whether an unchanged title area may skip recognition at all.
    bool skipUnchangedDecks = true;
    // Changed fingerprint cells at which the title area counts as changed.
    int minChangedCells = 3;
  };

  // The rules of the two shortcuts past the matcher, as DeckObservation::rule
  // holds them: an unchanged title area skipped, and the expected title
  // confirmed by a fast reading.
  static constexpr std::string_view unchangedSkipRule = "unchanged-skip";
  static constexpr std::string_view fastVerifiedRule = "fast-verified";
  // The rule of a line read in both orders whose two readings name other
  // tracks, and the artist shown fits both or neither.
  static constexpr std::string_view bothOrdersRule = "both-orders";

  explicit DeckTextExtractor(std::shared_ptr<TextRecognizer> recognizer);
  DeckTextExtractor(std::shared_ptr<TextRecognizer> recognizer, Config config);

  Config config;
  // The longest an anchored deck goes without an accurate reading while fast
  // confirmations succeed, seconds.
  double accurateRefresh = 5.0;

  // Forgets every deck and the image size; the configuration stays.
  void reset();

  // The deck's title area of the window image; absent when none of it lies inside.
  std::optional<Image> crop(const Image& image, int deck) const;

  // Reads one deck. `now` is the caller's Clock::now(). Never fails.
  DeckExtraction extract(const Image& image, int deck, const LibraryIndex& index, double now);

  // Sets or moves the deck's anchor after the engine judged the reading:
  // `sameContent` when the deck still holds what it held at the last update,
  // `expectedTitle` the title it should now show (empty for none).
  void anchor(int deck, const Image& image, const DeckExtraction& extraction, bool sameContent,
              const std::string& expectedTitle);
  void forget(int deck);
  bool isNoisy(int deck) const;

  // The deck's elapsed time from its area, read accurately on its own.
  std::optional<int> readClock(const Image& image, int deck, RecognitionLanguages languages) const;

  // Both deck areas one above the other, 12 pixels of green between them.
  std::optional<Image> deckView(const Image& image) const;

  // Whether recognised lines still show the expected title.
  static bool confirms(std::span<const std::string> lines, const std::string& expectedTitle,
                       const LibraryIndex& index);

  // The matcher's verdict on recognised lines. Lines read in both paragraph
  // directions are also taken in their other order, since the screen draws
  // either order the same: a verdict that finds tracks counts over one that
  // finds none; when both find other tracks, a whole title read as a line
  // counts over a title cut short, misread or found inside a longer line,
  // and among those the higher score; between two whole titles, or equal
  // scores, the one whose artist a line read one way shows, and with the
  // artist of both shown, or of neither, the reading is ambiguous over all
  // of them.
  static MatchResult match(std::span<const RecognizedLine> lines, const LibraryIndex& index);

  // The part of the deck crop holding the track's title and artist lines,
  // read in either order.
  static std::optional<Rect> titleRegion(std::span<const RecognizedLine> lines, const Track& track);

  // Where a fast confirmation reads the elapsed time, in English: its line at
  // the last accurate reading, with room for the time to grow a digit. The
  // title is read in the anchor's title region; without a clock line at the
  // last accurate reading the whole deck crop is read instead.
  static Rect clockArea(const Rect& clockBox);

 private:
  struct Anchor {
    Rect region;
    Fingerprint fingerprint;
    std::string expectedTitle;
    std::optional<Rect> clockBox;  // the elapsed time's line at the last accurate reading
    int fastFailures = 0;
    int noisyStreak = 0;
    bool noisy = false;
  };

  // Reads what a fast confirmation needs (see clockArea) at the fast level;
  // the lines' boxes are fractions of the whole crop.
  std::vector<RecognizedLine> readFast(const Image& deckCrop, const Anchor& anchor,
                                       const LibraryIndex& index) const;
  // One part of the deck crop at the fast level, boxes as fractions of the crop.
  std::vector<RecognizedLine> readPart(const Image& deckCrop, const Rect& area,
                                       RecognitionLanguages languages) const;
  DeckExtraction readAccurately(const Image& crop, int deck, const LibraryIndex& index, double now,
                                std::optional<bool> titleAreaChanged, std::optional<Fingerprint> fingerprint);

  std::shared_ptr<TextRecognizer> recognizer_;
  std::map<int, Anchor> anchors_;
  std::map<int, double> lastOCR_;
  std::optional<Size> lastImageSize_;
  std::map<int, double> lastAccurate_;
};

}  // namespace kesta
