#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "store/app_store.h"
#include "store/atomic_file.h"
#include "store/store_fixtures.h"

namespace kesta {
namespace {

using test::fileNames;
using test::kRecordFiles;
using test::readFile;
using test::TempFolder;
using test::writeFile;

// Whether the record kept in `file` reads as its defaults or as nothing.
bool readsAsDefault(const AppStore& store, const std::string& file) {
  if (file == "preferences.json") return store.preferences() == Preferences{};
  if (file == "userdata.json") return store.userData() == UserData{};
  if (file == "library.json") return !store.storedLibrary();
  if (file == "active-set.json") return !store.activeSet();
  if (file == "sets.json") return store.archivedSets().empty();
  return !store.legacy();
}

TEST(HostileFiles, ASpecialFileInARecordsPlaceReadsAsAbsentAndStays) {
  for (const std::string& file : kRecordFiles) {
    for (const bool fifo : {true, false}) {
      const TempFolder folder;
      const AppStore store(folder.path());
      if (fifo) {
        ASSERT_EQ(::mkfifo((folder / file).c_str(), 0600), 0);
      } else {
        std::filesystem::create_directory(folder / file);
      }
      EXPECT_TRUE(readsAsDefault(store, file)) << file;
      EXPECT_EQ(fileNames(folder.path()), std::vector<std::string>{file});
    }
  }
  const TempFolder folder;
  const AppStore store(folder.path());
  std::filesystem::create_directories(store.diagnosticsFolder());
  ASSERT_EQ(::mkfifo((store.diagnosticsFolder() / "session-1900000000-abcdef01.json").c_str(), 0600), 0);
  EXPECT_FALSE(store.latestDiagnostics(std::nullopt));
}

TEST(HostileFiles, ARecordBeyondTheSizeLimitIsSetAsideUnreadAndTheRestIsKept) {
  for (const std::string& file : kRecordFiles) {
    const TempFolder folder;
    const AppStore store(folder.path());
    store.savePreferences(Preferences{});
    store.saveUserData(UserData{{{"file:/kept.mp3", 4}}, {}});
    store.flush();
    const std::string preferences = readFile(folder / "preferences.json");
    const std::string userData = readFile(folder / "userdata.json");
    writeFile(folder / file, "");
    // Sparse: it takes no room on the disk, and must take none in memory.
    const std::uint64_t size =
        (file == "library.json" ? store.maximumLibraryBytes() : AtomicFile::maximumFileBytes) + 1;
    std::filesystem::resize_file(folder / file, size);

    EXPECT_TRUE(readsAsDefault(store, file)) << file;
    if (file != "preferences.json") {
      EXPECT_EQ(readFile(folder / "preferences.json"), preferences);
    }
    if (file != "userdata.json") {
      EXPECT_EQ(store.userData().ratings.size(), 1u);
      EXPECT_EQ(readFile(folder / "userdata.json"), userData);
    }
    std::vector<std::string> aside;
    for (const auto& name : fileNames(folder.path())) {
      if (name.starts_with(file + ".unreadable-")) aside.push_back(name);
    }
    ASSERT_EQ(aside.size(), 1u) << file;
    EXPECT_EQ(std::filesystem::file_size(folder / aside[0]), size);
    EXPECT_FALSE(std::filesystem::exists(folder / file));
  }
}

TEST(HostileFiles, DeeplyNestedJsonIsSetAsideWithoutExhaustingTheStack) {
  const std::size_t depth = 200'000;
  for (const std::string& file : kRecordFiles) {
    for (const auto& [open, close] : {std::pair{'[', ']'}, std::pair{'{', '}'}}) {
      const TempFolder folder;
      const AppStore store(folder.path());
      std::string nested;
      if (open == '[') {
        nested = std::string(depth, '[') + std::string(depth, ']');
      } else {
        for (std::size_t i = 0; i < depth; ++i) nested += R"({"a":)";
        nested += "1" + std::string(depth, '}');
      }
      writeFile(folder / file, nested);
      EXPECT_TRUE(readsAsDefault(store, file)) << file;
      const auto names = fileNames(folder.path());
      ASSERT_EQ(names.size(), 1u);
      EXPECT_TRUE(names[0].starts_with(file + ".unreadable-")) << names[0];
    }
  }
}

TEST(HostileFiles, OpeningTheFolderRemovesLeftoversOfInterruptedSavesOnly) {
  const TempFolder folder;
  std::filesystem::create_directories(folder / "diagnostics");
  const std::vector<std::string> leftovers = {".library.json.tmp-a1B2c3", ".sets.json.tmp-ZZZZZZ",
                                              "diagnostics/.session-1-abcd.json.tmp-x0x0x0"};
  const std::vector<std::string> kept = {
      "library.json.tmp-a1B2c3",   // not hidden
      ".library.json.tmp-a1B2c",   // five letters
      ".library.json.tmp-a1B2c!",  // not a letter
      ".tmp-abcdef",               // no target name
      "notes.txt",
  };
  for (const auto& name : leftovers) writeFile(folder / name, "partial");
  for (const auto& name : kept) writeFile(folder / name, "mine");
  std::filesystem::create_directory(folder / ".folder.tmp-abcdef");

  const AppStore store(folder.path());
  for (const auto& name : leftovers) EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
  for (const auto& name : kept) EXPECT_EQ(readFile(folder / name), "mine") << name;
  EXPECT_TRUE(std::filesystem::is_directory(folder / ".folder.tmp-abcdef"));
}

}  // namespace
}  // namespace kesta
