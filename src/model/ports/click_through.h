#pragma once

#include <cstdint>
#include <vector>

namespace kesta::model {

// Lets the mouse pass through this application's windows while the loader
// drives rekordbox. Main thread.
class ClickThrough {
 public:
  using WindowID = std::uint64_t;

  virtual ~ClickThrough() = default;
  // Every visible window that still takes mouse events is made to ignore
  // them; answers those windows.
  virtual std::vector<WindowID> ignoreMouse() = 0;
  // Gives these windows their mouse events back.
  virtual void restoreMouse(const std::vector<WindowID>& windows) = 0;
};

}  // namespace kesta::model
