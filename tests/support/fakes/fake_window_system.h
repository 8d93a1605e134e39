#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/desktop/window_system.h"

namespace kesta {

// A window system for tests: windows, pictures and processes as the test sets
// them, and failures on demand. Pictures are plain images of each window's
// size filled with one colour unless a picture was set.
class FakeWindowSystem : public WindowSystem {
 public:
  std::vector<WindowInfo> list;
  std::set<std::string> processes;
  std::map<std::uint32_t, Image> pictures;
  // When set, the next calls of that kind throw WindowSystemError with it.
  std::optional<std::string> listFailure;
  std::optional<std::string> captureFailure;

  int listCalls = 0;
  int captureCalls = 0;

  // The window of that id; throws std::out_of_range when there is none.
  WindowInfo& window(std::uint32_t id);

  std::vector<WindowInfo> windows() override;
  std::optional<Size> windowSize(std::uint32_t id) override;
  std::optional<Image> capture(std::uint32_t id) override;
  bool processRunning(std::string_view name) override;
};

}  // namespace kesta
