#include "reading/rekordbox_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>

namespace kesta {
namespace {

namespace fs = std::filesystem;

// Sets environment variables for one scope and puts the old values back.
class ScopedEnvironment {
 public:
  void set(const std::string& name, const std::optional<std::string>& value) {
    if (!saved_.contains(name)) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

TEST(RekordboxFolders, LookInTheOverrideTheWinePrefixOrTheHome) {
  const fs::path root =
      fs::temp_directory_path() / ("kesta-folders-" + std::to_string(std::random_device()()));
  const fs::path home = root / "home";
  const fs::path prefix = root / "prefix";
  struct Row {
    const char* name;
    std::optional<std::string> override;
    std::optional<std::string> winePrefix;
    fs::path madePioneer;  // created before the lookup; empty for none
    fs::path pioneer;      // where the files are expected; empty for the home fallbacks
  };
  const Row rows[] = {
      {"override", (root / "pio").string(), prefix.string(),
       prefix / "drive_c/users/dj/AppData/Roaming/Pioneer", root / "pio"},
      {"winePrefix", std::nullopt, prefix.string(), prefix / "drive_c/users/dj/AppData/Roaming/Pioneer",
       prefix / "drive_c/users/dj/AppData/Roaming/Pioneer"},
      {"olderPrefix", std::nullopt, prefix.string(), prefix / "drive_c/users/dj/Application Data/Pioneer",
       prefix / "drive_c/users/dj/Application Data/Pioneer"},
      {"defaultPrefix", std::nullopt, std::nullopt, home / ".wine/drive_c/users/dj/AppData/Roaming/Pioneer",
       home / ".wine/drive_c/users/dj/AppData/Roaming/Pioneer"},
      {"otherUser",
       std::nullopt,
       prefix.string(),
       prefix / "drive_c/users/someone/AppData/Roaming/Pioneer",
       {}},
      {"nothing", "", std::nullopt, {}, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    fs::remove_all(root);
    if (!row.madePioneer.empty()) fs::create_directories(row.madePioneer);
    ScopedEnvironment environment;
    environment.set("HOME", home.string());
    environment.set("USER", "dj");
    environment.set("KESTA_PIONEER_DIR", row.override);
    environment.set("WINEPREFIX", row.winePrefix);
    if (row.pioneer.empty()) {
      EXPECT_EQ(RekordboxFolders::settingsFolder(), home / "Library/Application Support/Pioneer/rekordbox6");
      EXPECT_EQ(RekordboxFolders::databaseFile(), home / "Library/Pioneer/rekordbox/master.db");
    } else {
      EXPECT_EQ(RekordboxFolders::settingsFolder(), row.pioneer / "rekordbox6");
      EXPECT_EQ(RekordboxFolders::databaseFile(), row.pioneer / "rekordbox/master.db");
    }
  }
  fs::remove_all(root);
}

}  // namespace
}  // namespace kesta
