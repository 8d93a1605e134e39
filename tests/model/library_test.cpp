#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <time.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "library/library_import_error.h"
#include "library/rekordbox_xml_importer.h"
#include "model_fixture.h"
#include "model_probe.h"
#include "store/store_files.h"
#include "support/test_paths.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one scope.
class ScopedVariable {
 public:
  ScopedVariable(std::string name, const std::string& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) previous_ = old;
    setenv(name_.c_str(), value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (previous_) {
      setenv(name_.c_str(), previous_->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

// Sets a file's modification time to whole Unix seconds plus nanoseconds.
void setModified(const fs::path& file, time_t seconds, long nanoseconds = 0) {
  const timespec times[2] = {{0, UTIME_OMIT}, {seconds, nanoseconds}};
  ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0) << file;
}

constexpr time_t kExportedAt = 1'777'600'000;

// The data folder's files, with a look at each read as it starts.
class WatchedFiles : public StoreFiles {
 public:
  std::function<void(const std::string& name)> onRead;

  files::ReadResult read(const std::filesystem::path& file, std::uint64_t maxBytes) const override {
    if (onRead) onRead(file.filename().string());
    return StoreFiles::read(file, maxBytes);
  }
};

// A model over a temporary home folder (Wine prefix included) and data
// folder, with the earlier version's defaults switched off.
class LibraryTest : public ModelFixture {
 protected:
  LibraryTest() { fs::create_directories(home / "Music"); }
  ~LibraryTest() override {
    std::error_code ignored;
    fs::remove_all(home, ignored);
  }

  // Copies a fixture export into the home folder under `name`, dated `seconds`.
  fs::path placeExport(const std::string& fixture, const std::string& name, time_t seconds = kExportedAt,
                       long nanoseconds = 0) {
    const fs::path target = home / "Music" / name;
    fs::copy_file(kesta::test::sourceDir() / "tests" / "model" / "fixtures" / fixture, target,
                  fs::copy_options::overwrite_existing);
    setModified(target, seconds, nanoseconds);
    return target;
  }

  // Runs background jobs and main-thread work until nothing is left.
  void settle() {
    while (executor->pending() > 0 || queue->pending() > 0) {
      if (executor->pending() > 0) executor->runNext();
      queue->drain();
    }
  }
  // One background job, then the main-thread work it handed back.
  void runJob(std::size_t position = 0) {
    executor->runJob(position);
    queue->drain();
  }

  // A new launch over the same data folder, its restore job not yet run.
  AppModel& relaunch() {
    modelPointer().reset();
    return model();
  }

  // First launch: the user picks `file`, which is imported and stored.
  void importOnce(const fs::path& file) {
    model();
    settle();
    panels->answers.push_back(file);
    model().chooseLibraryFile();
    settle();
    ASSERT_EQ(model().libraryState(), LibraryState::ready());
  }

  // The earlier version's record already merged, with one rating of a track
  // it names but the library has yet to resolve, saved with `preferences`;
  // answers that record.
  LegacyData storeOneUnresolvedRating(Preferences preferences = {}) {
    preferences.legacyImported = true;
    store->savePreferences(preferences);
    LegacyData legacy;
    legacy.ratings = {{"Spotify:9", 5}};
    legacy.unresolvedRatings = legacy.ratings;
    legacy.tracks = {{"Spotify:9", {"Peak Line", "Fenna"}}};
    store->saveLegacy(legacy);
    return legacy;
  }

  // The library states published from now on.
  std::vector<LibraryState>& recordStates() {
    model().addListener([this](ChangedFields fields) {
      if (fields.contains(Field::libraryState)) states.push_back(model().libraryState());
    });
    return states;
  }

  const fs::path home = dataDir().parent_path() / (dataDir().filename().string() + "-home");
  ScopedVariable homeVariable{"HOME", home.string()};
  ScopedVariable winePrefix{"WINEPREFIX", (home / "wine").string()};
  ScopedVariable user{"USER", "dj"};
  ScopedVariable pioneerFolder{"KESTA_PIONEER_DIR", ""};
  ScopedVariable legacyDomains{"KESTA_LEGACY_DOMAINS", "none"};
  std::vector<LibraryState> states;
};

TEST_F(LibraryTest, FirstLaunchWithNothingStoredEndsWithNoLibrary) {
  EXPECT_EQ(model().libraryState(), LibraryState::importing("Opening your saved library\u2026"));
  settle();
  EXPECT_EQ(model().libraryState(), LibraryState::none());
  EXPECT_TRUE(model().library().isEmpty());
  EXPECT_FALSE(model().legacyNote());
}

TEST_F(LibraryTest, EarlierVersionDataIsMergedOnceThenItsExportImportedVisibly) {
  const fs::path xml = placeExport("few_tracks.xml", "few_tracks.xml");
  const Date base = Date::fromUnixSeconds(kExportedAt);
  DJSet current = DJSet::started(base.adding(-3600));
  store->saveArchivedSets({current});
  LegacyData legacy;
  legacy.sourceDomain = "com.kesta.live.beta";
  legacy.xmlPath = xml.string();
  legacy.ratings = {{"Spotify:1", 4}, {"Spotify:2", 5}, {"Spotify:3", 2}};
  legacy.unresolvedRatings = legacy.ratings;
  legacy.tracks = {{"Spotify:1", {"Opener", "Anna"}}};
  for (const double offset : {-7200.0, 0.0}) {
    legacy.sets.push_back(DJSet::started(base.adding(offset)));
    legacy.sets.back().legacy = true;
  }
  store->saveLegacy(legacy);

  model();
  runJob();
  const std::vector<DJSet> merged{legacy.sets[1], current, legacy.sets[0]};
  EXPECT_EQ(model().archivedSets(), merged);
  EXPECT_EQ(store->archivedSets(), merged);
  EXPECT_EQ(model().legacyNote(),
            "Brought over from Kesta 0.5: 2 sets and 3 ratings. Your 0.5 data is untouched.");
  EXPECT_TRUE(store->preferences().legacyImported);
  EXPECT_EQ(model().libraryState(), LibraryState::importing("Reading few_tracks.xml\u2026"));

  settle();
  ASSERT_EQ(model().library().tracks.size(), 3u);
  const Track& opener = model().library().tracks.front();
  EXPECT_EQ(model().userData().ratings, (std::map<std::string, int>{{opener.key.raw, 4}}));
  EXPECT_EQ(store->legacy()->unresolvedRatings.size(), 2u);

  relaunch();
  settle();
  EXPECT_EQ(model().archivedSets(), merged);
  EXPECT_FALSE(model().legacyNote());
  EXPECT_EQ(model().library().tracks.size(), 3u);
}

// The stored library is handed to the main thread before the earlier
// version's record is read: decoding a large record takes as long as the
// library, and the DJ may connect meanwhile. The record then comes as before.
TEST_F(LibraryTest, TheStoredLibraryIsHandedOverBeforeTheEarlierVersionsRecordIsRead) {
  importOnce(placeExport("few_tracks.xml", "collection.xml"));
  LegacyData legacy;
  legacy.sets.push_back(DJSet::started(Date::fromUnixSeconds(kExportedAt)));
  legacy.sets.back().legacy = true;
  store->saveLegacy(legacy);
  modelPointer().reset();
  store->flush();
  const auto files = std::make_shared<WatchedFiles>();
  store = std::make_shared<AppStore>(dataDir(), files);
  std::optional<std::size_t> handedOver;
  files->onRead = [&](const std::string& name) {
    if (name == "legacy-import.json") handedOver = queue->pending();
  };

  model();
  const std::size_t before = queue->pending();
  executor->runNext();
  ASSERT_TRUE(handedOver);
  EXPECT_EQ(*handedOver, before + 1);
  queue->drain();
  EXPECT_EQ(model().library().tracks.size(), 3u);
  EXPECT_EQ(model().archivedSets(), legacy.sets);
  EXPECT_TRUE(store->preferences().legacyImported);
}

TEST_F(LibraryTest, StoredLibraryIsInstalledAtOnceAndReimportedQuietlyWhenTheExportsDateDiffers) {
  struct Case {
    const char* name;
    time_t newSeconds;
    bool reimports;
  };
  const Case cases[] = {{"older", kExportedAt - 86'400, true},
                        {"newer", kExportedAt + 60, true},
                        {"a microsecond later", kExportedAt, true},
                        {"unchanged", kExportedAt, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Nanoseconds that a stored date cannot carry must not count as a change.
    const fs::path xml = placeExport("few_tracks.xml", "collection.xml", kExportedAt, 123'456'789);
    importOnce(xml);
    if (c.reimports) {
      placeExport("with_playlists.xml", "collection.xml", c.newSeconds,
                  c.newSeconds == kExportedAt ? 123'457'789 : 0);
    }

    relaunch();
    recordStates().clear();
    runJob();
    EXPECT_EQ(model().library().tracks.size(), 3u);
    EXPECT_EQ(model().libraryState(), LibraryState::ready());
    EXPECT_EQ(executor->pending(), c.reimports ? 1u : 0u);
    settle();
    EXPECT_EQ(model().library().tracks.size(), c.reimports ? 5u : 3u);
    EXPECT_EQ(states, std::vector<LibraryState>(c.reimports ? 2 : 1, LibraryState::ready()));
    modelPointer().reset();
    fs::remove(file("library.json"));
  }
}

TEST_F(LibraryTest, FailedQuietImportKeepsTheLibraryAndFailedVisibleImportShowsTheImportersText) {
  const fs::path xml = placeExport("few_tracks.xml", "collection.xml");
  importOnce(xml);
  placeExport("not_collection.xml", "collection.xml", kExportedAt + 60);

  relaunch();
  settle();
  EXPECT_EQ(model().libraryState(), LibraryState::ready());
  EXPECT_EQ(model().library().tracks.size(), 3u);

  panels->answers.push_back(xml);
  model().chooseLibraryFile();
  settle();
  EXPECT_EQ(model().libraryState(), LibraryState::failed(LibraryImportError::notRekordbox().what()));
  EXPECT_EQ(model().library().tracks.size(), 3u);
  EXPECT_EQ(model().preferences().xmlPath, xml.string());
}

TEST_F(LibraryTest, TheUsersPickWinsOverAQuietReimportWhicheverFinishesLast) {
  for (const bool quietFinishesLast : {false, true}) {
    SCOPED_TRACE(quietFinishesLast ? "quiet last" : "quiet first");
    const fs::path old = placeExport("few_tracks.xml", "old.xml");
    importOnce(old);
    setModified(old, kExportedAt + 60);
    relaunch();
    runJob();
    ASSERT_EQ(executor->pending(), 1u);  // the quiet re-import of the old export

    const fs::path picked = placeExport("two_entries.xml", "picked.xml");
    panels->answers.push_back(picked);
    model().chooseLibraryFile();
    ASSERT_EQ(executor->pending(), 2u);
    runJob(quietFinishesLast ? 1 : 0);
    runJob();

    EXPECT_EQ(model().library().sourceFileName, "picked.xml");
    EXPECT_EQ(model().preferences().xmlPath, picked.string());
    EXPECT_EQ(model().libraryState(), LibraryState::ready());
    relaunch();
    settle();
    EXPECT_EQ(model().library().sourceFileName, "picked.xml");
    modelPointer().reset();
    fs::remove(file("library.json"));
    fs::remove(file("preferences.json"));
  }
}

TEST_F(LibraryTest, AnExportChangedWhileConnectedOnlySetsTheFlagUntilStop) {
  for (const bool importRunningAtConnect : {false, true}) {
    SCOPED_TRACE(importRunningAtConnect ? "quiet import finishing while connected"
                                        : "checked while connected");
    const fs::path xml = placeExport("few_tracks.xml", "collection.xml");
    importOnce(xml);
    placeExport("with_playlists.xml", "collection.xml", kExportedAt + 60);
    if (importRunningAtConnect) model().checkForNewerExport();
    model().startWatching();
    ASSERT_TRUE(model().watching());
    if (!importRunningAtConnect) model().checkForNewerExport();
    settle();
    EXPECT_TRUE(model().exportChangedDuringSet());
    EXPECT_EQ(model().library().tracks.size(), 3u);
    EXPECT_EQ(model().libraryState(), LibraryState::ready());

    model().stopWatching();
    settle();
    EXPECT_EQ(model().library().tracks.size(), 5u);
    EXPECT_FALSE(model().exportChangedDuringSet());
    modelPointer().reset();
    fs::remove(file("library.json"));
  }
}

TEST_F(LibraryTest, StopWithAFlaggedExportChecksItOnceAndWithoutTheFlagNotAtAll) {
  struct Row {
    const char* name;
    bool flagged;
    std::size_t reimports;
    std::size_t tracksAfter;
  };
  const Row rows[] = {{"flagged", true, 1, 5}, {"not flagged", false, 0, 3}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const fs::path xml = placeExport("few_tracks.xml", "collection.xml");
    importOnce(xml);
    model().startWatching();
    // The export changes during the set either way; only the flag tells Stop.
    placeExport("with_playlists.xml", "collection.xml", kExportedAt + 60);
    if (row.flagged) model().checkForNewerExport();
    settle();
    ASSERT_EQ(model().exportChangedDuringSet(), row.flagged);

    model().stopWatching();
    // Releasing the engine is one job; a check of the changed export adds its re-import.
    EXPECT_EQ(executor->pending(), 1 + row.reimports);
    settle();
    EXPECT_EQ(model().library().tracks.size(), row.tracksAfter);
    EXPECT_FALSE(model().exportChangedDuringSet());
    EXPECT_EQ(model().libraryState(), LibraryState::ready());
    modelPointer().reset();
    fs::remove(file("library.json"));
  }
}

TEST_F(LibraryTest, InstallWhileConnectedResetsTheDecksAtOnceAndHandsTheIndexOverAfter) {
  importOnce(placeExport("few_tracks.xml", "first.xml"));
  model().startWatching();
  queue->drain();
  const auto engine = engines->last();
  panels->answers.push_back(placeExport("two_entries.xml", "second.xml"));
  model().chooseLibraryFile();
  executor->runNext();
  notifications.clear();
  queue->drain();
  EXPECT_EQ(notified(Field::decks), 1);
  EXPECT_EQ(notified(Field::focus), 1);
  ASSERT_FALSE(engine->calls.empty());
  EXPECT_EQ(engine->calls.back(), "replaceLibrary");
  EXPECT_EQ(&engine->library.tracks(), &model().sharedLibrary()->tracks);
  // Both entries of one song are known to the engine, under one song key.
  EXPECT_EQ(engine->keys->size(), 3u);
  EXPECT_EQ(engine->keys->at("21"), engine->keys->at("22"));
  EXPECT_EQ(engine->keys, ModelProbe::songKeys(model()));  // the keeper's map itself
}

TEST_F(LibraryTest, APickMadeWhileTheSavedLibraryOpensWins) {
  importOnce(placeExport("few_tracks.xml", "saved.xml"));
  relaunch();
  const fs::path picked = placeExport("two_entries.xml", "picked.xml");
  panels->answers.push_back(picked);
  model().chooseLibraryFile();
  EXPECT_EQ(panels->openRequests.back().title, "Choose your rekordbox XML export");
  EXPECT_EQ(panels->openRequests.back().message,
            "In rekordbox: File \u203A Export Collection in xml format. Then choose that file here.");
  EXPECT_EQ(panels->openRequests.back().extensions, std::vector<std::string>{"xml"});
  runJob(1);  // the pick's import ends before the restore
  runJob();
  EXPECT_EQ(model().library().sourceFileName, "picked.xml");
  EXPECT_EQ(executor->pending(), 0u);

  model().chooseLibraryFile();  // cancelled: nothing changes
  EXPECT_EQ(model().libraryState(), LibraryState::ready());
  EXPECT_EQ(executor->pending(), 0u);
  model().refreshLibrary();  // the export in use is read again, without a panel
  EXPECT_EQ(model().libraryState(), LibraryState::importing("Reading picked.xml\u2026"));
  EXPECT_EQ(panels->openRequests.size(), 3u);
}

// Only a pick that installs replaces the saved library; a failed one leaves
// it in place and says why, whether it ends before or after the restore.
TEST_F(LibraryTest, APickThatFailsWhileTheSavedLibraryOpensLeavesTheSavedOne) {
  const fs::path saved = placeExport("few_tracks.xml", "saved.xml");
  struct Case {
    const char* name;
    const char* fixture;
    bool pickEndsFirst;
    const char* library;
    LibraryState state;
  };
  const LibraryState unreadable = LibraryState::failed(LibraryImportError::notRekordbox().what());
  const std::vector<Case> cases{
      {"failed pick ends first", "not_collection.xml", true, "saved.xml", unreadable},
      {"failed pick ends last", "not_collection.xml", false, "saved.xml", unreadable},
      {"good pick ends first", "two_entries.xml", true, "picked.xml", LibraryState::ready()},
      {"good pick ends last", "two_entries.xml", false, "picked.xml", LibraryState::ready()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    importOnce(saved);
    relaunch();
    panels->answers.push_back(placeExport(c.fixture, "picked.xml"));
    model().chooseLibraryFile();
    if (c.pickEndsFirst) runJob(1);
    settle();
    EXPECT_EQ(model().library().sourceFileName, c.library);
    EXPECT_EQ(model().libraryState(), c.state);
  }
}

TEST_F(LibraryTest, InstallResolvesRatingsRestoresThePoolResetsTheDecksAndSharesTheLibrary) {
  const fs::path xml = placeExport("with_playlists.xml", "with_playlists.xml");
  const Library imported = RekordboxXMLImporter::importLibrary(xml);
  const std::string warmUp = "playlist:" + imported.playlists.at(0).id;
  for (const auto& [saved, expected] :
       {std::pair{warmUp, warmUp}, std::pair{std::string("playlist:gone"), std::string("all")}}) {
    SCOPED_TRACE(saved);
    Preferences preferences;
    preferences.poolByLibrary["with_playlists.xml"] = saved;
    storeOneUnresolvedRating(preferences);
    model();
    settle();
    notifications.clear();

    model().install(imported, xml.string(), Date::fromUnixSeconds(kExportedAt));
    // The record is copied, resolved and encoded in the background, never
    // on the main thread, however large it is.
    queue->drain();
    EXPECT_TRUE(model().userData().ratings.empty());
    EXPECT_FALSE(store->legacy()->unresolvedRatings.empty());
    settle();
    EXPECT_EQ(model().userData().ratings, (std::map<std::string, int>{{imported.tracks[2].key.raw, 5}}));
    EXPECT_TRUE(store->legacy()->unresolvedRatings.empty());
    EXPECT_EQ(model().poolChoices(), imported.poolChoices());
    EXPECT_EQ(model().poolID(), expected);
    EXPECT_EQ(store->preferences().xmlPath, xml.string());
    for (const Field field :
         {Field::library, Field::focus, Field::decks, Field::lanes, Field::libraryState}) {
      EXPECT_GE(notified(field), 1) << static_cast<int>(field);
    }
    EXPECT_TRUE(model().lanes().empty());
    EXPECT_FALSE(model().focus());
    EXPECT_EQ(&model().index().tracks(), &model().sharedLibrary()->tracks);
    EXPECT_EQ(model().libraryModifiedAt(), Date::fromUnixSeconds(kExportedAt));
    modelPointer().reset();
    fs::remove(file("userdata.json"));
  }
}

// Two installs in a row: the outcome of the first resolution comes after the
// second began and is dropped whole, the second's is kept, so a rating is
// either still unresolved or in the user data, never lost between them.
TEST_F(LibraryTest, OnlyTheNewestResolutionOfOldRatingsIsKept) {
  const fs::path xml = placeExport("with_playlists.xml", "with_playlists.xml");
  const Library imported = RekordboxXMLImporter::importLibrary(xml);
  const LegacyData legacy = storeOneUnresolvedRating();
  model();
  settle();

  const std::map<std::string, int> resolved{{imported.tracks[2].key.raw, 5}};
  const struct {
    const char* name;
    std::size_t first;  // which resolution's job runs first
    std::map<std::string, int> afterFirst;
  } cases[] = {{"older first", 0, {}}, {"newer first", 1, resolved}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    model().install(imported, xml.string(), Date::fromUnixSeconds(kExportedAt));
    model().install(imported, xml.string(), Date::fromUnixSeconds(kExportedAt));
    ASSERT_EQ(executor->pending(), 2u);
    runJob(c.first);
    EXPECT_EQ(model().userData().ratings, c.afterFirst);
    settle();
    EXPECT_EQ(model().userData().ratings, resolved);
    EXPECT_TRUE(store->legacy()->unresolvedRatings.empty());
    modelPointer().reset();
    fs::remove(file("userdata.json"));
    store->saveLegacy(legacy);
    model();
    settle();
  }
}

TEST_F(LibraryTest, ExportAgeCountsLocalCalendarDays) {
  struct Case {
    time_t exported;
    time_t now;
    std::string age;
  };
  // 1777671000 is 23:30 local time, 1777674600 is 00:30 on the next local day.
  const Case cases[] = {
      {1'777'671'000, 1'777'674'600, "exported yesterday"},
      {1'777'674'600, 1'777'674'600 + 23 * 3600, "exported today"},
      {1'777'671'000, 1'777'674'600 + 2 * 86'400, "exported 3 days ago"},
      {1'777'674'600 + 86'400, 1'777'674'600, "exported today"},
  };
  EXPECT_FALSE(model().exportAge());
  {
    const ScopedVariable zone("TZ", "XYZ-2");  // two hours east of UTC, no summer time
    tzset();
    for (const Case& c : cases) {
      model().setLibraryModifiedAt(Date::fromUnixSeconds(static_cast<double>(c.exported)));
      wall->date = Date::fromUnixSeconds(static_cast<double>(c.now));
      EXPECT_EQ(model().exportAge(), c.age) << c.exported << " read at " << c.now;
    }
  }
  tzset();
}

TEST_F(LibraryTest, RekordboxChangedSinceExportWhenItsDatabaseIsOverAnHourNewer) {
  const fs::path wineDatabase = home / "wine/drive_c/users/dj/AppData/Roaming/Pioneer/rekordbox/master.db";
  const fs::path homeDatabase = home / "Library/Pioneer/rekordbox/master.db";
  struct Case {
    std::optional<time_t> wine;
    std::optional<time_t> home;
    bool changed;
  };
  const Case cases[] = {
      {3600, std::nullopt, false},         {3601, std::nullopt, true},
      {std::nullopt, 3601, true},          {0, 7200, false},  // the Wine prefix is looked at first
      {std::nullopt, std::nullopt, false},
  };
  model().setLibraryModifiedAt(Date::fromUnixSeconds(kExportedAt));
  for (const Case& c : cases) {
    fs::remove_all(home / "wine");
    fs::remove(homeDatabase);
    for (const auto& [path, offset] : {std::pair{wineDatabase, c.wine}, std::pair{homeDatabase, c.home}}) {
      if (!offset) continue;
      fs::create_directories(path.parent_path());
      std::ofstream(path) << "db";
      setModified(path, kExportedAt + *offset);
    }
    EXPECT_EQ(model().rekordboxChangedSinceExport(), c.changed)
        << (c.wine ? *c.wine : -1) << " " << (c.home ? *c.home : -1);
  }
  model().setLibraryModifiedAt(std::nullopt);
  EXPECT_FALSE(model().rekordboxChangedSinceExport());
}

}  // namespace
}  // namespace kesta::test
