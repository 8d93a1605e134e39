#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "library/library_import_error.h"
#include "library/rekordbox_xml_importer.h"
#include "model/file_date.h"
#include "model_fixture.h"
#include "store/library_file.h"
#include "support/fakes/fake_store_files.h"
#include "support/test_paths.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

namespace fs = std::filesystem;

// A model whose data folder lives on a disk that fails as the test asks, and
// which never looks for the earlier version's data.
class KeptDataTest : public ModelFixture {
 protected:
  KeptDataTest() {
    setenv("KESTA_LEGACY_DOMAINS", "none", 1);
    useStore();
  }
  ~KeptDataTest() override { unsetenv("KESTA_LEGACY_DOMAINS"); }

  void useStore(std::uint64_t maximumLibraryBytes = LibraryFile::maximumBytes) {
    store = std::make_shared<AppStore>(dataDir(), files, maximumLibraryBytes);
  }

  // Runs background jobs, the store's writer and main-thread work until nothing is left.
  void settle() {
    do {
      if (executor->pending() > 0) executor->runNext();
      store->flush();
      queue->drain();
    } while (executor->pending() > 0 || queue->pending() > 0);
  }

  // A fixture export picked by the user and imported.
  void pick(const std::string& fixture) {
    panels->answers.push_back(exportFile(fixture));
    model().chooseLibraryFile();
    settle();
  }
  static fs::path exportFile(const std::string& fixture) {
    return kesta::test::sourceDir() / "tests" / "model" / "fixtures" / fixture;
  }

  // Quits, and opens a store over the same folder on a disk that works.
  void quit() {
    modelPointer().reset();
    settle();
    files = std::make_shared<kesta::test::FakeStoreFiles>();
    useStore();
  }

  std::shared_ptr<kesta::test::FakeStoreFiles> files = std::make_shared<kesta::test::FakeStoreFiles>();
};

std::string contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A set of three loads, the last at `last`.
DJSet threeLoads(Date last, bool legacy = false) {
  DJSet set = DJSet::started(last.adding(-1200));
  set.legacy = legacy;
  for (int i = 0; i < 3; ++i) {
    Track track;
    track.id = std::to_string(i);
    track.key = StableKey{"file:/" + std::to_string(i) + ".mp3"};
    track.title = "Track " + std::to_string(i);
    set.events.push_back(SetEvent::make(SetEvent::Kind::loaded, last.adding(600.0 * (i - 2)), &track,
                                        std::nullopt, 1 + i % 2));
  }
  if (legacy) set.endedAt = last;
  return set;
}

TEST_F(KeptDataTest, NoSetIsLostWhileThePastSetsCouldNotBeReadForWantOfResources) {
  struct Case {
    const char* name;
    double idleSeconds;   // since the running set's last load
    bool earlierVersion;  // 0.5 sets waiting to be merged
    bool endSet;
  };
  const Case cases[] = {
      {"a stale set at start", 36000, false, false},
      {"End set", 600, false, true},
      {"the 0.5 merge", 600, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    quit();
    for (const auto& entry : fs::directory_iterator(dataDir())) fs::remove_all(entry.path());
    const Date last = wall->date.adding(-c.idleSeconds);
    const std::vector<DJSet> past{threeLoads(last.adding(-86400)), threeLoads(last.adding(-172800))};
    const DJSet running = threeLoads(last);
    std::vector<DJSet> everySet = past;
    everySet.push_back(running);
    store->saveArchivedSets(past);
    store->saveActiveSet(running);
    if (c.earlierVersion) {
      LegacyData legacy{"com.kesta.live.beta", std::nullopt, {}, {}, {}, {}};
      legacy.sets = {threeLoads(last.adding(-1e7), true), threeLoads(last.adding(-2e7), true)};
      store->saveLegacy(legacy);
      everySet.insert(everySet.end(), legacy.sets.begin(), legacy.sets.end());
    }
    const std::string stored = contents(file("sets.json"));

    // Every open of the past sets fails for want of file handles.
    files->makeUnreadable("sets.json", files::ReadFailure::noResources);
    model();
    settle();
    EXPECT_EQ(model().noticeShort(), "Couldn't read sets.json: the set stays open.");
    if (c.endSet) {
      model().endSet();
      settle();
      EXPECT_EQ(model().noticeShort(), "Set not ended: sets.json couldn't be read.");
    }
    EXPECT_EQ(model().activeSet(), running);
    EXPECT_FALSE(model().legacyNote());
    quit();
    EXPECT_EQ(contents(file("sets.json")), stored);
    EXPECT_FALSE(store->preferences().legacyImported);

    // A start that can read them: every set is on disk.
    model();
    settle();
    quit();
    std::vector<DJSet> onDisk = store->archivedSets();
    if (const auto active = store->activeSet()) onDisk.push_back(*active);
    for (DJSet set : everySet) {
      const auto found =
          std::find_if(onDisk.begin(), onDisk.end(), [&](const DJSet& kept) { return kept.id == set.id; });
      ASSERT_NE(found, onDisk.end()) << set.id;
      EXPECT_EQ(found->events, set.events);
    }
    EXPECT_EQ(onDisk.size(), everySet.size() + (c.idleSeconds > 28800 ? 1 : 0));
  }
}

// Starts that cannot record the merge in "preferences.json" bring the 0.5
// sets over again, and reading that version's data again gives them new ids:
// each stays among the past sets once.
TEST_F(KeptDataTest, EachSetOfTheEarlierVersionIsKeptOnceWhateverHoldsTheSettings) {
  const Date last = wall->date.adding(-86400);
  LegacyData legacy{"com.kesta.live.beta", std::nullopt, {}, {}, {}, {}};
  legacy.sets = {threeLoads(last.adding(-1e7), true), threeLoads(last.adding(-2e7), true)};
  using Start = std::function<void()>;
  const Start normal = [] {};
  const Start folder = [&] { fs::create_directories(file("preferences.json")); };
  const Start shortOfHandles = [&] {
    files->makeUnreadable("preferences.json", files::ReadFailure::noResources);
  };
  const Start readAgain = [&] {
    folder();
    LegacyData again = legacy;
    for (DJSet& set : again.sets) set.id = DJSet::started(set.startedAt).id;
    store->saveLegacy(again);
  };
  const struct {
    const char* name;
    std::vector<Start> starts;
  } cases[] = {
      {"a folder where preferences.json belongs", {folder, folder, folder}},
      {"preferences.json short of file handles at one start", {normal, shortOfHandles, normal, normal}},
      {"the 0.5 data read again", {folder, readAgain, readAgain}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    quit();
    for (const auto& entry : fs::directory_iterator(dataDir())) fs::remove_all(entry.path());
    store->saveArchivedSets({threeLoads(last)});
    store->saveLegacy(legacy);
    for (std::size_t start = 0; start < c.starts.size(); ++start) {
      c.starts[start]();
      model();
      settle();
      EXPECT_EQ(model().legacyNote().has_value(), start == 0) << start;
      quit();
      const std::vector<DJSet> kept = store->archivedSets();
      EXPECT_EQ(kept.size(), 3u) << start;
      for (const DJSet& set : legacy.sets) {
        EXPECT_EQ(std::count_if(kept.begin(), kept.end(),
                                [&](const DJSet& k) { return k.legacy && k.events == set.events; }),
                  1)
            << start;
      }
    }
  }
}

// A rating brought over from 0.5 never moves into a "userdata.json" held for
// want of resources: it shows this session and stays unresolved in the
// record, and the next start that can save the user data keeps it there.
TEST_F(KeptDataTest, ARatingBroughtOverWhileTheUserDataIsHeldIsKeptForTheNextStart) {
  Preferences preferences;
  preferences.legacyImported = true;
  store->savePreferences(preferences);
  LegacyData legacy{"com.kesta.live.beta", std::nullopt, {{"Spotify:1", 5}}, {}, {}, {}};
  legacy.unresolvedRatings = legacy.ratings;
  legacy.tracks = {{"Spotify:1", {"Opener", "Anna"}}};
  store->saveLegacy(legacy);
  store->saveUserData(UserData{});
  store->flush();

  files->makeUnreadable("userdata.json", files::ReadFailure::noResources);
  pick("few_tracks.xml");
  const std::string opener = model().library().tracks.at(0).key.raw;
  EXPECT_EQ(model().userData().ratings, (std::map<std::string, int>{{opener, 5}}));
  quit();
  EXPECT_TRUE(store->userData().ratings.empty());
  EXPECT_EQ(store->legacy()->unresolvedRatings, legacy.ratings);

  model();
  settle();
  quit();
  EXPECT_EQ(store->userData().ratings, (std::map<std::string, int>{{opener, 5}}));
  EXPECT_TRUE(store->legacy()->unresolvedRatings.empty());
}

TEST_F(KeptDataTest, ALibraryTheSystemLackedResourcesToReadIsImportedAgainAndSavedAnew) {
  pick("few_tracks.xml");
  quit();
  const std::string original = contents(file("library.json"));
  files->makeUnreadable("library.json", files::ReadFailure::noResources);
  model();
  settle();
  EXPECT_EQ(
      model().notice(),
      "Kesta was short of memory or file handles to read library.json, so it imports your library from "
      "your export again. Once imported, it is saved as a new library.json, and the file Kesta couldn't "
      "read is set aside.");
  EXPECT_EQ(model().library().tracks.size(), 3u);
  std::vector<std::string> aside;
  for (const auto& entry : fs::directory_iterator(dataDir())) {
    if (entry.path().filename().string().starts_with("library.json.unreadable-"))
      aside.push_back(contents(entry.path()));
  }
  EXPECT_EQ(aside, std::vector<std::string>{original});
  quit();
  const auto stored = store->storedLibrary();
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->library.tracks.size(), 3u);
}

TEST_F(KeptDataTest, ASaveThatCannotLandShowsOneNoticeUntilSavesWorkAgain) {
  struct Case {
    int error;
    std::string shortText;
  };
  for (const auto& c : {Case{ENOSPC, "Not saving: the disk is full."},
                        Case{EROFS, "Not saving: the data folder is read-only."},
                        Case{EMFILE, "Not saving: Kesta has too many files open."},
                        Case{ENFILE, "Not saving: the system has too many files open."}}) {
    SCOPED_TRACE(c.shortText);
    modelPointer().reset();
    settle();
    useStore();
    files->writeError = c.error;
    model().setCompact(true);
    settle();
    ASSERT_TRUE(model().notice());
    EXPECT_EQ(model().noticeShort(), c.shortText);
    EXPECT_NE(model().notice()->find("your settings"), std::string::npos) << *model().notice();
    const int shown = notified(Field::notice);

    // Still failing: no further notice for the saves that follow.
    model().setCompact(false);
    model().setIncludeRawText(true);
    settle();
    EXPECT_EQ(notified(Field::notice), shown);

    files->writeError = 0;
    model().setCompact(true);
    settle();
    EXPECT_EQ(notified(Field::notice), shown);
    EXPECT_TRUE(store->preferences().includeRawText);
    EXPECT_TRUE(store->preferences().compact);

    scheduler->advance(60);
    ASSERT_FALSE(model().notice());
    const int cleared = notified(Field::notice);
    files->writeError = c.error;
    model().setCompact(false);
    settle();
    EXPECT_EQ(notified(Field::notice), cleared + 1);
    EXPECT_EQ(model().noticeShort(), c.shortText);
    files->writeError = 0;
  }
}

TEST_F(KeptDataTest, ARecordThatCanNeitherBeReadNorSetAsideIsLeftAsItIsAndSaidOnce) {
  const std::string original = R"({"ratings":{"file:/a.mp3":4},"playedPairs":{}})";
  { std::ofstream(dataDir() / "userdata.json") << original; }
  files->makeUnreadable("userdata.json");
  files->refuseMoves = true;
  model();
  settle();
  ASSERT_TRUE(model().notice());
  EXPECT_EQ(model().noticeShort(), "Can't read userdata.json: saving it later.");
  const int shown = notified(Field::notice);

  store->saveUserData(UserData{});
  modelPointer().reset();
  model();
  settle();
  EXPECT_EQ(notified(Field::notice), shown);
  std::ifstream in(dataDir() / "userdata.json");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), original);
}

TEST_F(KeptDataTest, AHeldRecordLandsOnceTheFolderIsWritableAgainAndBothNoticesAreSeen) {
  // The ratings file may not be read, in a folder that may not be changed.
  const std::string original = R"({"playedPairs":{},"ratings":{"file:/earlier.mp3":3}})";
  { std::ofstream(dataDir() / "userdata.json") << original; }
  files->makeUnreadable("userdata.json");
  files->refuseMoves = true;
  files->writeError = EACCES;
  std::vector<std::string> seen;
  model().addListener([&](ChangedFields fields) {
    if (fields.contains(Field::notice) && model().notice() &&
        (seen.empty() || seen.back() != *model().notice()))
      seen.push_back(*model().notice());
  });
  settle();
  pick("few_tracks.xml");
  const auto& tracks = model().library().tracks;
  ASSERT_EQ(tracks.size(), 3u);
  model().rate(tracks[0], 4);
  model().rate(tracks[1], 2);
  model().setCompact(true);
  settle();
  const UserData session = model().userData();

  // The held record first, for its whole time; the failed saves after it, not instead of it.
  const std::string held =
      "Kesta can't read userdata.json in its data folder, nor move it aside, so it leaves it as it is. It "
      "keeps "
      "this session's changes to your ratings and played pairs and saves them once it can move the file "
      "aside.";
  EXPECT_EQ(model().notice(), held);
  scheduler->advance(14.9);
  EXPECT_EQ(model().notice(), held);
  scheduler->advance(60);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], held);
  // The library's save is dropped, the others are kept: each is told.
  EXPECT_EQ(
      seen[1],
      "Kesta can't save your library: Kesta may not write in its data folder. The library stays in use; "
      "Kesta tries to save it again at the next import.");
  EXPECT_NE(seen[2].find("Kesta may not write in its data folder. Nothing is lost yet"), std::string::npos)
      << seen[2];

  // Writable again: the next save brings everything with it.
  files->writeError = 0;
  files->refuseMoves = false;
  const Track third = tracks[2];
  model().rate(third, 5);
  settle();
  std::vector<std::string> aside;
  for (const auto& entry : fs::directory_iterator(dataDir())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("userdata.json.unreadable-")) aside.push_back(name);
  }
  ASSERT_EQ(aside.size(), 1u);
  std::ifstream in(dataDir() / aside[0]);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), original);

  // The next start has every change of the session.
  modelPointer().reset();
  useStore();
  model();
  settle();
  UserData expected = session;
  expected.ratings[third.key.raw] = 5;
  EXPECT_EQ(model().userData(), expected);
  EXPECT_TRUE(model().compact());
  EXPECT_EQ(model().library().tracks.size(), 3u);
}

TEST_F(KeptDataTest, AHeldRecordsNoticeGoesAheadOfTheFailedSavesWaitingAfterTheOneShown) {
  files->writeError = ENOSPC;
  model().setCompact(true);
  settle();
  ASSERT_EQ(model().noticeShort(), "Not saving: the disk is full.");
  // Saves land, then fail again, while the first notice is still shown.
  files->writeError = 0;
  model().setCompact(false);
  settle();
  files->writeError = EROFS;
  model().setCompact(true);
  settle();
  // Then a record turns out to be held.
  files->makeUnreadable("userdata.json");
  files->refuseMoves = true;
  { std::ofstream(dataDir() / "userdata.json") << "{}"; }
  store->userData();
  settle();

  std::vector<std::optional<std::string>> shown;
  for (int i = 0; i < 4; ++i) {
    shown.push_back(model().notice() ? model().noticeShort() : std::nullopt);
    scheduler->advance(15);
  }
  EXPECT_EQ(shown, (std::vector<std::optional<std::string>>{
                       "Not saving: the disk is full.", "Can't read userdata.json: saving it later.",
                       "Not saving: the data folder is read-only.", std::nullopt}));
  files->writeError = 0;
}

TEST_F(KeptDataTest, AnImportThatRunsOutOfMemoryWhileKeepingItsLibraryIsRefusedAndTheEarlierOneKept) {
  pick("few_tracks.xml");
  ASSERT_EQ(model().library().tracks.size(), 3u);
  files->encodingRunsOutOfMemory = true;
  pick("with_playlists.xml");
  EXPECT_EQ(
      model().libraryState(),
      LibraryState::failed(
          LibraryImportError::unreadable("there is not enough memory to keep the library it holds").what()));
  EXPECT_EQ(model().library().tracks.size(), 3u);

  // The next start opens the library that was kept.
  files->encodingRunsOutOfMemory = false;
  modelPointer().reset();
  model();
  settle();
  EXPECT_EQ(model().library().tracks.size(), 3u);
}

TEST_F(KeptDataTest, AnExportWhoseLibraryCouldNotBeReadBackIsRefusedAndTheEarlierOneKept) {
  const fs::path xml = exportFile("with_playlists.xml");
  const std::uint64_t size = LibraryFile::encodeText(RekordboxXMLImporter::importLibrary(xml, wall->now()),
                                                     xml.string(), fileModificationDate(xml))
                                 .size();
  for (const bool fits : {false, true}) {
    SCOPED_TRACE(fits ? "at the limit" : "one byte over");
    modelPointer().reset();
    fs::remove(dataDir() / "library.json");
    useStore(fits ? size : size - 1);
    model();
    settle();
    pick("few_tracks.xml");
    ASSERT_EQ(model().library().tracks.size(), 3u);

    pick("with_playlists.xml");
    if (fits) {
      EXPECT_EQ(model().libraryState(), LibraryState::ready());
      EXPECT_EQ(fs::file_size(dataDir() / "library.json"), size);
    } else {
      EXPECT_EQ(
          model().libraryState(),
          LibraryState::failed(
              LibraryImportError::unreadable("the library it holds is too large for Kesta to keep").what()));
      EXPECT_EQ(model().library().tracks.size(), 3u);
    }
    // The next start opens what the last import kept.
    const std::size_t installed = model().library().tracks.size();
    modelPointer().reset();
    model();
    settle();
    EXPECT_EQ(model().library().tracks.size(), installed);
  }
}

}  // namespace
}  // namespace kesta::test
