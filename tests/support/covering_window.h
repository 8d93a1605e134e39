#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kesta::test {

// A plain white window mapped above everything else on a display, for tests
// of windows that other windows cover, or that clicks should reach through
// the windows above it. It goes when the object goes.
class CoveringWindow {
 public:
  CoveringWindow(const std::string& display, int x, int y, int width, int height);
  ~CoveringWindow();
  CoveringWindow(const CoveringWindow&) = delete;
  CoveringWindow& operator=(const CoveringWindow&) = delete;

  // Mouse button presses the window has received so far, waiting up to
  // `seconds` for at least one more than `seen`.
  int presses(int seen = 0, double seconds = 0);

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
};

}  // namespace kesta::test
