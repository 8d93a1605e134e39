#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "platform/json/json_coding.h"
#include "store/app_store.h"
#include "store/atomic_file.h"
#include "store/store_fixtures.h"

namespace kesta {
namespace {

constexpr std::size_t kTracks = 3000;

std::string exportPath(int i) { return "/export-" + std::to_string(i) + ".xml"; }

// Saves every file the store writes once; the files of round `i` carry its number.
class Saver {
 public:
  Saver(const std::filesystem::path& root, const Library& library)
      : store_(root),
        library_(library),
        session_("0.6.0", {{"macOS", "Linux"}}, Date::fromUnixSeconds(1.7e9)) {
    session_.id = "0A1B2C3D-0000-4000-8000-000000000000";
  }

  void saveRound(int i) {
    store_.saveLibrary(StoredLibrary{library_, exportPath(i), Date{double(i)}});
    sets_.insert(sets_.begin(), test::sampleSet(700000000.0 + i));
    store_.saveArchivedSets(sets_);
    store_.saveActiveSet(test::sampleSet(710000000.0 + i));
    Preferences preferences;
    preferences.xmlPath = exportPath(i);
    store_.savePreferences(preferences);
    store_.saveUserData(UserData{{{"file:/a.mp3", i % 6}}, {}});
    LegacyData legacy;
    legacy.sourceDomain = "com.kesta.live.beta";
    legacy.xmlPath = exportPath(i);
    store_.saveLegacy(legacy);
    session_.appVersion = std::to_string(i);
    store_.saveDiagnosticsNow(session_);
  }

 private:
  const AppStore store_;
  const Library& library_;
  std::vector<DJSet> sets_;
  DiagnosticsSession session_;
};

[[noreturn]] void saveForever(const std::filesystem::path& root, const Library& library) {
  Saver saver(root, library);
  for (int i = 0;; ++i) saver.saveRound(i);
}

// How long opening the store and a round of saves take in this build (a
// sanitized one is many times slower), in microseconds.
int roundMicroseconds(const std::filesystem::path& root, const Library& library) {
  const auto start = std::chrono::steady_clock::now();
  Saver saver(root, library);
  saver.saveRound(0);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  return int(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
}

bool isTemporary(const std::string& name) { return name.find(".tmp-") != std::string::npos; }

// Every file of the folder read raw, so that the store cannot hide a broken
// one by setting it aside.
void expectWholeFiles(const std::filesystem::path& root, int round) {
  SCOPED_TRACE("round " + std::to_string(round));
  const auto decoded = [&](const char* name) { return json::parse(test::readFile(root / name)); };
  const auto exists = [&](const char* name) { return std::filesystem::exists(root / name); };
  if (exists("library.json")) {
    const auto stored = StoredLibrary::fromJson(decoded("library.json"));
    ASSERT_EQ(stored.library.tracks.size(), kTracks);
    ASSERT_EQ(stored.xmlPath, exportPath(int(stored.xmlModifiedAt->secondsSinceReference)));
  }
  if (exists("sets.json")) {
    const auto sets = json::asList<DJSet>(decoded("sets.json"), DJSet::fromJson);
    ASSERT_FALSE(sets.empty());
    ASSERT_LE(sets.size(), AppStore::keptArchivedSets);
  }
  if (exists("active-set.json")) {
    ASSERT_EQ(DJSet::fromJson(decoded("active-set.json")).events.size(), 4u);
  }
  if (exists("preferences.json")) {
    ASSERT_TRUE(Preferences::fromJson(decoded("preferences.json")).xmlPath);
  }
  if (exists("userdata.json")) {
    ASSERT_EQ(UserData::fromJson(decoded("userdata.json")).ratings.size(), 1u);
  }
  if (exists("legacy-import.json")) {
    ASSERT_TRUE(LegacyData::fromJson(decoded("legacy-import.json")).xmlPath);
  }
  for (const auto& name : test::fileNames(root / "diagnostics")) {
    const auto text = test::readFile(root / "diagnostics" / name);
    ASSERT_EQ(DiagnosticsSession::fromJson(json::parse(text)).id, "0A1B2C3D-0000-4000-8000-000000000000");
  }
}

TEST(StoreCrash, FilesSurviveAKillAtAnyMomentWholeAndNoTemporaryFileOutlivesTheNextOpening) {
  const test::TempFolder folder;
  const auto root = folder / "data";
  const Library library = test::sampleLibrary(kTracks);
  std::mt19937 random(20240501);
  // Kills spread over the first round of saving, whatever the build's speed.
  // A file is on disk half-written only while it is written, a small part of
  // a round (encoding comes first); on a busy machine or in a sanitized build
  // a hundred kills may all miss those moments, so the test goes on, up to
  // four hundred kills, until one has interrupted a save.
  const int roundTime = roundMicroseconds(folder / "timing", library);
  int longestDelay = roundTime;

  int interruptedSaves = 0;
  for (int round = 0; round < 100 || (interruptedSaves == 0 && round < 400); ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        saveForever(root, library);
      } catch (...) {
        ::_exit(3);
      }
    }
    std::uniform_int_distribution<int> delayMicroseconds(500, std::max(longestDelay, 501));
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself in round " << round;

    const int before = interruptedSaves;
    for (const auto& name : test::fileNames(root)) interruptedSaves += isTemporary(name);
    if (interruptedSaves == before) longestDelay = std::min(longestDelay + longestDelay / 4, 3 * roundTime);
    const AppStore reopened(root);
    for (const auto& folderName : {root, root / "diagnostics"}) {
      for (const auto& name : test::fileNames(folderName))
        ASSERT_FALSE(isTemporary(name)) << name << " after the opening in round " << round;
    }
    expectWholeFiles(root, round);
    if (::testing::Test::HasFatalFailure()) return;
  }
  EXPECT_GT(interruptedSaves, 0) << "no kill landed during a save: the test proves nothing";
  for (const auto& name : test::fileNames(root))
    EXPECT_EQ(name.find(".unreadable-"), std::string::npos) << name;
}

}  // namespace
}  // namespace kesta
