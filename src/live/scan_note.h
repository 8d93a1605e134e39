#pragma once

#include <array>
#include <string_view>

namespace kesta::ScanNote {

// The starts of note lines in ScanRecord::events; every other line there
// describes a tracker event.
inline constexpr std::array<std::string_view, 3> prefixes{"reconnect", "dj-flag", "one-click"};

// True when the line starts with none of the prefixes (case-sensitive).
constexpr bool isTrackerEvent(std::string_view line) {
  for (const auto prefix : prefixes) {
    if (line.starts_with(prefix)) return false;
  }
  return true;
}

}  // namespace kesta::ScanNote
