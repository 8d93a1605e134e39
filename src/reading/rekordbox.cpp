#include "reading/rekordbox.h"

#include <algorithm>

#include "platform/x11/x11_window_system.h"

namespace kesta::Rekordbox {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

bool isApplicationName(std::string_view name) {
  return std::any_of(applicationNames.begin(), applicationNames.end(),
                     [&](std::string_view known) { return equalIgnoringCase(name, known); });
}

}  // namespace

bool ownsWindow(const WindowInfo& window) {
  return isApplicationName(window.instanceName) || isApplicationName(window.className);
}

bool isRunning(WindowSystem& windows) {
  try {
    const auto all = windows.windows();
    if (std::any_of(all.begin(), all.end(), ownsWindow)) return true;
  } catch (const WindowSystemError&) {
    // No display to ask: the process list still knows.
  }
  return std::any_of(applicationNames.begin(), applicationNames.end(),
                     [&](std::string_view name) { return windows.processRunning(name); });
}

bool isRunning() {
  X11WindowSystem windows;
  return isRunning(windows);
}

}  // namespace kesta::Rekordbox
