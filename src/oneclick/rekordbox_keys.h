#pragma once

#include <cstdint>

// rekordbox's own default shortcuts, as the loader sends them. Key codes are
// macOS virtual key codes (positions on an ANSI keyboard); the input layer maps
// them to this platform's keys, Command becoming Control.
namespace kesta::RekordboxKeys {

struct Stroke {
  std::uint16_t key = 0;
  bool shift = false;
  bool command = false;
  bool control = false;

  friend bool operator==(const Stroke&, const Stroke&) = default;
};

// Control-F: the cursor into the browser's search box.
inline constexpr Stroke search{.key = 3, .control = true};
// Command-A: select the search box's text.
inline constexpr Stroke selectAll{.key = 0, .command = true};
// Command-V: paste the title.
inline constexpr Stroke paste{.key = 9, .command = true};
// Command-Z: undo the last track load.
inline constexpr Stroke undoLoad{.key = 6, .command = true};

// Shift-Left loads the selected track onto deck 1, Shift-Right onto deck 2;
// any deck number other than 1 means deck 2.
constexpr Stroke load(int deck) {
  return Stroke{.key = static_cast<std::uint16_t>(deck == 1 ? 123 : 124), .shift = true};
}

}  // namespace kesta::RekordboxKeys
