#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/image/geometry.h"
#include "platform/image/image.h"

namespace kesta {

// One top-level application window as the window system lists it.
struct WindowInfo {
  std::uint32_t id = 0;
  std::string instanceName;         // first part of WM_CLASS
  std::string className;            // second part of WM_CLASS
  std::optional<std::int32_t> pid;  // the owning process, when the window names it
  Rect frame;                       // pixels, relative to the screen's top-left corner
  bool viewable = false;            // mapped, with every ancestor mapped
  bool minimized = false;           // iconified or hidden by the window manager

  friend bool operator==(const WindowInfo&, const WindowInfo&) = default;
};

// The window system could not answer; what() says why, fit to stand inside
// a longer sentence.
class WindowSystemError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The windows on screen and their pixels. Implementations are not safe for
// concurrent use: one caller at a time.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Every top-level application window, mapped or not, in the window manager's
  // list order (oldest first) or, without one, in stacking order.
  virtual std::vector<WindowInfo> windows() = 0;

  // The window's current size; absent when it is gone or cannot be asked.
  virtual std::optional<Size> windowSize(std::uint32_t id) = 0;

  // One picture of the window's own pixels at its current size, right also
  // where other windows cover it or where it reaches past the screen. Absent
  // when the window has no pixels to give: unmapped, minimised or gone.
  virtual std::optional<Image> capture(std::uint32_t id) = 0;

  // Whether a process with this command name runs on this machine.
  virtual bool processRunning(std::string_view name) = 0;
};

}  // namespace kesta
