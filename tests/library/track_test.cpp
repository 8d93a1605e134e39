#include "library/track.h"

#include <gtest/gtest.h>

#include <string>
#include <unordered_set>
#include <utility>

#include "golden.h"
#include "library/energy_tag.h"
#include "platform/json/json_coding.h"

namespace kesta {
namespace {

Track fullTrack() {
  return Track{"42",
               StableKey{"file:23a083969928ee51357208fb"},
               Source::local(),
               "Se\u00f1or Track",
               "Some Artist",
               "Dub Mix",
               "Deep House",
               127.5,
               "Abm",
               MusicalKey{1, true},
               7,
               245,
               12,
               4,
               3,
               1};
}

Track titled(std::string title, std::optional<double> bpm = 124) {
  Track track = fullTrack();
  track.title = std::move(title);
  track.bpm = bpm;
  return track;
}

TEST(Track, SongKeyIgnoresCaseAccentsAndPunctuation) {
  Track a = fullTrack();
  Track b = fullTrack();
  b.title = "senor track!";
  b.remixer = "Other Mix";
  b.genre = "Techno";
  EXPECT_EQ(a.songKey(), "senortrack|someartist");
  EXPECT_EQ(a.songKey(), b.songKey());
  b.artist = "Another Artist";
  EXPECT_NE(a.songKey(), b.songKey());
}

TEST(Track, RecommendableNeedsATitleAndABpm) {
  const std::tuple<Track, bool, bool> cases[] = {
      {titled("Track"), true, true},      {titled("  "), false, false},
      {titled("\t"), false, false},       {titled("\n"), true, true},  // only spaces and tabs are trimmed
      {titled(""), false, false},         {titled("Track", 0), true, false},
      {titled("Track", -1), true, false}, {titled("Track", std::nullopt), true, false},
  };
  for (const auto& [track, hasTitle, recommendable] : cases) {
    EXPECT_EQ(track.hasTitle(), hasTitle) << track.title;
    EXPECT_EQ(track.isRecommendable(), recommendable) << track.title << " " << track.bpm.value_or(-99);
  }
  Track unparsedKey = fullTrack();
  unparsedKey.musicalKey.reset();
  EXPECT_TRUE(fullTrack().hasKey());
  EXPECT_FALSE(unparsedKey.hasKey());
}

TEST(Track, DisplayTexts) {
  const std::pair<std::optional<double>, const char*> bpms[] = {
      {126.0, "126"},    {125.95, "126.0"}, {125.5, "125.5"},
      {127.96, "128.0"}, {128, "128"},      {std::nullopt, "\u2014"},
  };
  for (const auto& [bpm, expected] : bpms) EXPECT_EQ(titled("T", bpm).displayBPM(), expected);

  Track track = fullTrack();
  EXPECT_EQ(track.displayKey(), "Abm");
  track.keyText = "";
  EXPECT_EQ(track.displayKey(), "");
  track.keyText.reset();
  EXPECT_EQ(track.displayKey(), "\u2014");

  EXPECT_EQ(track.displayArtist(), "Some Artist");
  track.artist = "";
  EXPECT_EQ(track.displayArtist(), "Unknown artist");
  track.artist = " ";
  EXPECT_EQ(track.displayArtist(), " ");
}

TEST(Track, EqualityAndHashingCoverEveryField) {
  Track other = fullTrack();
  other.memoryCueCount = 2;
  EXPECT_NE(fullTrack(), other);
  EXPECT_EQ(fullTrack(), fullTrack());
  Track noBpm = fullTrack();
  noBpm.bpm.reset();
  const std::unordered_set<Track> set = {fullTrack(), fullTrack(), other, noBpm};
  EXPECT_EQ(set.size(), 3u);
}

TEST(StableKey, LocationKeysMatchSha256sum) {
  // Expected values: `printf '%s' <location> | sha256sum`, first 24 hex digits.
  const std::pair<const char*, const char*> cases[] = {
      {"file://localhost/Users/dj/Music/Track%20One.mp3", "23a083969928ee51357208fb"},
      {"file://localhost/Users/dj/Music/Track One.mp3", "d1e53ccc559d6327b37ab7da"},
      {"file://localhost/users/dj/music/track one.mp3", "e930b3bc9eb10a9cbe4c2fe8"},
      {"file://localhost/C:/Music/\u00dcn\u00efcode #1.flac", "dc2990b8688edb0b033ed0bf"},
      {"", "e3b0c44298fc1c149afbf4c8"},
  };
  for (const auto& [location, digest] : cases) {
    const StableKey key = StableKey::forLocation(location);
    EXPECT_EQ(key.raw, std::string("file:") + digest) << location;
    EXPECT_EQ(key.raw.size(), 29u);
    EXPECT_EQ(StableKey::forLocation(location), key);
  }
}

TEST(StableKey, MetadataKeysAreNormalisedText) {
  EXPECT_EQ(StableKey::forMetadata("Some Title!", "Some Artist", 245).raw, "meta:sometitle|someartist|245");
  EXPECT_EQ(StableKey::forMetadata("\uff21", "B", 7).raw, "meta:a|b|7");
  EXPECT_EQ(StableKey::forMetadata("", "", 0).raw, "meta:||0");
}

TEST(Source, DisplayNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"spotify", "Spotify"},
      {"soundcloud", "SoundCloud"},
      {"apple-music", "Apple Music"},
      {"beatport", "Beatport"},
      {"beatsource", "Beatsource"},
      {"tidal", "TIDAL"},
      {"local", "Local files"},
      {"unknown", "Unknown"},
      {"deezer", "Deezer"},
      {"my-service", "My-Service"},
      {"x2go", "X2go"},
      {"", ""},
  };
  for (const auto& [slug, name] : cases) EXPECT_EQ(Source{slug}.displayName(), name) << slug;
  EXPECT_TRUE(Source::local().isLocal());
  EXPECT_FALSE(Source{"spotify"}.isLocal());
  EXPECT_EQ(Source::knownStreaming(),
            (std::set<std::string, std::less<>>{"spotify", "soundcloud", "apple-music", "beatport",
                                                "beatsource", "tidal"}));
}

TEST(EnergyTag, ReadsTheFirstRatingInPreferenceOrder) {
  const std::pair<std::vector<std::string_view>, std::optional<int>> cases[] = {
      {{"Energy 6, great opener", "energy 9"}, 6},
      {{"", "E: 5 energy: 10"}, 10},
      {{"energy 11"}, std::nullopt},
      {{"energy 0"}, std::nullopt},
      {{"energy 75"}, std::nullopt},
      {{"Energy: 7"}, 7},
      {{"ENERGY-10"}, 10},
      {{"energy8"}, 8},
      {{"high energy", "Energy 3"}, 3},
      {{"energy 12 then energy 4"}, 4},
      {{"Energie 5", "nrg 5"}, std::nullopt},
      {{}, std::nullopt},
  };
  for (const auto& [fields, expected] : cases) {
    EXPECT_EQ(EnergyTag::parse(fields), expected) << (fields.empty() ? "" : fields.front());
  }
}

TEST(TrackJson, GoldenFormsRoundTrip) {
  Track minimal = fullTrack();
  minimal.bpm.reset();
  minimal.keyText.reset();
  minimal.musicalKey.reset();
  minimal.energy.reset();
  minimal.key = StableKey{"spotify:4uLU6hMCjMI75M1A2tKUQC"};
  minimal.source = Source{"spotify"};
  const std::pair<Track, const char*> cases[] = {{fullTrack(), "track.json"},
                                                 {minimal, "track_minimal.json"}};
  for (const auto& [track, file] : cases) {
    const std::string golden = test::readGolden(file);
    EXPECT_EQ(json::write(track.toJson()), golden) << file;
    const Track decoded = Track::fromJson(json::parse(golden));
    EXPECT_EQ(decoded, track) << file;
    EXPECT_EQ(json::write(decoded.toJson()), golden) << file;
  }
  EXPECT_EQ(json::write(StableKey{"meta:a|b|7"}.toJson()), test::readGolden("stable_key.json"));
  EXPECT_EQ(StableKey::fromJson(json::parse(test::readGolden("stable_key.json"))), StableKey{"meta:a|b|7"});
  EXPECT_EQ(json::write(Source{"apple-music"}.toJson()), test::readGolden("source.json"));
  EXPECT_EQ(Source::fromJson(json::parse(test::readGolden("source.json"))), Source{"apple-music"});
}

TEST(TrackJson, RequiredKeysAndKinds) {
  const json::Value stored = json::parse(test::readGolden("track.json"));
  for (const char* key : {"id", "key", "source", "title", "artist", "remixer", "genre", "durationSeconds",
                          "playCount", "stars", "hotCueCount", "memoryCueCount"}) {
    json::Value broken = stored;
    broken.erase(key);
    EXPECT_THROW(Track::fromJson(broken), json::DecodingError) << "missing " << key;
    broken[key] = true;
    EXPECT_THROW(Track::fromJson(broken), json::DecodingError) << "mistyped " << key;
  }
  for (const char* key : {"bpm", "keyText", "musicalKey", "energy"}) {
    json::Value mistyped = stored;
    mistyped[key] = true;
    EXPECT_THROW(Track::fromJson(mistyped), json::DecodingError) << "mistyped " << key;
  }
  json::Value extra = stored;
  extra["comment"] = "ignored";
  EXPECT_EQ(Track::fromJson(extra), fullTrack());
  json::Value tooLarge = stored;
  tooLarge["playCount"] = 1LL << 40;
  EXPECT_THROW(Track::fromJson(tooLarge), json::DecodingError);
}

}  // namespace
}  // namespace kesta
