#pragma once

#include <vector>

#include "model/ports/click_through.h"

namespace kesta::ui {

// Lets the mouse pass through this application's visible windows (the input
// of each is made transparent) while the loader clicks in rekordbox. Windows
// are named by their native id, so one closed in between is simply skipped.
// Main thread only.
class QtClickThrough : public model::ClickThrough {
 public:
  std::vector<WindowID> ignoreMouse() override;
  void restoreMouse(const std::vector<WindowID>& windows) override;
};

}  // namespace kesta::ui
