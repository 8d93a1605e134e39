#include "reading/rekordbox_files.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace kesta::RekordboxFiles {
namespace {

std::optional<std::string> environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

std::filesystem::path homeFolder() {
  if (auto home = environment("HOME")) return *home;
  if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) return user->pw_dir;
  return {};
}

// Wine names the user's profile folder after the login name.
std::optional<std::string> userName() {
  if (auto name = environment("USER")) return name;
  if (const passwd* user = getpwuid(getuid()); user && user->pw_name) return std::string(user->pw_name);
  return std::nullopt;
}

}  // namespace

std::vector<std::filesystem::path> wineRoamingFolders() {
  const auto user = userName();
  std::filesystem::path prefix = environment("WINEPREFIX").value_or(std::string());
  if (prefix.empty() && !homeFolder().empty()) prefix = homeFolder() / ".wine";
  if (!user || prefix.empty()) return {};
  const auto profile = prefix / "drive_c" / "users" / *user;
  return {profile / "AppData" / "Roaming", profile / "Application Data"};
}

std::vector<std::filesystem::path> databaseLocations() {
  std::vector<std::filesystem::path> locations;
  for (const auto& roaming : wineRoamingFolders())
    locations.push_back(roaming / "Pioneer" / "rekordbox" / "master.db");
  if (const auto home = homeFolder(); !home.empty()) {
    locations.push_back(home / "Library" / "Pioneer" / "rekordbox" / "master.db");
  }
  return locations;
}

}  // namespace kesta::RekordboxFiles
