#pragma once

#include <array>
#include <string_view>

#include "platform/desktop/window_system.h"

// rekordbox as another application on this desktop.
namespace kesta::Rekordbox {

inline constexpr std::string_view bundleID = "com.pioneerdj.rekordboxdj";

// The names its windows carry as WM_CLASS instance or class, and its
// processes as command name: its own, and the one it runs under in Wine.
inline constexpr std::array<std::string_view, 2> applicationNames{"rekordbox", "rekordbox.exe"};

// Whether a window belongs to rekordbox: its WM_CLASS instance or class is
// one of the application names, in any case.
bool ownsWindow(const WindowInfo& window);

// Whether rekordbox runs: a window or a process of it exists, shown or not.
bool isRunning(WindowSystem& windows);

// The same on the default X display; without a display, processes only.
bool isRunning();

}  // namespace kesta::Rekordbox
