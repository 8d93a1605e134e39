#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Whether rekordbox's active keyboard preset still gives the commands that
// one-click load presses their default keys. Reads rekordbox's settings and
// mapping files; never writes them, never fails.
namespace kesta::KeyPreset {

struct Command {
  std::string_view commandID;  // lower case, as compared
  std::string_view name;       // shown to the DJ
  std::string_view keys;       // rekordbox's default keys
};

inline constexpr std::array<Command, 4> required{{
    {"7000", "Search for tracks in Collections", "ctrl + F"},
    {"b129", "Load track to Deck 1", "shift + cursor left"},
    {"b12a", "Load track to Deck 2", "shift + cursor right"},
    {"b137", "Undo track load", "command + Z"},
}};

struct Matches {
  std::string preset;
  friend bool operator==(const Matches&, const Matches&) = default;
};
struct Differs {
  std::string preset;
  std::vector<std::string> commands;  // names of the commands that lost their keys, in table order
  friend bool operator==(const Differs&, const Differs&) = default;
};
struct Unknown {
  std::string reason;
  friend bool operator==(const Unknown&, const Unknown&) = default;
};
using Result = std::variant<Matches, Differs, Unknown>;

// rekordbox's settings folder ("rekordbox6"; see RekordboxFolders).
std::filesystem::path settingsFolder();

// Reads "rekordbox3.settings" and the active preset's mapping file in `folder`.
Result check(const std::filesystem::path& folder = settingsFolder());

// The active preset's number from the settings file's text, when it names one.
std::optional<std::string> activePresetID(std::string_view settings);

// Judges the bytes of one mapping file.
Result evaluate(std::string_view mappingsXML);

// A keys text as a set of its parts: lower case, split at "+", trimmed of
// spaces and tabs, empty parts dropped.
std::set<std::string> normalized(std::string_view keys);

}  // namespace kesta::KeyPreset
