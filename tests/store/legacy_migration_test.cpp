#include "store/legacy_migration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "library/text_tools.h"
#include "store/app_store.h"
#include "store/store_fixtures.h"
#include "support/test_paths.h"

namespace kesta {
namespace {

using defaults::Dictionary;
using defaults::Value;
using test::PlistFormat;
using test::ScopedEnv;
using test::TempFolder;
using test::writeDomain;

Value bytesOf(const std::string& fixture) {
  return Value{defaults::Data{test::readFile(test::sourceDir() / "tests" / "store" / "fixtures" / fixture)}};
}

Value text(std::string value) { return Value{std::move(value)}; }
Value integer(std::int64_t value) { return Value{value}; }

// Everything the earlier version kept, in one domain.
Dictionary fullDomain() {
  return {
      {"Kesta.lastRekordboxXMLPath.v1", text("/Users/dj/rekordbox.xml")},
      {"Kesta.trackRatings.v1",
       Value{Dictionary{
           {"Spotify:1234", Value{4.9}}, {"Beatport:8", Value{true}}, {"SoundCloud:-5", integer(3)}}}},
      {"Kesta.savedLibrary.v1", bytesOf("old-saved-library.json")},
      {"Kesta.savedSets.v1", bytesOf("old-saved-sets.json")},
      {"Kesta.activeSet.v1", bytesOf("old-active-set.json")},
      {"SomethingElse", text("ignored")},
  };
}

// Reads the given domains from plist files in a temporary home folder.
class LegacyRead : public ::testing::TestWithParam<PlistFormat> {
 protected:
  std::optional<LegacyData> readDomains(const std::vector<std::pair<std::string, Dictionary>>& domains,
                                        const std::vector<std::string>& names) {
    for (const auto& [name, values] : domains) writeDomain(home_.path(), name, values, GetParam());
    return LegacyMigration::read(names, [&](const std::string& name) {
      opened_.push_back(name);
      return defaults::Domain::open(name, home_.path());
    });
  }
  std::optional<LegacyData> readOne(const Dictionary& values) { return readDomains({{"d", values}}, {"d"}); }

  TempFolder home_;
  std::vector<std::string> opened_;
};

TEST_P(LegacyRead, EverythingTheEarlierVersionKeptIsBroughtOver) {
  const auto data = readOne(fullDomain());
  ASSERT_TRUE(data);
  EXPECT_EQ(data->sourceDomain, "d");
  EXPECT_EQ(data->xmlPath, std::optional<std::string>("/Users/dj/rekordbox.xml"));
  const std::map<std::string, std::int64_t> ratings{
      {"Spotify:1234", 4}, {"Beatport:8", 1}, {"SoundCloud:-5", 3}};
  EXPECT_EQ(data->ratings, ratings);
  EXPECT_EQ(data->unresolvedRatings, ratings);

  // Later tracks with the same old key replace earlier ones; sourceID wins over id.
  const std::map<std::string, LegacyData::LegacyTrack> tracks{
      {"Spotify:1234", {"Strobe (Radio Edit)", "deadmau5"}},
      {"Beatport:8", {"Opus", "Eric Prydz"}},
      {"SoundCloud:-5", {"Café del Mar", "Energy 52"}},
  };
  EXPECT_EQ(data->tracks, tracks);

  // The running set first, then the saved ones; sets without plays are dropped.
  ASSERT_EQ(data->sets.size(), 3u);
  const auto& running = data->sets[0];
  EXPECT_EQ(running.startedAt, Date{716500000});
  EXPECT_EQ(running.endedAt, Date{716500060});
  EXPECT_EQ(data->sets[1].endedAt, Date{716107200});
  EXPECT_EQ(data->sets[2].endedAt, Date{716200100});  // the last play in the list, not the latest
  for (const auto& set : data->sets) {
    EXPECT_TRUE(set.legacy);
    EXPECT_EQ(set.id.size(), 36u);
    for (const auto& event : set.events) {
      EXPECT_EQ(event.kind, SetEvent::Kind::loaded);
      EXPECT_FALSE(event.lane);
      EXPECT_FALSE(event.deck);
      EXPECT_EQ(event.songKey,
                TextTools::normalized(*event.title) + "|" + TextTools::normalized(*event.artist));
    }
  }
  EXPECT_NE(data->sets[1].id, data->sets[2].id);
  EXPECT_EQ(running.events[0].trackKey, std::optional<StableKey>(StableKey{"apple-music:55"}));
  EXPECT_EQ(data->sets[1].events[0].trackKey, std::optional<StableKey>(StableKey{"spotify:1234"}));
  EXPECT_FALSE(data->sets[1].events[1].trackKey);  // Tidal was never a provider
  EXPECT_FALSE(data->sets[2].events[1].trackKey);  // no ":" at all
  EXPECT_EQ(data->sets[2].events[0].at, Date{716200200});
}

TEST_P(LegacyRead, RatingsKeepOnlyNumbersOnTheRatingScale) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  const Dictionary ratings{
      {"a", Value{4.9}},
      {"b", Value{true}},
      {"c", Value{false}},
      {"d", integer(5)},
      {"e", integer(-7)},
      {"f", integer(99)},
      {"g", Value{-0.5}},
      {"h", Value{1e300}},
      {"i", Value{nan}},
      {"j", Value{infinity}},
      {"k", Value{-infinity}},
      {"l", text("4")},
      {"m", Value{Date{1}}},
      {"n", Value{Dictionary{}}},
      {"o", integer(std::numeric_limits<std::int64_t>::min())},
  };
  const auto data = readOne({{"Kesta.trackRatings.v1", Value{ratings}}});
  ASSERT_TRUE(data);
  const std::map<std::string, std::int64_t> expected{{"a", 4}, {"b", 1}, {"c", 0}, {"d", 5}, {"e", 0},
                                                     {"f", 5}, {"g", 0}, {"h", 5}, {"o", 0}};
  EXPECT_EQ(data->ratings, expected);
}

TEST_P(LegacyRead, MistypedKeysCountAsAbsent) {
  auto values = fullDomain();
  values["Kesta.lastRekordboxXMLPath.v1"] = integer(3);
  values["Kesta.trackRatings.v1"] = Value{defaults::Array{integer(4)}};
  values["Kesta.savedSets.v1"] = text("[]");
  values["Kesta.activeSet.v1"] = Value{Dictionary{}};
  const auto data = readOne(values);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->xmlPath, std::optional<std::string>("/Users/dj/Music/rekordbox-0.5.xml"));  // the library's
  EXPECT_TRUE(data->ratings.empty());
  EXPECT_TRUE(data->sets.empty());
  EXPECT_EQ(data->tracks.size(), 3u);

  values["Kesta.savedLibrary.v1"] = text("not bytes");
  EXPECT_FALSE(readDomains({{"e", values}}, {"e"}));
}

TEST_P(LegacyRead, UndecodableValuesLoseOnlyWhatTheyHold) {
  struct Case {
    std::string name;
    std::string key;
    std::string bytes;
    std::size_t sets;
    std::size_t tracks;
    std::optional<std::string> xmlPath;
  };
  const std::string path = "/Users/dj/rekordbox.xml";
  const std::vector<Case> cases = {
      // One malformed old set loses every saved set; the running set is still read.
      {"lane-number", "Kesta.savedSets.v1",
       R"([{"startedAt":1,"plays":[{"at":2,"trackKey":"Spotify:1","title":"a","artist":"b","recommendationLane":3}]}])",
       1, 3, path},
      {"sets-not-json", "Kesta.savedSets.v1", "\x01\x02", 1, 3, path},
      {"active-without-start", "Kesta.activeSet.v1", R"({"plays":[]})", 2, 3, path},
      // One undecodable old track loses every title.
      {"track-without-provider", "Kesta.savedLibrary.v1",
       R"({"sourcePath":"/x.xml","tracks":[{"id":1,"title":"a","artist":"b","provider":"Spotify"},{"id":2,"title":"c","artist":"d"}]})",
       3, 0, path},
  };
  for (const auto& c : cases) {
    auto values = fullDomain();
    values[c.key] = Value{defaults::Data{c.bytes}};
    const auto data = readDomains({{c.name, values}}, {c.name});
    ASSERT_TRUE(data) << c.name;
    EXPECT_EQ(data->sets.size(), c.sets) << c.name;
    EXPECT_EQ(data->tracks.size(), c.tracks) << c.name;
    EXPECT_EQ(data->xmlPath, c.xmlPath) << c.name;
  }

  // Library bytes alone choose the domain even when they do not decode.
  const auto alone = readOne({{"Kesta.savedLibrary.v1", Value{defaults::Data{"{"}}}});
  ASSERT_TRUE(alone);
  EXPECT_FALSE(alone->xmlPath);
  EXPECT_TRUE(alone->tracks.empty());
}

TEST_P(LegacyRead, TheFirstDomainHoldingAnythingIsTheOnlyOneRead) {
  const Dictionary textRatingsOnly{{"Kesta.trackRatings.v1", Value{Dictionary{{"Spotify:1", text("five")}}}}};
  const Dictionary pathOnly{{"Kesta.lastRekordboxXMLPath.v1", text("")}};
  const auto data = readDomains({{"first", textRatingsOnly}, {"second", pathOnly}, {"third", fullDomain()}},
                                {"missing", "first", "second", "third"});
  ASSERT_TRUE(data);
  EXPECT_EQ(data->sourceDomain, "second");
  EXPECT_EQ(data->xmlPath, std::optional<std::string>(""));
  EXPECT_EQ(opened_, (std::vector<std::string>{"missing", "first", "second"}));

  EXPECT_FALSE(readDomains({{"nothing", {{"Other", text("x")}}}}, {"nothing", "absent"}));
  EXPECT_FALSE(LegacyMigration::read({}, [](const std::string&) -> std::optional<defaults::Domain> {
    ADD_FAILURE() << "no domain to open";
    return std::nullopt;
  }));
}

INSTANTIATE_TEST_SUITE_P(BinaryAndXml, LegacyRead, ::testing::Values(PlistFormat::binary, PlistFormat::xml));

TEST(LegacyMigration, DomainsComeFromTheEnvironment) {
  struct Case {
    std::optional<std::string> value;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {std::nullopt, {"com.kesta.live.beta", "com.kesta.live.prototype"}},
      {"none", {}},
      {"None", {"None"}},
      {"", {}},
      {"a.one,,b.two", {"a.one", "b.two"}},
      {" spaced, x ", {" spaced", " x "}},
      {",only,", {"only"}},
  };
  for (const auto& c : cases) {
    const ScopedEnv env("KESTA_LEGACY_DOMAINS", c.value);
    EXPECT_EQ(LegacyMigration::domains(), c.expected) << c.value.value_or("(unset)");
  }
}

TEST(LegacyMigration, SeveralDomainsFromTheEnvironmentAreReadFromTheHomeFolder) {
  const TempFolder home;
  writeDomain(home.path(), "org.other.second", fullDomain(), PlistFormat::binary);
  writeDomain(home.path(), "org.other.third", {{"Kesta.lastRekordboxXMLPath.v1", text("/third.xml")}},
              PlistFormat::xml);
  const ScopedEnv homeEnv("HOME", home.path().string());
  const ScopedEnv domains("KESTA_LEGACY_DOMAINS", "org.other.first,org.other.second,org.other.third");
  const auto data = LegacyMigration::read(LegacyMigration::domains());
  ASSERT_TRUE(data);
  EXPECT_EQ(data->sourceDomain, "org.other.second");

  const ScopedEnv none("KESTA_LEGACY_DOMAINS", "none");
  EXPECT_FALSE(LegacyMigration::read(LegacyMigration::domains()));
}

TEST(LegacyMigration, ReadingOnceLeavesTheOldDefaultsUntouchedAndTheRecordIsKept) {
  const TempFolder home;
  writeDomain(home.path(), "com.kesta.live.beta", fullDomain(), PlistFormat::binary);
  const auto file = defaults::Domain::fileOf("com.kesta.live.beta", home.path());
  const auto before = test::readFile(file);
  const auto modified = std::filesystem::last_write_time(file);

  const ScopedEnv homeEnv("HOME", home.path().string());
  const ScopedEnv domains("KESTA_LEGACY_DOMAINS", std::nullopt);
  const auto data = LegacyMigration::read(LegacyMigration::domains());
  ASSERT_TRUE(data);
  EXPECT_EQ(test::readFile(file), before);
  EXPECT_EQ(std::filesystem::last_write_time(file), modified);

  // Once saved, later launches find the record in the data folder.
  const AppStore store(home / "data");
  store.saveLegacy(*data);
  std::filesystem::remove(file);
  EXPECT_EQ(store.legacy(), data);
}

TEST(LegacyMigration, TranslateKnowsOnlyTheEarlierProviders) {
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
      {"Spotify:42", "spotify:42"},       {"SoundCloud:7", "soundcloud:7"},
      {"Apple Music:1", "apple-music:1"}, {"Beatport:a:b", "beatport:a:b"},
      {"Beatport:", std::nullopt},        {"spotify:5", std::nullopt},
      {"Tidal:9", std::nullopt},          {"Spotify", std::nullopt},
      {" Spotify:1", std::nullopt},       {"", std::nullopt},
  };
  for (const auto& [old, expected] : cases) {
    const auto key = LegacyMigration::translate(old);
    EXPECT_EQ(key ? std::optional(key->raw) : std::nullopt, expected) << old;
  }
}

}  // namespace
}  // namespace kesta
