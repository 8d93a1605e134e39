#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/legacy_migration.h"

namespace kesta {
namespace {

Track track(std::string key, std::string title, std::string artist) {
  Track made;
  made.id = key;
  made.key = StableKey{std::move(key)};
  made.title = std::move(title);
  made.artist = std::move(artist);
  return made;
}

Library library() {
  Library made;
  made.tracks = {
      track("spotify:42", "Song A", "Artist"),
      track("file:aaa", "Café Song", "Someone"),
      track("file:t3", "Twin", "Pair"),
      track("file:t4", "Twin", "Pair"),  // two tracks of one song: no single answer
      track("file:dup", "Dup", "Same"),
      track("file:dup", "Dup", "Same"),  // two entries of one track: still one answer
      track("file:rated", "Rated", "X"),
      track("file:lower", "Lower", "Case"),
      track("file:loud", "Loud", "Y"),
  };
  return made;
}

LegacyData legacy() {
  LegacyData data;
  data.sourceDomain = "com.kesta.live.beta";
  data.ratings = {
      {"Spotify:42", 4},    // by key, with no title known
      {"Spotify:999", 5},   // the key is not in the library; title and artist match after folding
      {"Beatport:1", 3},    // title and artist match two different tracks
      {"Beatport:2", 2},    // title and artist match two entries of one track
      {"SoundCloud:3", 1},  // the DJ has rated the track since
      {"soundcloud:4", 4},  // an unknown provider spelling: only the title can tie it
      {"Nothing:5", 2},     // neither translates nor has a title
      {"Spotify:77", 9},    // off the scale in a file written elsewhere
  };
  data.unresolvedRatings = data.ratings;
  data.tracks = {
      {"Spotify:999", {"CAFE SONG!", "someone"}},
      {"Beatport:1", {"Twin", "Pair"}},
      {"Beatport:2", {"Dup", "Same"}},
      {"SoundCloud:3", {"Rated", "X"}},
      {"soundcloud:4", {"Lower", "Case"}},
      {"Spotify:77", {"Loud", "Y"}},
  };
  return data;
}

TEST(LegacyRatings, EachOldRatingMovesOntoTheOneTrackItTiesTo) {
  auto data = legacy();
  UserData userData{{{"file:rated", 5}}, {{"a>b", 1}}};
  EXPECT_EQ(LegacyMigration::resolveRatings(data, library(), userData), 6);

  const std::map<std::string, int> ratings{{"spotify:42", 4}, {"file:aaa", 5},   {"file:dup", 2},
                                           {"file:rated", 5}, {"file:lower", 4}, {"file:loud", 5}};
  EXPECT_EQ(userData.ratings, ratings);
  EXPECT_EQ(userData.playedPairs, (std::map<std::string, int>{{"a>b", 1}}));
  EXPECT_EQ(data.unresolvedRatings,
            (std::map<std::string, std::int64_t>{{"Beatport:1", 3}, {"Nothing:5", 2}}));
  EXPECT_EQ(data.ratings, legacy().ratings);
  EXPECT_EQ(data.tracks, legacy().tracks);

  // What stays unresolved is tried again with the next library, and changes nothing here.
  const auto before = userData;
  EXPECT_EQ(LegacyMigration::resolveRatings(data, library(), userData), 0);
  EXPECT_EQ(userData, before);
  EXPECT_EQ(data.unresolvedRatings.size(), 2u);
}

TEST(LegacyRatings, NothingResolvesAgainstAnEmptyLibraryOrWithNothingLeft) {
  auto data = legacy();
  UserData userData;
  EXPECT_EQ(LegacyMigration::resolveRatings(data, Library{}, userData), 0);
  EXPECT_EQ(data, legacy());
  EXPECT_TRUE(userData.ratings.empty());

  data.unresolvedRatings.clear();
  EXPECT_EQ(LegacyMigration::resolveRatings(data, library(), userData), 0);
  EXPECT_TRUE(userData.ratings.empty());
}

}  // namespace
}  // namespace kesta
