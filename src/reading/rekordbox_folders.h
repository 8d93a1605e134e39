#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Where rekordbox keeps its own files, read (never written) by the keyboard
// preset check and the export freshness check. rekordbox runs under Wine
// here, so its "Pioneer" folder lies in the Wine prefix ($WINEPREFIX, by
// default ~/.wine) under the user's roaming application data. The folder
// named by the environment variable KESTA_PIONEER_DIR, when set and not
// empty, stands in for that Pioneer folder. Without either, the
// home-relative places of rekordbox's own desktop layout are used. Worked
// out anew on every call; nothing here fails.
namespace kesta::RekordboxFolders {

// rekordbox's settings folder: "<Pioneer>/rekordbox6", else
// "Library/Application Support/Pioneer/rekordbox6" in the home folder.
std::filesystem::path settingsFolder();

// rekordbox's database file: "<Pioneer>/rekordbox/master.db", else
// "Library/Pioneer/rekordbox/master.db" in the home folder.
std::filesystem::path databaseFile();

// The Pioneer folder of `user` in the Wine prefix, when it exists: under
// "drive_c/users/<user>/AppData/Roaming", or "Application Data" in older
// prefixes.
std::optional<std::filesystem::path> winePioneerFolder(const std::filesystem::path& prefix,
                                                       const std::string& user);

// $HOME, else the password database's home folder of this user.
std::filesystem::path homeFolder();

}  // namespace kesta::RekordboxFolders
