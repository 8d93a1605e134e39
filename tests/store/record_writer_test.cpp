#include "store/record_writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "store/store_fixtures.h"

namespace kesta {
namespace {

using test::fileNames;
using test::readFile;
using test::TempFolder;

// The whole content of each file in the folder.
std::map<std::string, std::string> contents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& name : fileNames(folder)) files[name] = readFile(folder / name);
  return files;
}

TEST(RecordWriter, TheLatestSaveOfEachFileIsWhatLands) {
  struct Step {
    std::string name;
    std::optional<std::string> bytes;  // none: remove
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::map<std::string, std::string> expected;
  };
  const std::vector<Case> cases = {
      {"newest of many", {{"a", "1"}, {"a", "22"}, {"a", "333"}}, {{"a", "333"}}},
      {"removed after a write", {{"a", "1"}, {"a", std::nullopt}}, {}},
      {"written after a removal", {{"a", "1"}, {"a", std::nullopt}, {"a", "2"}}, {{"a", "2"}}},
      {"files apart", {{"a", "1"}, {"b", "2"}, {"a", "3"}, {"c", ""}}, {{"a", "3"}, {"b", "2"}, {"c", ""}}},
      {"removing what is not there", {{"b", std::nullopt}, {"a", "1"}}, {{"a", "1"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TempFolder folder;
    RecordWriter writer(folder.path());
    for (const auto& step : c.steps) {
      if (step.bytes) {
        writer.write(step.name, *step.bytes);
      } else {
        writer.remove(step.name);
      }
    }
    writer.flush();
    EXPECT_EQ(contents(folder.path()), c.expected);
  }
}

// A reader watching the folder while "a" and then "b" are saved with the same
// version, over and over: "b" never shows a version "a" has not reached, and
// neither file ever goes back to an older version, however far the writer
// falls behind.
TEST(RecordWriter, SavesLandInTheOrderTheyWereMade) {
  const TempFolder folder;
  constexpr int kVersions = 150;
  RecordWriter writer(folder.path());
  writer.write("a", "0");
  writer.write("b", "0");
  writer.flush();

  std::atomic<bool> done = false;
  std::optional<std::string> fault;  // the first one seen
  std::thread watcher([&] {
    int lastA = 0;
    int lastB = 0;
    while (!done) {
      // "b" first: whatever "a" holds afterwards is at least as new as it was then.
      const int b = std::stoi(readFile(folder / "b"));
      const int a = std::stoi(readFile(folder / "a"));
      if (!fault && a < b) fault = "b at " + std::to_string(b) + " before a, at " + std::to_string(a);
      if (!fault && (a < lastA || b < lastB))
        fault = "went back to " + std::to_string(a) + "/" + std::to_string(b);
      lastA = a;
      lastB = b;
    }
  });
  for (int version = 1; version <= kVersions; ++version) {
    writer.write("a", std::to_string(version));
    writer.write("b", std::to_string(version));
  }
  writer.flush();
  done = true;
  watcher.join();
  EXPECT_EQ(fault, std::nullopt);
  EXPECT_EQ(readFile(folder / "a"), std::to_string(kVersions));
  EXPECT_EQ(readFile(folder / "b"), std::to_string(kVersions));
}

TEST(RecordWriter, SavesFromSeveralThreadsAllLand) {
  const TempFolder folder;
  constexpr int kThreads = 4;
  constexpr int kSaves = 100;
  RecordWriter writer(folder.path());
  std::vector<std::thread> savers;
  for (int t = 0; t < kThreads; ++t) {
    savers.emplace_back([&writer, t] {
      const std::string name = "t" + std::to_string(t);
      for (int i = 0; i <= kSaves; ++i) writer.write(name, std::to_string(i));
      writer.flush();
    });
  }
  for (auto& saver : savers) saver.join();
  const auto files = contents(folder.path());
  ASSERT_EQ(files.size(), std::size_t{kThreads});
  for (const auto& [name, bytes] : files) EXPECT_EQ(bytes, std::to_string(kSaves)) << name;
}

}  // namespace
}  // namespace kesta
