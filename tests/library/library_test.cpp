#include "library/library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "golden.h"
#include "platform/json/json_coding.h"

namespace kesta {
namespace {

Track track(std::string id, std::string slug = "local", int playCount = 0, std::optional<double> bpm = 124,
            std::string title = "Title") {
  Track t;
  t.id = id;
  t.key = StableKey{"meta:" + id};
  t.source = Source{std::move(slug)};
  t.title = std::move(title);
  t.artist = "Artist " + id;
  t.bpm = bpm;
  t.playCount = playCount;
  return t;
}

Library library(std::vector<Track> tracks, std::vector<Playlist> playlists = {}) {
  return Library{std::move(tracks), std::move(playlists), ImportReport{}, "rekordbox.xml", Date{700000000}};
}

std::vector<std::string> ids(const std::vector<Track>& tracks) {
  std::vector<std::string> out;
  for (const Track& t : tracks) out.push_back(t.id);
  return out;
}

using Ids = std::vector<std::string>;

// Tracks 1-5: 1 and 2 local, 3 on Spotify and played 9 times, 4 without a BPM
// and played 7 times, 5 untitled on Spotify.
Library sample() {
  return library({track("1"), track("2", "local", 4), track("3", "spotify", 9),
                  track("4", "local", 7, std::nullopt), track("5", "spotify", 0, 128, "  ")},
                 {Playlist{"aaaa", "Warm Up", {"House", "Deep"}, {"1", "3", "3", "3"}},
                  Playlist{"bbbb", "Unsuggestible", {}, {"4", "5"}}, Playlist{"cccc", "Empty", {}, {}},
                  Playlist{"dddd", "Peak", {"House"}, {"2", "1"}}});
}

TEST(Library, EmptyLibrary) {
  const Library& empty = Library::empty();
  EXPECT_TRUE(empty.isEmpty());
  EXPECT_TRUE(empty.playlists.empty());
  EXPECT_EQ(empty.report, ImportReport{});
  EXPECT_EQ(empty.sourceFileName, "");
  EXPECT_EQ(empty.importedAt.secondsSinceReference, -63114076800.0);
  EXPECT_TRUE(empty.poolChoices().empty());
  EXPECT_FALSE(empty.isValidPool("all"));
  EXPECT_EQ(json::write(empty.toJson()), test::readGolden("library_empty.json"));
  // Playlists alone do not make a library non-empty.
  EXPECT_TRUE(library({}, {Playlist{"aaaa", "P", {}, {}}}).isEmpty());
}

TEST(Library, PoolMenu) {
  EXPECT_EQ(sample().poolChoices(), (std::vector<PoolChoice>{
                                        {"all", "Full collection", 3},
                                        {"playlist:aaaa", "House / Deep / Warm Up", 2},
                                        {"playlist:bbbb", "Unsuggestible", 0},
                                        {"playlist:cccc", "Empty", 0},
                                        {"playlist:dddd", "House / Peak", 2},
                                        {"regulars", "Played 5+ times", 1},
                                        {"source:local", "Only Local files", 2},
                                        {"source:spotify", "Only Spotify", 1},
                                    }));
}

TEST(Library, PoolMenuLeavesOutRegularsAndSingleSources) {
  // Track 2 has 4 plays, track 3 has 7 plays but no BPM: no suggestible regular.
  const Library lib =
      library({track("1", "spotify"), track("2", "spotify", 4), track("3", "local", 7, std::nullopt)});
  EXPECT_EQ(lib.poolChoices(), (std::vector<PoolChoice>{{"all", "Full collection", 2}}));
  EXPECT_FALSE(lib.isValidPool("regulars"));
  EXPECT_FALSE(lib.isValidPool("source:spotify"));
  EXPECT_TRUE(lib.isValidPool("all"));
}

TEST(Library, Pools) {
  const Library lib = sample();
  const std::pair<const char*, Ids> cases[] = {
      {"all", {"1", "2", "3", "4", "5"}},
      {"", {"1", "2", "3", "4", "5"}},
      {"nonsense", {"1", "2", "3", "4", "5"}},
      {"playlist:aaaa", {"1", "3"}},  // library order, each once
      {"playlist:dddd", {"1", "2"}},
      {"playlist:bbbb", {"4", "5"}},                 // not limited to suggestible tracks
      {"playlist:cccc", {}},                         // an existing empty playlist
      {"playlist:zzzz", {"1", "2", "3", "4", "5"}},  // unknown playlist
      {"playlist:", {"1", "2", "3", "4", "5"}},
      {"playlists:aaaa,dddd", {"1", "2", "3"}},
      {"playlists:dddd,,bbbb", {"1", "2", "4", "5"}},
      {"playlists:xxxx,yyyy", {"1", "2", "3", "4", "5"}},  // nothing matched
      {"playlists:cccc", {"1", "2", "3", "4", "5"}},       // only empty playlists chosen
      {"playlists:", {"1", "2", "3", "4", "5"}},
      {"regulars", {"3", "4"}},
      {"source:spotify", {"3", "5"}},
      {"source:tidal", {}},
  };
  for (const auto& [poolId, expected] : cases) EXPECT_EQ(ids(lib.pool(poolId)), expected) << poolId;
}

TEST(Library, ValidPools) {
  const Library lib = sample();
  const std::pair<const char*, bool> cases[] = {
      {"all", true},
      {"regulars", true},
      {"source:local", true},
      {"source:spotify", true},
      {"source:tidal", false},
      {"playlist:cccc", true},
      {"playlist:zzzz", false},
      {"playlist:", false},
      {"playlists:aaaa,dddd", true},
      {"playlists:aaaa,zz", false},
      {"playlists:", false},
      {"nonsense", false},
      {"", false},
  };
  for (const auto& [poolId, valid] : cases) EXPECT_EQ(lib.isValidPool(poolId), valid) << poolId;
}

TEST(Library, PoolIdsForPlaylistChoices) {
  EXPECT_EQ(Library::poolID({}), "all");
  EXPECT_EQ(Library::poolID({"a"}), "playlist:a");
  EXPECT_EQ(Library::poolID({"b", "a"}), "playlists:a,b");
  EXPECT_EQ(Library::poolID({"b", "A", "c"}), "playlists:A,b,c");

  const std::pair<const char*, Ids> cases[] = {
      {"playlists:a,,b", {"a", "b"}},
      {"playlists:a,b,", {"a", "b"}},
      {"playlists:", {}},
      {"playlist:x", {"x"}},
      {"playlist:", {""}},
      {"playlist:a,b", {"a,b"}},
      {"source:local", {}},
      {"all", {}},
      {"regulars", {}},
  };
  for (const auto& [poolId, expected] : cases) EXPECT_EQ(Library::playlistIDs(poolId), expected) << poolId;
}

TEST(Playlist, DisplayName) {
  EXPECT_EQ((Playlist{"aaaa", "Warm Up", {"House", "Deep"}, {}}.displayName()),
            "House \u203A Deep \u203A Warm Up");
  EXPECT_EQ((Playlist{"aaaa", "Warm Up", {}, {}}.displayName()), "Warm Up");
}

TEST(LibraryJson, GoldenFormsRoundTrip) {
  Library lib = sample();
  lib.tracks.resize(2);
  lib.playlists.resize(1);
  lib.report.totalEntries = 2;
  lib.report.sources = {{"local", 2}};
  lib.importedAt = Date{700000000.25};
  const std::string golden = test::readGolden("library.json");
  EXPECT_EQ(json::write(lib.toJson()), golden);
  const Library decoded = Library::fromJson(json::parse(golden));
  EXPECT_EQ(decoded.tracks, lib.tracks);
  EXPECT_EQ(decoded.playlists, lib.playlists);
  EXPECT_EQ(decoded.report, lib.report);
  EXPECT_EQ(json::write(decoded.toJson()), golden);

  const std::string emptyGolden = test::readGolden("library_empty.json");
  EXPECT_EQ(json::write(Library::fromJson(json::parse(emptyGolden)).toJson()), emptyGolden);

  const Playlist playlist{"0123456789abcdef", "Warm Up", {"House"}, {"1", "1", "2"}};
  EXPECT_EQ(json::write(playlist.toJson()), test::readGolden("playlist.json"));
  EXPECT_EQ(Playlist::fromJson(json::parse(test::readGolden("playlist.json"))), playlist);
}

TEST(LibraryJson, RepeatedPlaylistEntriesAreReadIntoOneText) {
  Library library = Library::empty();
  library.playlists = {Playlist{"0000000000000001", "A", {}, {"7", "8", "7"}},
                       Playlist{"0000000000000002", "B", {}, {"8", "7"}}};
  const Library decoded = Library::fromJson(library.toJson());
  const auto& first = decoded.playlists[0].trackIDs;
  const auto& second = decoded.playlists[1].trackIDs;
  ASSERT_EQ(first, library.playlists[0].trackIDs);
  ASSERT_EQ(second, library.playlists[1].trackIDs);
  EXPECT_TRUE(first[0].sharesWith(first[2]));
  EXPECT_TRUE(first[0].sharesWith(second[1]));
  EXPECT_TRUE(first[1].sharesWith(second[0]));
  EXPECT_FALSE(first[0].sharesWith(first[1]));
}

TEST(LibraryJson, EveryKeyIsRequired) {
  const json::Value library = json::parse(test::readGolden("library.json"));
  for (const char* key : {"tracks", "playlists", "report", "sourceFileName", "importedAt"}) {
    json::Value broken = library;
    broken.erase(key);
    EXPECT_THROW(Library::fromJson(broken), json::DecodingError) << key;
  }
  json::Value brokenReport = library;
  brokenReport["report"].erase("duplicateTrackIDs");
  EXPECT_THROW(Library::fromJson(brokenReport), json::DecodingError);

  const json::Value playlist = json::parse(test::readGolden("playlist.json"));
  for (const char* key : {"id", "name", "folderPath", "trackIDs"}) {
    json::Value broken = playlist;
    broken.erase(key);
    EXPECT_THROW(Playlist::fromJson(broken), json::DecodingError) << key;
  }
}

}  // namespace
}  // namespace kesta
