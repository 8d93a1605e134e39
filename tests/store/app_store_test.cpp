#include "store/app_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/json/json_coding.h"
#include "store/store_fixtures.h"

namespace kesta {
namespace {

using test::fileNames;
using test::readFile;
using test::ScopedEnv;
using test::TempFolder;
using test::writeFile;

long long unixNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

TEST(AppStore, DefaultRootFollowsTheEnvironment) {
  struct Case {
    std::optional<std::string> dataDir;
    std::optional<std::string> xdgDataHome;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"/srv/kesta data", "/xdg", "/srv/kesta data"},
      {"relative/dir ", std::nullopt, "relative/dir "},  // taken as it stands, blank kept
      {"", "/xdg", "/xdg/Kesta Live Beta"},
      {std::nullopt, "/xdg", "/xdg/Kesta Live Beta"},
      {std::nullopt, "", "/home/dj/.local/share/Kesta Live Beta"},
      {std::nullopt, "not/absolute", "/home/dj/.local/share/Kesta Live Beta"},
      {std::nullopt, std::nullopt, "/home/dj/.local/share/Kesta Live Beta"},
  };
  const ScopedEnv home("HOME", "/home/dj");
  for (const auto& c : cases) {
    const ScopedEnv dataDir("KESTA_DATA_DIR", c.dataDir);
    const ScopedEnv xdg("XDG_DATA_HOME", c.xdgDataHome);
    EXPECT_EQ(AppStore::defaultRoot(), std::filesystem::path(c.expected)) << c.dataDir.value_or("(unset)");
  }
}

TEST(AppStore, AStoreMadeWithoutARootUsesTheDataDirFromTheEnvironment) {
  const TempFolder folder;
  const ScopedEnv dataDir("KESTA_DATA_DIR", (folder / "nested" / "data").string());
  const AppStore store;
  EXPECT_EQ(store.root(), folder / "nested" / "data");
  EXPECT_TRUE(std::filesystem::is_directory(store.root()));
  store.saveUserData(UserData{{{"file:1", 5}}, {}});
  store.flush();
  EXPECT_TRUE(std::filesystem::exists(folder / "nested" / "data" / "userdata.json"));
}

TEST(AppStore, AFirstRunYieldsDefaultsAndWritesNothing) {
  const TempFolder folder;
  const AppStore store(folder / "Kesta Live Beta");
  EXPECT_EQ(store.preferences(), Preferences{});
  EXPECT_EQ(store.userData(), UserData{});
  EXPECT_TRUE(store.archivedSets().empty());
  EXPECT_FALSE(store.storedLibrary());
  EXPECT_FALSE(store.activeSet());
  EXPECT_FALSE(store.legacy());
  EXPECT_FALSE(store.latestDiagnostics(std::nullopt));
  store.saveActiveSet(std::nullopt);
  EXPECT_TRUE(fileNames(store.root()).empty());
}

TEST(AppStore, EveryRecordRoundTripsThroughItsFile) {
  const TempFolder folder;
  const AppStore store(folder.path());

  Preferences preferences;
  preferences.xmlPath = "/Music/rekordbox.xml";
  preferences.poolByLibrary["rekordbox.xml"] = "regulars";
  preferences.windowTopLeft["card"] = {100, 200.5};
  preferences.oneClickLoad = true;
  preferences.resumePoint =
      ResumePoint{{DeckContent::ambiguous({"1", "2"}), DeckContent::empty()}, 1, Date{5.5}};
  store.savePreferences(preferences);
  EXPECT_EQ(store.preferences(), preferences);

  const UserData userData{{{"file:aa", 4}}, {{"file:aa>file:bb", 2}}};
  store.saveUserData(userData);
  EXPECT_EQ(store.userData(), userData);

  const StoredLibrary library{test::sampleLibrary(20), "/Music/rekordbox.xml", std::nullopt};
  store.saveLibrary(library);
  ASSERT_TRUE(store.storedLibrary());
  EXPECT_EQ(store.storedLibrary()->toJson(), library.toJson());

  const DJSet active = test::sampleSet(730000000);
  store.saveActiveSet(active);
  EXPECT_EQ(store.activeSet(), active);

  const std::vector<DJSet> archive = {test::sampleSet(720000000), test::sampleSet(710000000)};
  store.saveArchivedSets(archive);
  EXPECT_EQ(store.archivedSets(), archive);

  const LegacyData legacy{"com.kesta.live.beta", "/old.xml", {{"Spotify:1", 3}}, {}, archive,
                          {{"Spotify:1", 3}}};
  store.saveLegacy(legacy);
  EXPECT_EQ(store.legacy(), legacy);

  store.saveActiveSet(std::nullopt);
  EXPECT_FALSE(store.activeSet());
  EXPECT_EQ(fileNames(store.root()),
            (std::vector<std::string>{"legacy-import.json", "library.json", "preferences.json", "sets.json",
                                      "userdata.json"}));
}

TEST(AppStore, SavedFilesAreCompactWithSortedKeys) {
  const TempFolder folder;
  const AppStore store(folder.path());
  Preferences preferences;
  preferences.xmlPath = "/x.xml";
  store.savePreferences(preferences);
  store.flush();
  EXPECT_EQ(readFile(folder / "preferences.json"),
            R"({"compact":false,"includeRawText":false,"legacyImported":false,"poolByLibrary":{},)"
            R"("windowTopLeft":{},"xmlPath":"/x.xml"})");
  store.saveArchivedSets({test::sampleSet(1)});
  store.flush();
  const auto sets = readFile(folder / "sets.json");
  EXPECT_EQ(sets.find('\n'), std::string::npos);
  EXPECT_LT(sets.find("\"endedAt\""), sets.find("\"events\""));
}

TEST(AppStore, RecordsSavedJustBeforeTheStoreGoesAreOnTheDisk) {
  const TempFolder folder;
  Preferences preferences;
  preferences.compact = true;
  const DJSet active = test::sampleSet(1);
  {
    const AppStore store(folder.path());
    store.saveActiveSet(active);
    store.savePreferences(preferences);
    store.saveActiveSet(std::nullopt);
    store.saveActiveSet(active);
  }
  const AppStore reopened(folder.path());
  EXPECT_EQ(reopened.preferences(), preferences);
  EXPECT_EQ(reopened.activeSet(), active);
}

TEST(AppStore, AnUndecodableFileIsSetAsideAndDefaultsAreUsed) {
  struct Case {
    std::string file;
    std::string content;
  };
  const std::vector<Case> cases = {
      {"preferences.json", "{}"},
      {"preferences.json",
       R"({"poolByLibrary":{},"includeRawText":false,"compact":false,"windowTopLeft":{}})"},
      {"userdata.json", R"({"ratings":{"file:a":4}})"},
      {"library.json", R"({"xmlPath":"/x.xml"})"},
      {"active-set.json", "{\"id\":"},
      {"sets.json", "null"},
      {"sets.json", R"([{"id":"not-a-uuid","startedAt":0,"events":[],"legacy":false}])"},
      {"legacy-import.json", R"({"sourceDomain":"d","ratings":{},"sets":[],"unresolvedRatings":{}})"},
  };
  for (const auto& c : cases) {
    const TempFolder folder;
    const AppStore store(folder.path());
    writeFile(folder / c.file, c.content);
    const long long before = unixNow();

    EXPECT_EQ(store.preferences(), Preferences{});
    EXPECT_EQ(store.userData(), UserData{});
    EXPECT_FALSE(store.storedLibrary());
    EXPECT_FALSE(store.activeSet());
    EXPECT_TRUE(store.archivedSets().empty());
    EXPECT_FALSE(store.legacy());

    const auto names = fileNames(folder.path());
    ASSERT_EQ(names.size(), 1u) << c.file;
    const std::string prefix = c.file + ".unreadable-";
    ASSERT_TRUE(names[0].starts_with(prefix)) << names[0];
    const long long seconds = std::stoll(names[0].substr(prefix.size()));
    EXPECT_GE(seconds, before);
    EXPECT_LE(seconds, unixNow());
    EXPECT_EQ(readFile(folder / names[0]), c.content);
  }
}

TEST(AppStore, AnEmptyArchiveIsReadableAndTheCapKeepsTheFirstHundred) {
  const TempFolder folder;
  const AppStore store(folder.path());
  writeFile(folder / "sets.json", "[]");
  EXPECT_TRUE(store.archivedSets().empty());
  EXPECT_EQ(fileNames(folder.path()), std::vector<std::string>{"sets.json"});

  for (const std::size_t count : {std::size_t{40}, std::size_t{100}, std::size_t{150}}) {
    std::vector<DJSet> sets;
    for (std::size_t i = 0; i < count; ++i) sets.push_back(test::sampleSet(800000000.0 - double(i) * 3600));
    store.saveArchivedSets(sets);
    const auto stored = store.archivedSets();
    ASSERT_EQ(stored.size(), std::min<std::size_t>(count, 100));
    EXPECT_TRUE(std::equal(stored.begin(), stored.end(), sets.begin()));
    EXPECT_EQ(sets.size(), count);
  }
}

TEST(AppStore, ASaveAfterTheFolderWasRemovedCreatesItAgain) {
  const TempFolder folder;
  const AppStore store(folder / "data");
  std::filesystem::remove_all(folder / "data");
  store.saveUserData(UserData{{{"file:1", 2}}, {}});
  EXPECT_EQ(store.userData().ratings.at("file:1"), 2);

  std::filesystem::remove_all(folder / "data");
  EXPECT_NO_THROW(store.saveLibrary(StoredLibrary{test::sampleLibrary(1), "/x.xml", std::nullopt}));
  EXPECT_TRUE(store.storedLibrary());
}

TEST(AppStore, LibraryEncodingFailuresReachTheCallerAndKeepTheOldFile) {
  const TempFolder folder;
  const AppStore store(folder.path());
  const StoredLibrary good{test::sampleLibrary(3), "/x.xml", Date{1}};
  store.saveLibrary(good);

  StoredLibrary bad = good;
  bad.library.tracks[0].bpm = std::numeric_limits<double>::infinity();
  EXPECT_THROW(store.saveLibrary(bad), json::EncodingError);
  EXPECT_EQ(store.storedLibrary()->toJson(), good.toJson());

  // The silent savers keep the old file too.
  Preferences preferences;
  preferences.compact = true;
  store.savePreferences(preferences);
  preferences.windowTopLeft["card"] = {std::nan(""), 1};
  store.savePreferences(preferences);
  EXPECT_TRUE(store.preferences().compact);
  EXPECT_TRUE(store.preferences().windowTopLeft.empty());
}

}  // namespace
}  // namespace kesta
