#include "oneclick/browser_row_matcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oneclick/browser_rows.h"
#include "reading/library_index.h"

namespace kesta {
namespace {

using test::browserLines;
using test::BrowserRow;
using test::kBrowserRegion;
using test::libraryOf;
using test::libraryTrack;
using test::titleBox;

const Track kStrobe = libraryTrack("1", "Strobe", "deadmau5", "8A", 128, 637);
const Track kUntitled = libraryTrack("13", " ", "Nobody");

RowPick expectedPick(const test::ExpectedPick& expected) {
  switch (expected.kind) {
    case test::ExpectedPick::Kind::row:
      return RowPick::row(titleBox(expected.value));
    case test::ExpectedPick::Kind::ambiguous:
      return RowPick::ambiguous(expected.value);
    case test::ExpectedPick::Kind::notFound:
      break;
  }
  return RowPick::notFound();
}

TEST(BrowserRowMatcher, Scenes) {
  for (const auto& scene : test::browserScenes()) {
    const LibraryIndex index(libraryOf(scene.library));
    EXPECT_EQ(BrowserRowMatcher::pick(browserLines(scene.rows), scene.requested, index, kBrowserRegion),
              expectedPick(scene.expected))
        << scene.name;
  }
}

TEST(BrowserRowMatcher, NothingToFind) {
  const LibraryIndex index(libraryOf({kStrobe, kUntitled}));
  const auto pick = [&](const std::vector<TextBox>& lines, const Track& track) {
    return BrowserRowMatcher::pick(lines, track, index, kBrowserRegion);
  };
  EXPECT_EQ(pick({}, kStrobe), RowPick::notFound()) << "no lines";
  EXPECT_EQ(pick(browserLines({{" ", "Nobody"}}), kUntitled), RowPick::notFound()) << "no title";
  // The deck area above the browser shows the same track.
  const std::vector<TextBox> deck = {{"Strobe", {0.05, 0.10, 0.3, 0.02}},
                                     {"deadmau5", {0.4, 0.10, 0.2, 0.02}}};
  EXPECT_EQ(pick(deck, kStrobe), RowPick::notFound()) << "deck area";
  // A centre on the region's lower or right edge lies outside it.
  const std::vector<TextBox> edge = {{"Strobe", {0.05, 0.99, 0.3, 0.02}}, {"Strobe", {0.9, 0.5, 0.2, 0.02}}};
  EXPECT_EQ(pick(edge, kStrobe), RowPick::notFound()) << "region edges";
}

// A line that mixes directions is read in both paragraph orders, and the
// screen cannot tell which one drew it: either reading may show the title or
// the artist, but a row that could be another song in the other reading is
// refused, never picked.
TEST(BrowserRowMatcher, LinesReadInBothOrders) {
  struct Cell {
    std::string text;
    std::string other = {};
  };
  struct Row {
    Cell title;
    Cell artist = {};
  };
  struct Case {
    const char* name;
    std::vector<Track> library;
    Track requested;
    std::vector<Row> rows;
    RowPick expected;
  };
  const Track cairo = libraryTrack("21", "Cairo Nights \u0644\u064a\u0627\u0644\u064a", "Amr Diab");
  const Track cairoMirror = libraryTrack("22", "\u0644\u064a\u0627\u0644\u064a Cairo Nights", "Hakim");
  const Track sun = libraryTrack("23", "Shemesh", "DJ Tal \u05e9\u05de\u05e9");
  const Track sunCopy = libraryTrack("24", "Shemesh", "DJ Tal \u05e9\u05de\u05e9");
  const Track sunOmer = libraryTrack("25", "Shemesh", "Omer Adam");
  const Track sunMirror = libraryTrack("26", "Shemesh", "\u05e9\u05de\u05e9 DJ Tal");
  const Cell cairoCell{cairoMirror.title, cairo.title};  // drawn the other way round
  const Cell sunArtist{sunMirror.artist, sun.artist};
  const std::vector<Case> cases = {
      {"title found through its other order",
       {cairo, kStrobe},
       cairo,
       {{cairoCell, {"Amr Diab"}}},
       RowPick::row(titleBox(0))},
      {"artist vouches through its other order",
       {sun, sunOmer},
       sun,
       {{{"Shemesh"}, sunArtist}, {{"Shemesh"}, {"Omer Adam"}}},
       RowPick::row(titleBox(0))},
      {"each reading is one of two songs' titles",
       {cairo, cairoMirror},
       cairo,
       {{{cairo.title, cairoMirror.title}}, {cairoCell}},
       RowPick::notFound()},
      {"another version's artist drawn the other way round",
       {sun, sunMirror},
       sun,
       {{{"Shemesh"}, sunArtist}, {{"Shemesh"}, {sun.artist, sunMirror.artist}}},
       RowPick::notFound()},
      {"an artist read two ways does not single out a duplicate",
       {sun, sunCopy},
       sun,
       {{{"Shemesh"}, {sun.artist, sunMirror.artist}}, {{"Shemesh"}, {"DJ Tal"}}},
       RowPick::ambiguous(2)},
  };
  for (const auto& c : cases) {
    std::vector<TextBox> lines;
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
      const Rect title = titleBox(static_cast<int>(i));
      lines.push_back({c.rows[i].title.text, title, c.rows[i].title.other});
      if (!c.rows[i].artist.text.empty()) {
        lines.push_back({c.rows[i].artist.text, {0.40, title.y, 0.20, title.height}, c.rows[i].artist.other});
      }
    }
    const LibraryIndex index(libraryOf(c.library));
    EXPECT_EQ(BrowserRowMatcher::pick(lines, c.requested, index, kBrowserRegion), c.expected) << c.name;
  }
}

// Two title lines whose centres lie within 0.6 of the later line's height (at
// least 0.0036) are one row.
TEST(BrowserRowMatcher, RowsJoinWithinSixTenthsOfALineHeight) {
  struct Row {
    double height;
    double gap;
    RowPick expected;
  };
  const Rect first{0.05, 0.5, 0.3, 0.02};
  const Row rows[] = {
      {0.02, 0.0119, RowPick::row(first)},
      {0.02, 0.0121, RowPick::ambiguous(2)},
      {0.004, 0.0035, RowPick::row(first)},
      {0.004, 0.0037, RowPick::ambiguous(2)},
  };
  const LibraryIndex index(libraryOf({kStrobe}));
  for (const auto& row : rows) {
    const Rect second{0.05, first.midY() + row.gap - row.height / 2, 0.3, row.height};
    const std::vector<TextBox> lines = {
        {"Strobe", first}, {"deadmaus", {0.4, 0.5, 0.2, 0.02}}, {"Strobe", second}};
    EXPECT_EQ(BrowserRowMatcher::pick(lines, kStrobe, index, kBrowserRegion), row.expected)
        << "height " << row.height << ", gap " << row.gap;
  }
}

TEST(BrowserRowMatcher, Similar) {
  struct Row {
    const char* text;
    const char* reference;
    bool expected;
  };
  const Row rows[] = {
      {"Strobe", "STROBE!", true},
      {"Str0be", "Strobe", true},
      {"Strobo", "Strobe", false},  // under eight characters only equality counts
      {"Higher Graund", "Higher Ground", true},
      {"Hlgher Graund", "Higher Ground", false},  // two edits on twelve characters
      {"Children Of The Nigh", "Children Of The Night", true},
      {"Children Of Da Nite", "Children Of The Night", false},
      {"Higher Ground", "Higher Grounds Remixed By Someone", false},
      {"", "", false},
      {"!!", "!!", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(BrowserRowMatcher::similar(row.text, row.reference), row.expected)
        << row.text << " / " << row.reference;
  }
}

MatchedRow matched(int index, std::vector<std::string> others) {
  return {titleBox(index), std::move(others), true};
}

TEST(BrowserRowMatcher, DuplicateTieBreak) {
  struct Case {
    const char* name;
    Track track;
    std::vector<MatchedRow> rows;
    std::optional<Rect> expected;
  };
  const Track noDuration = libraryTrack("1", "Strobe", "deadmau5", "8A", 128, 0);
  const Track wholeHour = libraryTrack("1", "Strobe", "deadmau5", std::nullopt, std::nullopt, 3725);
  const Case cases[] = {
      {"only one shows the key",
       kStrobe,
       {matched(0, {"deadmau5", "128.00", "5A"}), matched(1, {"deadmau5", "127.00", "8A"})},
       titleBox(1)},
      {"same key, only one shows the BPM",
       kStrobe,
       {matched(0, {"128.00", "8A"}), matched(1, {"127.00", "8A"})},
       titleBox(0)},
      {"key and BPM read as one line",
       kStrobe,
       {matched(0, {"128.00 5A"}), matched(1, {"128.00 8A"})},
       titleBox(1)},
      {"same everything: the topmost, not the first",
       kStrobe,
       {matched(2, {"128.00", "8A", "10:37"}), matched(1, {"128.00", "8A", "10:37"})},
       titleBox(1)},
      {"neither shows the duration",
       kStrobe,
       {matched(0, {"128.00", "8A"}), matched(1, {"128.00", "8A"})},
       std::nullopt},
      {"the topmost of the rows showing the duration",
       kStrobe,
       {matched(2, {"10:37"}), matched(1, {"10:37"}), matched(0, {"9A"})},
       titleBox(1)},
      {"duration singles one out", kStrobe, {matched(0, {"10:36"}), matched(1, {"10:37"})}, titleBox(1)},
      {"no duration and nothing singles out",
       noDuration,
       {matched(0, {"128.00", "8A"}), matched(1, {"128.00", "8A"})},
       std::nullopt},
      {"no duration but the key singles out",
       noDuration,
       {matched(0, {"8A"}), matched(1, {"9A"})},
       titleBox(0)},
      {"a BPM with one decimal does not narrow",
       kStrobe,
       {matched(1, {"128.0", "10:37"}), matched(0, {"127.00", "10:37"})},
       titleBox(0)},
      {"minutes past the hour", wholeHour, {matched(1, {"62:05"}), matched(0, {"62:50"})}, titleBox(1)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BrowserRowMatcher::duplicateTieBreak(c.rows, c.track), c.expected) << c.name;
}

}  // namespace
}  // namespace kesta
