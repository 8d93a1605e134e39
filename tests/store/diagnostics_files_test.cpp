#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "platform/json/json_coding.h"
#include "store/app_store.h"
#include "store/store_fixtures.h"

namespace kesta {
namespace {

using test::fileNames;
using test::readFile;
using test::TempFolder;
using test::writeFile;

DiagnosticsSession session(double unixStart, std::string id = "0A1B2C3D-0000-4000-8000-000000000000") {
  DiagnosticsSession made("0.6.0 (12)", {{"macOS", "Linux"}, {"Mac", "test"}},
                          Date::fromUnixSeconds(unixStart));
  made.id = std::move(id);
  return made;
}

std::vector<std::string> sessionFiles(const AppStore& store) {
  std::vector<std::string> names;
  for (const auto& name : fileNames(store.diagnosticsFolder())) {
    if (name.starts_with("session-") && name.ends_with(".json")) names.push_back(name);
  }
  return names;
}

TEST(DiagnosticsFiles, TheNameCarriesTheWholeStartSecondAndTheIdsFirstGroup) {
  const TempFolder folder;
  const AppStore store(folder.path());
  store.saveDiagnosticsNow(session(1700000000.9));
  EXPECT_EQ(sessionFiles(store), std::vector<std::string>{"session-1700000000-0A1B2C3D.json"});
  EXPECT_EQ(store.diagnosticsFolder(), folder / "diagnostics");
}

TEST(DiagnosticsFiles, SavingOneSessionAgainRewritesItsFileAndTheWriteAtQuitLandsLast) {
  const TempFolder folder;
  const AppStore store(folder.path());
  auto running = session(1700000000);
  for (int version = 0; version < 50; ++version) {
    running.appVersion = std::to_string(version);
    store.saveDiagnostics(running);
  }
  running.appVersion = "final";
  store.saveDiagnosticsNow(running);
  const auto names = sessionFiles(store);
  ASSERT_EQ(names.size(), 1u);
  const auto text = readFile(store.diagnosticsFolder() / names[0]);
  EXPECT_EQ(DiagnosticsSession::fromJson(json::parse(text)).appVersion, "final");
}

TEST(DiagnosticsFiles, TheNewestTwentyAreKept) {
  struct Case {
    double newStart;
    std::string expectedGone;
  };
  // With twenty files present the lowest name goes, even the one just written.
  const std::vector<Case> cases = {
      {1700000100, "session-1700000000-0A1B2C3D.json"},
      {1600000000, "session-1600000000-0A1B2C3D.json"},
  };
  for (const auto& c : cases) {
    const TempFolder folder;
    const AppStore store(folder.path());
    for (int i = 0; i < 20; ++i) store.saveDiagnostics(session(1700000000 + i));
    store.saveDiagnosticsNow(session(c.newStart));
    const auto names = sessionFiles(store);
    EXPECT_EQ(names.size(), AppStore::keptDiagnosticsSessions);
    EXPECT_EQ(std::count(names.begin(), names.end(), c.expectedGone), 0);
  }
}

TEST(DiagnosticsFiles, OnlySessionJsonFilesAreListedReadOrRemoved) {
  const TempFolder folder;
  const AppStore store(folder.path());
  const auto diagnostics = folder / "diagnostics";
  writeFile(diagnostics / "session-9999999999-FFFFFFFF.JSON", "kept");
  writeFile(diagnostics / "notes.json", "kept");
  for (int i = 0; i < 25; ++i) store.saveDiagnostics(session(1700000000 + i));
  store.saveDiagnosticsNow(session(1700000100));
  EXPECT_EQ(readFile(diagnostics / "session-9999999999-FFFFFFFF.JSON"), "kept");
  EXPECT_EQ(readFile(diagnostics / "notes.json"), "kept");
  EXPECT_EQ(sessionFiles(store).size(), AppStore::keptDiagnosticsSessions);
}

TEST(DiagnosticsFiles, TheLatestSessionSkipsTheExcludedAndTheUndecodable) {
  const TempFolder folder;
  const AppStore store(folder.path());
  const auto previous = session(1700000000, "11111111-0000-4000-8000-000000000000");
  const auto running = session(1700000500, "22222222-0000-4000-8000-000000000000");
  store.saveDiagnostics(running);
  EXPECT_FALSE(store.latestDiagnostics(running.id));
  EXPECT_EQ(store.latestDiagnostics(std::nullopt), running);

  store.saveDiagnostics(previous);
  EXPECT_EQ(store.latestDiagnostics(running.id), previous);

  writeFile(folder / "diagnostics" / "session-1800000000-33333333.json", "{\"id\":");
  EXPECT_EQ(store.latestDiagnostics(std::nullopt), running);
  EXPECT_TRUE(std::filesystem::exists(folder / "diagnostics" / "session-1800000000-33333333.json"));
}

TEST(DiagnosticsFiles, AnUnencodableSessionWritesAndPrunesNothing) {
  const TempFolder folder;
  const AppStore store(folder.path());
  for (int i = 0; i < 21; ++i)
    writeFile(folder / "diagnostics" / ("session-17000000" + std::to_string(10 + i) + "-AAAAAAAA.json"),
              "{}");
  auto broken = session(1700000100);
  broken.updatedAt = Date{std::numeric_limits<double>::quiet_NaN()};
  store.saveDiagnosticsNow(broken);
  EXPECT_EQ(sessionFiles(store).size(), 21u);
}

TEST(DiagnosticsFiles, WritesQueuedBeforeTheStoreGoesAwayAreFinished) {
  const TempFolder folder;
  {
    const AppStore store(folder.path());
    for (int i = 0; i < 5; ++i) store.saveDiagnostics(session(1700000000 + i));
  }
  EXPECT_EQ(sessionFiles(AppStore(folder.path())).size(), 5u);
}

}  // namespace
}  // namespace kesta
