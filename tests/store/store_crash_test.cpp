#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Saves the library and the sets over and over until it is killed.
[[noreturn]] void saveForever(const std::filesystem::path& root, const Library& library) {
  const AppStore store(root);
  std::vector<DJSet> sets;
  for (int i = 0;; ++i) {
    store.saveLibrary(StoredLibrary{library, "/export-" + std::to_string(i) + ".xml", Date{double(i)}});
    sets.insert(sets.begin(), test::sampleSet(700000000.0 + i));
    store.saveArchivedSets(sets);
    store.saveActiveSet(test::sampleSet(710000000.0 + i));
  }
}

TEST(StoreCrash, FilesSurviveAKillAtAnyMomentWhole) {
  const test::TempFolder folder;
  const auto root = folder / "data";
  const Library library = test::sampleLibrary(kTracks);
  std::mt19937 random(20240501);
  std::uniform_int_distribution<int> delayMicroseconds(500, 40000);

  for (int round = 0; round < 100; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        saveForever(root, library);
      } catch (...) {
        ::_exit(3);
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself in round " << round;

    // Read the raw files, so that the store cannot hide a broken one by setting it aside.
    if (const auto bytes = AtomicFile::read(root / "library.json")) {
      const auto stored = StoredLibrary::fromJson(json::parse(*bytes));
      ASSERT_EQ(stored.library.tracks.size(), kTracks) << "round " << round;
      ASSERT_EQ(stored.xmlPath,
                "/export-" + std::to_string(int(stored.xmlModifiedAt->secondsSinceReference)) + ".xml");
    }
    if (const auto bytes = AtomicFile::read(root / "sets.json")) {
      const auto sets = json::asList<DJSet>(json::parse(*bytes), DJSet::fromJson);
      ASSERT_FALSE(sets.empty()) << "round " << round;
      ASSERT_LE(sets.size(), AppStore::keptArchivedSets);
    }
    if (const auto bytes = AtomicFile::read(root / "active-set.json")) {
      ASSERT_EQ(DJSet::fromJson(json::parse(*bytes)).events.size(), 4u) << "round " << round;
    }
  }
  for (const auto& name : test::fileNames(root))
    EXPECT_EQ(name.find(".unreadable-"), std::string::npos) << name;
}

}  // namespace
}  // namespace kesta
