#include "reading/deck_text_extractor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "library/text_tools.h"
#include "platform/json/json_coding.h"
#include "platform/text/unicode_text.h"
#include "reading/library_index.h"
#include "reading/reading_fixtures.h"
#include "support/fakes/fake_text_recognizer.h"

namespace kesta {

void PrintTo(const DeckReading& reading, std::ostream* out) { *out << json::write(reading.toJson()); }

namespace {

using test::libraryOf;
using test::libraryTrack;

// A recogniser answer in crop fractions, given top-left like RecognizedLine;
// the fake speaks the recogniser's bottom-left convention.
TextObservation line(std::string text, Rect topLeft) {
  return {std::move(text), Rect{topLeft.x, 1.0 - topLeft.maxY(), topLeft.width, topLeft.height}, {}};
}

class DeckTextExtractorTest : public ::testing::Test {
 protected:
  DeckTextExtractorTest()
      : index(libraryOf({libraryTrack("1", "Midnight Signal", "Echo Unit"),
                         libraryTrack("2", "Other Song", "Someone")})) {
    recognizer->answer([this](const Image&, const RecognitionRequest& request) {
      return request.level == RecognitionLevel::fast ? fastLines : accurateLines;
    });
  }

  DeckExtraction extract(double now, int deck = 1) { return extractor.extract(window, deck, index, now); }

  // Extracts and anchors as the engine does after accepting a reading.
  DeckExtraction readAndAnchor(double now, bool sameContent,
                               const std::string& expected = "Midnight Signal") {
    auto extraction = extract(now);
    extractor.anchor(1, window, extraction, sameContent, expected);
    return extraction;
  }

  std::size_t callsAt(RecognitionLevel level) const {
    std::size_t count = 0;
    for (const auto& call : recognizer->calls()) count += call.request.level == level;
    return count;
  }

  // Paints over deck 1's title line so its fingerprint changes.
  void changeTitleArea(Rgba colour = {0, 0, 0, 255}) {
    const Rect deck = extractor.config.layout.deck1.scaledTo(window.size());
    window.fill(
        Rect{deck.x + deck.width * 0.1, deck.y + deck.height * 0.2, deck.width * 0.4, deck.height * 0.1},
        colour);
  }

  std::shared_ptr<FakeTextRecognizer> recognizer = std::make_shared<FakeTextRecognizer>();
  DeckTextExtractor extractor{recognizer};
  LibraryIndex index;
  Image window{1000, 500, Rgba{40, 40, 40, 255}};
  std::vector<TextObservation> accurateLines = {line("Midnight Signal", {0.1, 0.2, 0.4, 0.1}),
                                                line("Echo Unit", {0.1, 0.35, 0.3, 0.1}),
                                                line("01:02.5", {0.7, 0.8, 0.2, 0.1})};
  std::vector<TextObservation> fastLines = {line("Midnight Signa1", {0.1, 0.2, 0.4, 0.1}),
                                            line("01:07.0", {0.7, 0.8, 0.2, 0.1})};
};

TEST_F(DeckTextExtractorTest, FirstReadingIsAccurateWithNothingToCompare) {
  const auto first = extract(10.0);
  ASSERT_EQ(recognizer->calls().size(), 1u);
  EXPECT_EQ(recognizer->calls()[0].request,
            (RecognitionRequest{RecognitionLevel::accurate, 0.02f, RecognitionLanguages::english}));
  EXPECT_TRUE(first.ocrRan);
  ASSERT_TRUE(first.observation.reading.is<DeckReading::Track>());
  EXPECT_EQ(first.observation.reading.as<DeckReading::Track>()->id, "1");
  EXPECT_EQ(first.observation.titleAreaChanged, std::nullopt);
  EXPECT_EQ(first.observation.clockSeconds, 62);
  EXPECT_FALSE(first.fingerprint);
  ASSERT_TRUE(first.titleRegion);
  // Title and artist lines, widened by 0.01 and a quarter of the deck to the right.
  EXPECT_NEAR(first.titleRegion->x, 0.09, 1e-9);
  EXPECT_NEAR(first.titleRegion->y, 0.19, 1e-9);
  EXPECT_NEAR(first.titleRegion->maxX(), 0.75, 1e-9);
  EXPECT_NEAR(first.titleRegion->maxY(), 0.46, 1e-9);
  EXPECT_EQ(first.lines.size(), 3u);
}

TEST_F(DeckTextExtractorTest, UnchangedDeckSkipsThenConfirmsFastThenReadsAccuratelyAgain) {
  readAndAnchor(10.0, false);

  const auto skipped = extract(10.4);
  EXPECT_EQ(skipped.observation.rule, "unchanged-skip");
  EXPECT_TRUE(skipped.observation.reading.is<DeckReading::Unreadable>());
  EXPECT_EQ(skipped.observation.titleAreaChanged, false);
  EXPECT_FALSE(skipped.ocrRan);
  EXPECT_TRUE(skipped.lines.empty());
  EXPECT_TRUE(skipped.fingerprint);
  EXPECT_EQ(skipped.ocrMs, 0);
  EXPECT_EQ(recognizer->calls().size(), 1u);

  const auto verified = extract(11.0);
  EXPECT_EQ(verified.observation.rule, "fast-verified");
  EXPECT_EQ(verified.observation.clockSeconds, 67);
  EXPECT_EQ(verified.observation.titleAreaChanged, false);
  EXPECT_TRUE(verified.ocrRan);
  EXPECT_FALSE(verified.titleRegion);
  EXPECT_EQ(callsAt(RecognitionLevel::fast), 2u);  // the title region and the clock line

  // Counted as a reading: skips again within a second of it.
  EXPECT_EQ(extract(11.9).observation.rule, "unchanged-skip");
  EXPECT_EQ(extract(12.0).observation.rule, "fast-verified");
  EXPECT_EQ(extract(14.9).observation.rule, "fast-verified");
  EXPECT_EQ(extract(15.0).observation.rule, "unchanged-skip");
  // Due again, and five seconds after the last accurate reading: accurate
  // although nothing changed.
  const auto refreshed = extract(15.9);
  EXPECT_EQ(callsAt(RecognitionLevel::accurate), 2u);
  EXPECT_EQ(refreshed.observation.titleAreaChanged, false);
  EXPECT_TRUE(refreshed.observation.reading.is<DeckReading::Track>());
  EXPECT_TRUE(refreshed.fingerprint);
}

TEST_F(DeckTextExtractorTest, FastConfirmationReadsOnlyTheTitleRegionAndTheClockLine) {
  readAndAnchor(10.0, false);
  const auto verified = extract(11.0);
  ASSERT_EQ(verified.observation.rule, "fast-verified");
  const auto calls = recognizer->calls();
  ASSERT_EQ(calls.size(), 3u);
  // Title region 0.09...0.75 × 0.19...0.46; clock line 0.7...0.9 × 0.8...0.9
  // with a quarter of its width to the left, a third to the right and its
  // height above and below.
  const double width = calls[0].width, height = calls[0].height;
  const struct { double width, height; } parts[] = {{0.66, 0.27}, {0.2 * (1 + 0.25 + 1.0 / 3), 0.3}};
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_NEAR(calls[i + 1].width, parts[i].width * width, 2.0) << i;
    EXPECT_NEAR(calls[i + 1].height, parts[i].height * height, 2.0) << i;
    EXPECT_NEAR(calls[i + 1].request.minimumTextHeight, 0.02 * height / calls[i + 1].height, 1e-6) << i;
  }
  // The title part's lines come back in fractions of the whole area.
  ASSERT_FALSE(verified.lines.empty());
  EXPECT_NEAR(verified.lines[0].box.x, 0.09 + 0.1 * 0.66, 0.01);
  EXPECT_NEAR(verified.lines[0].box.y, 0.19 + 0.2 * 0.27, 0.01);
  EXPECT_NEAR(verified.lines[0].box.width, 0.4 * 0.66, 0.01);

  // Without a clock at the accurate reading, the whole area is read.
  accurateLines.pop_back();
  readAndAnchor(15.9, true);
  ASSERT_EQ(extract(17.0).observation.rule, "fast-verified");
  const auto later = recognizer->calls();
  EXPECT_EQ(later.back().width, calls[0].width);
  EXPECT_EQ(later.back().height, calls[0].height);
}

TEST_F(DeckTextExtractorTest, AFastConfirmationReadsTheTitleOnlyWithTheModelsItNeeds) {
  index = LibraryIndex(libraryOf({libraryTrack("1", "Midnight Signal", "Echo Unit"),
                                  libraryTrack("2", "Ma\u00F1ana Ser\u00E1", "Ni\u00F1o"),
                                  libraryTrack("3", "\u0646\u0648\u0631 \u0627\u0644\u0642\u0645\u0631", ""),
                                  libraryTrack("4", "\uC11C\uC6B8\uC758 \uBC24", "")}));
  using L = RecognitionLanguages;
  const L library = L::latin.with(Script::arabic).with(Script::korean);
  const struct {
    std::string title;
    std::vector<L> fastCalls;  // the title in its models, the clock in English
  } cases[] = {{"Midnight Signal", {L::english, L::english}},
               {"Ma\u00F1ana Ser\u00E1", {L::latin, L::english}},
               {"\u0646\u0648\u0631 \u0627\u0644\u0642\u0645\u0631",
                {L::english.with(Script::arabic).with(Script::korean), L::english}}};
  for (const auto& c : cases) {
    accurateLines = {line(c.title, {0.1, 0.2, 0.4, 0.1}), line("01:02.5", {0.7, 0.8, 0.2, 0.1})};
    fastLines = accurateLines;
    extractor.reset();
    readAndAnchor(10.0, false, c.title);
    const std::size_t before = recognizer->calls().size();
    const auto verified = extract(11.0);
    ASSERT_EQ(verified.observation.rule, "fast-verified") << c.title;
    EXPECT_EQ(verified.observation.clockSeconds, 62) << c.title;
    const auto calls = recognizer->calls();
    EXPECT_EQ(calls[before - 1].request.languages, library) << c.title;
    std::vector<L> fast;
    for (std::size_t i = before; i < calls.size(); ++i) fast.push_back(calls[i].request.languages);
    EXPECT_EQ(fast, c.fastCalls) << c.title;
  }
}

TEST_F(DeckTextExtractorTest, TwoFailedFastConfirmationsStopFastConfirmation) {
  readAndAnchor(10.0, true);
  fastLines = {line("Other Song", {0.1, 0.2, 0.4, 0.1})};

  for (const double now : {11.0, 12.0}) {
    const auto failed = extract(now);
    EXPECT_TRUE(failed.observation.reading.is<DeckReading::Track>());  // the accurate lines
    EXPECT_EQ(failed.observation.titleAreaChanged, false);
    EXPECT_EQ(failed.lines.size(), 3u);
  }
  EXPECT_EQ(callsAt(RecognitionLevel::fast), 4u);
  EXPECT_EQ(callsAt(RecognitionLevel::accurate), 3u);

  extract(13.0);
  EXPECT_EQ(callsAt(RecognitionLevel::fast), 4u);
  EXPECT_EQ(callsAt(RecognitionLevel::accurate), 4u);

  // A fresh anchor starts counting again.
  readAndAnchor(14.0, false);
  extract(15.0);
  EXPECT_EQ(callsAt(RecognitionLevel::fast), 6u);
}

TEST_F(DeckTextExtractorTest, ChangedTitleAreaIsReadAccurately) {
  readAndAnchor(10.0, false);
  changeTitleArea();
  const auto changed = extract(10.2);
  EXPECT_EQ(changed.observation.titleAreaChanged, true);
  EXPECT_EQ(callsAt(RecognitionLevel::accurate), 2u);
  EXPECT_TRUE(changed.fingerprint);
}

TEST_F(DeckTextExtractorTest, WithoutSkippingEveryAnchoredCallIsAccurateAndJudged) {
  extractor.config.skipUnchangedDecks = false;
  readAndAnchor(10.0, false);
  EXPECT_EQ(extract(10.1).observation.titleAreaChanged, false);
  changeTitleArea();
  EXPECT_EQ(extract(10.2).observation.titleAreaChanged, true);
  EXPECT_EQ(callsAt(RecognitionLevel::accurate), 3u);
}

TEST_F(DeckTextExtractorTest, NewImageSizeDropsAnchorsButKeepsRecognitionTimes) {
  readAndAnchor(10.0, false);
  window = Image(1200, 600, Rgba{40, 40, 40, 255});
  const auto after = extract(10.3);
  EXPECT_EQ(after.observation.titleAreaChanged, std::nullopt);
  EXPECT_FALSE(after.fingerprint);
  EXPECT_EQ(callsAt(RecognitionLevel::accurate), 2u);
}

TEST_F(DeckTextExtractorTest, ThreeChangedReadingsOfTheSameContentMakeTheAnchorNoisy) {
  readAndAnchor(10.0, false);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(extractor.isNoisy(1));
    changeTitleArea(i % 2 ? Rgba{0, 0, 0, 255} : Rgba{250, 250, 250, 255});
    const auto changed = readAndAnchor(11.0 + i, true);
    EXPECT_EQ(changed.observation.titleAreaChanged, true);
  }
  EXPECT_TRUE(extractor.isNoisy(1));
  const auto noisy = extract(20.0);
  EXPECT_EQ(noisy.observation.titleAreaChanged, std::nullopt);
  EXPECT_FALSE(noisy.fingerprint);

  extractor.forget(1);
  EXPECT_FALSE(extractor.isNoisy(1));
}

TEST_F(DeckTextExtractorTest, AnUnchangedReadingResetsTheNoisyStreak) {
  readAndAnchor(10.0, false);
  changeTitleArea({0, 0, 0, 255});
  readAndAnchor(11.0, true);
  changeTitleArea({250, 250, 250, 255});
  readAndAnchor(12.0, true);
  readAndAnchor(17.5, true);  // accurate refresh, nothing changed
  changeTitleArea({0, 0, 0, 255});
  readAndAnchor(18.0, true);
  EXPECT_FALSE(extractor.isNoisy(1));
}

TEST_F(DeckTextExtractorTest, EveryDeckNumberButOneUsesTheSecondArea) {
  const Rect deck2 = extractor.config.layout.deck2.scaledTo(window.size());
  for (const int deck : {2, 0, 7}) {
    const auto crop = extractor.crop(window, deck);
    ASSERT_TRUE(crop);
    EXPECT_EQ(crop->width(), int(deck2.width));
  }
  const Rect deck1 = extractor.config.layout.deck1.scaledTo(window.size());
  EXPECT_EQ(extractor.crop(window, 1)->height(), int(deck1.height));
}

TEST_F(DeckTextExtractorTest, AreaOutsideTheImageIsUnreadable) {
  extractor.config.layout.deck1 = Rect{1.5, 1.5, 0.2, 0.2};
  const auto outside = extract(1.0);
  EXPECT_TRUE(outside.observation.reading.is<DeckReading::Unreadable>());
  EXPECT_FALSE(outside.ocrRan);
  EXPECT_TRUE(recognizer->calls().empty());
  EXPECT_FALSE(extractor.deckView(window));
}

TEST_F(DeckTextExtractorTest, DeckViewStacksBothAreasWithAGreenBand) {
  const auto view = extractor.deckView(window);
  ASSERT_TRUE(view);
  const auto top = *extractor.crop(window, 1);
  const auto bottom = *extractor.crop(window, 2);
  EXPECT_EQ(view->width(), std::max(top.width(), bottom.width()));
  EXPECT_EQ(view->height(), top.height() + bottom.height() + 12);
  EXPECT_EQ(view->pixel(0, top.height() + 5), (Rgba{207, 255, 102, 255}));
  EXPECT_EQ(view->pixel(0, 0), (Rgba{40, 40, 40, 255}));
}

TEST(DeckTextConfirmation, LooseTitlesMayDifferByLength) {
  const LibraryIndex index(libraryOf({libraryTrack("1", "Another Title", "X")}));
  struct Case {
    std::vector<std::string> lines;
    std::string expected;
    bool confirmed;
  };
  const Case cases[] = {
      {{"Abcdefg"}, "Abcdefg", true},
      {{"Abcdefx"}, "Abcdefg", false},   // 7 characters: exact only
      {{"Abcdefgx"}, "Abcdefgh", true},  // 8 to 19: one edit
      {{"Abcdefxx"}, "Abcdefgh", false},
      {{"Abcdefghijklmnopqrxx"}, "Abcdefghijklmnopqrst", true},        // 20 and more: two edits
      {{"D0ub1e Trouble"}, "Double Trouble", true},                    // recognition reads o as 0, l as 1
      {{"Double Trouble", "Another Title"}, "Double Trouble", false},  // another library title refutes
      {{}, "Double Trouble", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DeckTextExtractor::confirms(c.lines, c.expected, index), c.confirmed) << c.expected;
}

TEST(DeckTextConfirmation, EmptyExpectedTitleHoldsWhileTheDeckShowsNoTitle) {
  const LibraryIndex index(libraryOf({libraryTrack("1", "Another Title", "X")}));
  const std::vector<std::string> clockOnly = {"03:21.4"};
  EXPECT_TRUE(DeckTextExtractor::confirms(clockOnly, "", index));
  const std::vector<std::string> title = {"Another Title"};
  EXPECT_FALSE(DeckTextExtractor::confirms(title, "", index));
}

TEST(DeckTitleRegion, KeepsTitleAndArtistLinesAndClampsToTheArea) {
  const Track track = libraryTrack("1", "Night Drive", "Mira");
  const std::vector<RecognizedLine> lines = {
      {"Night Drive (Extended)", {0.005, 0.002, 0.5, 0.1}},  // begins with the title: kept
      {"Mira", {0.1, 0.9, 0.2, 0.095}},                      // the artist: kept
      {"Mir", {0.0, 0.5, 0.1, 0.1}},                         // short and not equal: dropped
      {"128.00", {0.8, 0.3, 0.2, 0.1}},
  };
  const auto region = DeckTextExtractor::titleRegion(lines, track);
  ASSERT_TRUE(region);
  EXPECT_DOUBLE_EQ(region->x, 0.0);
  EXPECT_DOUBLE_EQ(region->y, 0.0);
  EXPECT_NEAR(region->maxX(), 0.755, 1e-9);
  EXPECT_DOUBLE_EQ(region->maxY(), 1.0);
  EXPECT_FALSE(DeckTextExtractor::titleRegion(std::vector<RecognizedLine>{{"Else", {0, 0, 1, 1}}}, track));
}

// A line of both directions is read in either order, and the screen draws
// both the same: a track found through one order counts, and where the two
// orders name other tracks only the artist shown may pick one; else the deck
// is ambiguous over both.
TEST(DeckTextExtractorMatch, ALineReadInBothOrdersNamesATrackOnlyWhenTheArtistShownSinglesItOut) {
  const std::string arabicFirst = "ليالي القاهرة Cairo Nights";
  const std::string latinFirst = "Cairo Nights ليالي القاهرة";
  const Track amr = libraryTrack("1", latinFirst, "Amr");
  const Track tal = libraryTrack("3", "DJ Tal שמש", "Tal");
  const auto read = [](std::string text, std::string other, std::string artist = "Amr") {
    return std::vector<RecognizedLine>{{std::move(text), {0, 0, 0.5, 0.1}, std::move(other)},
                                       {std::move(artist), {0, 0.2, 0.3, 0.1}},
                                       {"3:21", {0, 0.5, 0.2, 0.1}}};
  };
  const struct {
    const char* name;
    std::vector<Track> library;
    std::vector<RecognizedLine> lines;
    std::optional<DeckReading> reading;  // none: the verdict on the lines as read first
  } cases[] = {
      {"another artist's title in the order read first",
       {amr, libraryTrack("2", arabicFirst, "Nour")},
       read(arabicFirst, latinFirst),
       DeckReading::track("1", MatchStrength::strong)},
      {"both titles by the artist shown",
       {amr, libraryTrack("2", arabicFirst, "Amr")},
       read(arabicFirst, latinFirst),
       DeckReading::ambiguous({"1", "2"})},
      {"no artist shown for either title",
       {amr, libraryTrack("2", arabicFirst, "Nour")},
       read(arabicFirst, latinFirst, "Live"),
       DeckReading::ambiguous({"1", "2"})},
      {"an artist named in the titles, none on the deck",
       {amr, libraryTrack("2", arabicFirst, "Cairo")},
       read(arabicFirst, latinFirst, "Live"),
       DeckReading::ambiguous({"1", "2"})},
      {"only the other order in the library",
       {amr},
       read(arabicFirst, latinFirst),
       DeckReading::track("1", MatchStrength::strong)},
      {"only the order read first in the library",
       {libraryTrack("2", arabicFirst, "Nour")},
       read(arabicFirst, latinFirst),
       DeckReading::track("2", MatchStrength::strong)},
      {"the other order finds the track",
       {tal},
       read("שמש DJ Tal", "DJ Tal שמש", "Tal"),
       DeckReading::track("3", MatchStrength::strong)},
      {"no other order, no track", {tal}, read("שמש DJ Tal", "", "Tal"), std::nullopt},
      {"neither order finds a track", {amr, tal}, read("שמש DJ Dan", "DJ Dan שמש", "Dan"), std::nullopt},
  };
  for (const auto& c : cases) {
    const LibraryIndex index(libraryOf(c.library));
    std::vector<std::string> asRead;
    for (const auto& line : c.lines) asRead.push_back(line.text);
    const MatchResult result = DeckTextExtractor::match(c.lines, index);
    EXPECT_EQ(result.reading, c.reading.value_or(TrackMatcher::match(asRead, index).reading)) << c.name;
  }
  // The title region is found through either order.
  const LibraryIndex index(libraryOf({tal}));
  EXPECT_TRUE(DeckTextExtractor::titleRegion(read("שמש DJ Tal", "DJ Tal שמש"), *index.track("3")));
}

// A tagged version holds its original's title: read in the other order, the
// line finds the original inside it. The version's title read whole, or cut
// short, outweighs that, whichever order the line was read in first.
TEST(DeckTextExtractorMatch, EachTaggedVersionReadsAsTheVersionShown) {
  const std::string amr = "Amr Diab";
  const std::string crew = "Amr Diab, Nancy Ajram, Tamer Hosny, Elissa";
  const std::vector<Track> library = {
      libraryTrack("1", "طريق الحب", amr),
      libraryTrack("2", "طريق الحب (Remix)", amr),
      libraryTrack("3", "طريق الحب (Club Mix)", crew),
      libraryTrack("4", "אהבה בתל אביב", "עומר אדם"),
      libraryTrack("5", "אהבה בתל אביב (Extended Mix)", "עומר אדם"),
      libraryTrack("6", "אהבה בתל אביב (Radio Edit)", "עומר אדם"),
      libraryTrack("7", "Cairo Nights ليالي القاهرة", amr),
      libraryTrack("8", "Cairo Nights ليالي القاهرة (Radio Edit)", amr),
  };
  const LibraryIndex index(libraryOf(library));
  const struct {
    const char* name;
    std::string title;
    std::string otherOrder;  // empty for a line of one direction
    std::optional<std::string> artist;
    std::string id;
  } cases[] = {
      {"an Arabic remix", "طريق الحب (Remix)", "(Remix) طريق الحب", amr, "2"},
      {"its original", "طريق الحب", "", amr, "1"},
      {"a collaboration cut short", "طريق الحب (Club Mix)", "(Club Mix) طريق الحب", "Amr Diab, Nancy…", "3"},
      {"no artist line", "طريق الحب (Remix)", "(Remix) طريق الحب", std::nullopt, "2"},
      {"a Hebrew extended mix", "אהבה בתל אביב (Extended Mix)", "(Extended Mix) אהבה בתל אביב", "עומר אדם",
       "5"},
      {"the extended mix cut short", "אהבה בתל אביב (Extended M…", "(Extended M… אהבה בתל אביב", "עומר אדם",
       "5"},
      {"a Latin start with a radio edit", "Cairo Nights ليالي القاهرة (Radio Edit)",
       "(Radio Edit) ليالي القاهرة Cairo Nights", amr, "8"},
  };
  for (const auto& c : cases) {
    for (const bool readAsDrawn : {true, false}) {
      if (!readAsDrawn && c.otherOrder.empty()) continue;
      std::vector<RecognizedLine> lines = {readAsDrawn
                                               ? RecognizedLine{c.title, {0, 0, 0.5, 0.1}, c.otherOrder}
                                               : RecognizedLine{c.otherOrder, {0, 0, 0.5, 0.1}, c.title},
                                           {"3:21", {0, 0.5, 0.2, 0.1}}};
      if (c.artist) lines.push_back({*c.artist, {0, 0.2, 0.3, 0.1}});
      const MatchResult result = DeckTextExtractor::match(lines, index);
      const auto* track = result.reading.as<DeckReading::Track>();
      EXPECT_TRUE(track && track->id == c.id)
          << c.name << (readAsDrawn ? "" : ", read in the other order") << ": "
          << json::write(result.reading.toJson()) << " by " << result.rule;
    }
  }
}

bool rightToLeft(std::string_view word) {
  for (const char32_t c : unicode::toScalars(word))
    if (unicode::isLetter(c)) return c >= 0x0590 && c <= 0x08FF;
  return false;
}

// A line as the other paragraph direction reads it: its runs of one
// direction in reverse order, the words of each as they are; empty for a
// line of one direction.
std::string inOtherOrder(const std::string& line) {
  std::vector<std::vector<std::string>> runs;
  bool previous = false;
  std::istringstream words(line);
  for (std::string word; words >> word;) {
    if (runs.empty() || rightToLeft(word) != previous) runs.emplace_back();
    previous = rightToLeft(word);
    runs.back().push_back(word);
  }
  if (runs.size() < 2) return {};
  std::string out;
  for (auto run = runs.rbegin(); run != runs.rend(); ++run)
    for (const auto& word : *run) out += (out.empty() ? "" : " ") + word;
  return out;
}

// Generated libraries of Arabic and Hebrew songs, some titles with Latin
// words before or after, each with up to three tagged versions by its artist
// (or by a collaboration it leads), and a few songs whose title is another
// song's in the other order.
struct TaggedLibrary {
  std::vector<Track> tracks;
  std::vector<std::string> shownArtists;  // per track, as a deck shows it; empty for no line
};

TaggedLibrary taggedLibrary(unsigned seed) {
  const std::vector<std::vector<std::string>> rtlWords = {
      {"طريق", "الحب", "ليالي", "القاهرة", "قلبي", "حبيبي", "نور", "العين", "بحر", "الشوق", "سهر", "غرام"},
      {"אהבה", "בתל", "אביב", "לילה", "שמש", "הלב", "שלי", "חלום", "רחוק", "אור", "גשם", "קיץ"}};
  const std::vector<std::string> latinWords = {"Cairo",  "Nights", "Habibi", "Love",
                                               "Summer", "Beirut", "Golden"};
  const std::vector<std::vector<std::string>> artists = {
      {"Amr Diab", "Nancy Ajram", "Tamer Hosny", "Elissa"},  // Latin
      {"عمرو دياب", "نانسي عجرم", "تامر حسني"},              // Arabic
      {"עומר אדם", "נועה קירל", "אייל גולן"},                // Hebrew
      {"DJ Tal שמש", "Omer Adam עומר"},                      // of both directions
      {""}};                                                 // none shown
  const std::vector<std::string> tags = {"(Remix)", "(Extended Mix)", "(Radio Edit)", "(Club Mix)"};
  std::mt19937 random(seed);
  const auto pick = [&](const auto& from) { return from[random() % from.size()]; };
  TaggedLibrary library;
  const auto add = [&](const std::string& title, const std::string& artist, const std::string& shown) {
    library.tracks.push_back(libraryTrack(std::to_string(library.tracks.size() + 1), title, artist));
    library.shownArtists.push_back(shown);
  };
  for (int song = 0; song < 40; ++song) {
    const auto& words = rtlWords[random() % 2];
    std::string title = pick(words) + " " + pick(words);
    if (random() % 3 == 0) title += " " + pick(words);
    if (random() % 3 == 0) {
      title = pick(latinWords) + " " + pick(latinWords) + " " + title;
    } else if (random() % 3 == 0) {
      title += " " + pick(latinWords);
    }
    const auto& kind = artists[random() % artists.size()];
    const std::string artist = pick(kind);
    add(title, artist, artist);
    if (random() % 8 == 0 && !inOtherOrder(title).empty()) {
      const std::string other = pick(pick(artists));
      add(inOtherOrder(title), other, other);
    }
    std::vector<std::string> versions = tags;
    std::shuffle(versions.begin(), versions.end(), random);
    for (std::size_t v = 0, count = 1 + random() % 3; v < count; ++v) {
      const std::string tagged = title + " " + versions[v];
      if (kind.size() < 3 || random() % 4) {
        add(tagged, artist, artist);
        continue;
      }
      // A collaboration the artist leads, its line cut after the next name's first word.
      std::string crew = artist;
      for (const auto& name : kind)
        if (name != artist) crew += ", " + name;
      add(tagged, crew, crew.substr(0, crew.find(' ', crew.find(", ") + 2)) + "…");
    }
  }
  return library;
}

// Every track of the generated libraries on a deck, its title read in either
// order first: no deck names another track, and each reads as the track
// shown, but a title whose other order is another song's and, without an
// artist line, an original (ambiguous with its versions) or a title two
// songs share.
TEST(DeckTextExtractorMatch, TaggedVersionsOfBothDirectionsReadAsShown) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    const TaggedLibrary library = taggedLibrary(seed);
    const LibraryIndex index(libraryOf(library.tracks));
    for (std::size_t i = 0; i < library.tracks.size(); ++i) {
      const Track& shown = library.tracks[i];
      const std::string& artist = library.shownArtists[i];
      const std::string other = inOtherOrder(shown.title);
      const bool swapped = !other.empty() && !index.idsForTitle(TextTools::normalized(other)).empty();
      const bool shared = index.idsForTitle(TextTools::normalized(shown.title)).size() > 1;
      const bool mayBeAmbiguous = swapped || (artist.empty() && (shared || !shown.title.ends_with(")")));
      for (const bool readAsDrawn : {true, false}) {
        if (!readAsDrawn && other.empty()) continue;
        std::vector<RecognizedLine> lines = {readAsDrawn
                                                 ? RecognizedLine{shown.title, {0, 0, 0.5, 0.1}, other}
                                                 : RecognizedLine{other, {0, 0, 0.5, 0.1}, shown.title},
                                             {"3:21", {0, 0.5, 0.2, 0.1}}};
        if (!artist.empty()) lines.push_back({artist, {0, 0.2, 0.3, 0.1}, inOtherOrder(artist)});
        const DeckReading reading = DeckTextExtractor::match(lines, index).reading;
        const auto* ambiguous = reading.as<DeckReading::Ambiguous>();
        const auto* track = reading.as<DeckReading::Track>();
        EXPECT_TRUE(ambiguous && mayBeAmbiguous ? std::ranges::count(ambiguous->ids, shown.id)
                                                : track && track->id == shown.id)
            << "seed " << seed << ", " << shown.title << " by " << artist << ": "
            << json::write(reading.toJson());
      }
    }
  }
}

}  // namespace
}  // namespace kesta
