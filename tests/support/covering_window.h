#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kesta::test {

// A plain white window mapped above everything else on a display, for tests
// of windows that other windows cover. It goes when the object goes.
class CoveringWindow {
 public:
  CoveringWindow(const std::string& display, int x, int y, int width, int height);
  ~CoveringWindow();
  CoveringWindow(const CoveringWindow&) = delete;
  CoveringWindow& operator=(const CoveringWindow&) = delete;

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
};

}  // namespace kesta::test
