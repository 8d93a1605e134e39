#include "store/atomic_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "store/store_fixtures.h"

namespace kesta {
namespace {

using test::fileNames;
using test::readFile;
using test::TempFolder;
using test::writeFile;

TEST(AtomicFile, WriteReplacesTheTargetAndLeavesNothingElse) {
  const TempFolder folder;
  const auto file = folder / "sets.json";
  AtomicFile::write(file, "[1]");
  AtomicFile::write(file, "[2,3]");
  EXPECT_EQ(readFile(file), "[2,3]");
  EXPECT_EQ(fileNames(folder.path()), std::vector<std::string>{"sets.json"});
}

TEST(AtomicFile, AFailedWriteThrowsAndKeepsTheOldFile) {
  const TempFolder folder;
  const auto file = folder / "library.json";
  writeFile(file, "old");
  EXPECT_THROW(AtomicFile::write(folder / "missing" / "library.json", "new"), std::system_error);

  // A folder in the target's place cannot be replaced by a file.
  std::filesystem::create_directory(folder / "taken");
  writeFile(folder / "taken" / "inside", "x");
  EXPECT_THROW(AtomicFile::write(folder / "taken", "new"), std::system_error);
  EXPECT_EQ(readFile(file), "old");
  EXPECT_EQ(fileNames(folder.path()), (std::vector<std::string>{"library.json", "taken"}));

  if (::geteuid() != 0) {  // root writes through permissions
    std::filesystem::permissions(folder.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_THROW(AtomicFile::write(file, "new"), std::system_error);
    EXPECT_EQ(readFile(file), "old");
  }
}

TEST(AtomicFile, MoveAsideNeverReplacesAnEarlierFile) {
  struct Case {
    std::vector<std::string> alreadyThere;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {{}, "userdata.json.unreadable-100"},
      {{"userdata.json.unreadable-100"}, "userdata.json.unreadable-100-2"},
      {{"userdata.json.unreadable-100", "userdata.json.unreadable-100-2"}, "userdata.json.unreadable-100-3"},
  };
  for (const auto& c : cases) {
    const TempFolder folder;
    for (const auto& name : c.alreadyThere) writeFile(folder / name, "earlier " + name);
    writeFile(folder / "userdata.json", "broken");

    const auto moved = AtomicFile::moveAside(folder / "userdata.json", ".unreadable-100");
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->filename(), c.expected);
    EXPECT_EQ(readFile(*moved), "broken");
    EXPECT_FALSE(std::filesystem::exists(folder / "userdata.json"));
    for (const auto& name : c.alreadyThere) EXPECT_EQ(readFile(folder / name), "earlier " + name);
  }
  const TempFolder folder;
  EXPECT_FALSE(AtomicFile::moveAside(folder / "absent.json", ".unreadable-1"));
}

}  // namespace
}  // namespace kesta
