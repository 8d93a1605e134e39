#pragma once

#include <set>
#include <vector>

#include "model/ports/click_through.h"

namespace kesta::test {
using namespace kesta::model;

// Two windows; records which ignore the mouse now.
class FakeClickThrough : public ClickThrough {
 public:
  std::vector<WindowID> ignoreMouse() override {
    std::vector<WindowID> changed;
    for (const WindowID window : visible) {
      if (!ignoring.contains(window)) changed.push_back(window);
    }
    for (const WindowID window : changed) ignoring.insert(window);
    return changed;
  }
  void restoreMouse(const std::vector<WindowID>& windows) override {
    for (const WindowID window : windows) ignoring.erase(window);
  }

  std::vector<WindowID> visible{1, 2};
  std::set<WindowID> ignoring;
};

}  // namespace kesta::test
