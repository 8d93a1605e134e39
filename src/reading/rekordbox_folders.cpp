#include "reading/rekordbox_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace kesta::RekordboxFolders {

namespace {

std::optional<std::string> environment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  return std::string(value);
}

// The Pioneer folder this machine's rekordbox uses, when one is known.
std::optional<std::filesystem::path> pioneerFolder() {
  if (auto overridden = environment("KESTA_PIONEER_DIR")) return std::filesystem::path(*overridden);
  const std::filesystem::path prefix = environment("WINEPREFIX").value_or((homeFolder() / ".wine").string());
  std::string user = environment("USER").value_or("");
  if (user.empty()) {
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_name) user = entry->pw_name;
  }
  return winePioneerFolder(prefix, user);
}

}  // namespace

std::filesystem::path homeFolder() {
  if (auto home = environment("HOME")) return *home;
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return {};
}

std::optional<std::filesystem::path> winePioneerFolder(const std::filesystem::path& prefix,
                                                       const std::string& user) {
  if (user.empty()) return std::nullopt;
  const std::filesystem::path home = prefix / "drive_c" / "users" / user;
  for (const auto& roaming : {home / "AppData" / "Roaming", home / "Application Data"}) {
    std::error_code error;
    if (std::filesystem::is_directory(roaming / "Pioneer", error)) return roaming / "Pioneer";
  }
  return std::nullopt;
}

std::filesystem::path settingsFolder() {
  if (auto pioneer = pioneerFolder()) return *pioneer / "rekordbox6";
  return homeFolder() / "Library" / "Application Support" / "Pioneer" / "rekordbox6";
}

std::filesystem::path databaseFile() {
  if (auto pioneer = pioneerFolder()) return *pioneer / "rekordbox" / "master.db";
  return homeFolder() / "Library" / "Pioneer" / "rekordbox" / "master.db";
}

}  // namespace kesta::RekordboxFolders
