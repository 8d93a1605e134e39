#pragma once

#include <filesystem>
#include <vector>

// Where rekordbox keeps its own files for this user. It runs under Wine here,
// so its application data lies in the Wine prefix; the home folder's
// "Library" is where it keeps them on a Mac, and is looked at after.
//
// Every call reads the environment anew ("WINEPREFIX", "HOME", "USER") and
// touches no file.
namespace kesta::RekordboxFiles {

// The user's roaming application-data folders in the Wine prefix
// ("$WINEPREFIX", else "~/.wine"): "AppData/Roaming", then the older
// "Application Data", under "drive_c/users/<user name>".
std::vector<std::filesystem::path> wineRoamingFolders();

// rekordbox's database "master.db", most likely place first: under each Wine
// roaming folder at "Pioneer/rekordbox/master.db", then
// "Library/Pioneer/rekordbox/master.db" in the home folder.
std::vector<std::filesystem::path> databaseLocations();

}  // namespace kesta::RekordboxFiles
