#pragma once

#include <sys/types.h>

#include <string>

namespace kesta::test {

// A private X server for one test: Xvfb on a display number it picks itself
// (-displayfd), no window manager, stopped when the object goes.
class XvfbServer {
 public:
  // Starts the server and waits until it accepts connections. Throws
  // std::runtime_error when Xvfb is missing or does not come up.
  explicit XvfbServer(int width = 1920, int height = 1200);
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  // The display name, such as ":7".
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace kesta::test
