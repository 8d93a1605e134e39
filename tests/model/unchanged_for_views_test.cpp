#include "model/unchanged_for_views.h"

#include <gtest/gtest.h>

#include "reading/reading_fixtures.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

using Mixer = std::vector<std::optional<MixerReading>>;

TEST(UnchangedForViewsTest, MixerReadingsDifferOnlyInWhatTheViewsShow) {
  struct Row {
    const char* name;
    Mixer a;
    Mixer b;
    bool same;
  };
  const Row rows[] = {
      {"fader moved within main", {MixerReading{0.6, true}}, {MixerReading{0.9, true}}, true},
      {"fader moved within neither", {MixerReading{0.3, true}}, {MixerReading{0.4, true}}, true},
      {"became main", {MixerReading{0.4, true}}, {MixerReading{0.6, true}}, false},
      {"became silent", {MixerReading{0.3, true}}, {MixerReading{0.0, true}}, false},
      {"eq off neutral loses main", {MixerReading{0.8, true}}, {MixerReading{0.8, false}}, false},
      {"reading lost", {MixerReading{0.3, true}}, {std::nullopt}, false},
      {"both unread", {std::nullopt, std::nullopt}, {std::nullopt, std::nullopt}, true},
      {"a deck more", {std::nullopt}, {std::nullopt, std::nullopt}, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(sameForViews(row.a, row.b), row.same);
    EXPECT_EQ(sameForViews(row.b, row.a), row.same);
  }
}

// How long a deck has stood still is not shown, only that it stands.
TEST(UnchangedForViewsTest, MotionIsComparedByCategory) {
  const std::vector<DeckMotion> stoppedBriefly{DeckMotion::stopped(1), DeckMotion::running()};
  EXPECT_TRUE(sameForViews(stoppedBriefly, {DeckMotion::stopped(30), DeckMotion::running()}));
  EXPECT_FALSE(sameForViews(stoppedBriefly, {DeckMotion::empty(), DeckMotion::running()}));
  EXPECT_FALSE(sameForViews(stoppedBriefly, {DeckMotion::stopped(1)}));
}

// Track 1 has a key and a BPM in the library, track 2 neither, track 3 is not in it.
TEST(UnchangedForViewsTest, ShownMetadataCountsOnlyWhatItAddsToTheLibrary) {
  const LibraryIndex index(
      kesta::test::libraryOf({kesta::test::libraryTrack("1", "Strobe", "", 128.0, "8A"),
                              kesta::test::libraryTrack("2", "Opus", "", std::nullopt)}));
  using Shown = std::map<int, ShownMetadata>;
  struct Row {
    const char* name;
    Shown a;
    Shown b;
    bool sameFilling;
    bool sameForViews;
  };
  const Row rows[] = {
      {"the library's own key and BPM win", {{1, {"1", "8A", 128}}}, {{1, {"1", "9A", 130}}}, true, true},
      {"a shown key fills a gap",
       {{1, {"2", std::nullopt, std::nullopt}}},
       {{1, {"2", "5A", std::nullopt}}},
       false,
       false},
      {"the same whole BPM",
       {{1, {"2", std::nullopt, 126.2}}},
       {{1, {"2", std::nullopt, 126.9}}},
       true,
       true},
      {"another whole BPM",
       {{1, {"2", std::nullopt, 126.9}}},
       {{1, {"2", std::nullopt, 127.0}}},
       false,
       false},
      {"a track outside the library", {}, {{2, {"3", "5A", 120}}}, true, false},
      {"another deck", {{1, {"1", "8A", 128}}}, {{2, {"1", "8A", 128}}}, false, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(sameFilling(row.a, row.b, index), row.sameFilling);
    EXPECT_EQ(sameForViews(row.a, row.b, index), row.sameForViews);
  }
}

}  // namespace
}  // namespace kesta::test
