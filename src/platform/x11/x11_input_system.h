#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/desktop/input_system.h"
#include "platform/x11/x11_connection.h"

namespace kesta {

// Synthetic input on an X server through the XTest extension. Key codes are
// macOS virtual key codes of an ANSI keyboard, mapped to key symbols; Command
// presses Control. The frontmost process owns the window with the input
// focus (else the manager's active window). Activation goes through the
// window manager's _NET_ACTIVE_WINDOW, as a request of the user's stamped
// with the server's time (so managers that prevent focus stealing grant it),
// or raises and focuses directly without a manager. Calls are serialised, so
// any thread may use it.
class X11InputSystem : public InputSystem {
 public:
  // The display named, or $DISPLAY, opened on first use and again after the
  // connection broke. While no display can be reached, trusted() is false
  // and the calls do nothing.
  explicit X11InputSystem(std::string displayName = {});
  ~X11InputSystem() override;

  bool trusted() override;
  std::optional<std::int32_t> frontmostProcess() override;
  void activate(std::uint32_t window) override;
  void raiseAndFocus(std::uint32_t window) override;
  // No accessibility bus to ask: always absent.
  std::optional<std::string> focusedRole(std::int32_t pid) override;
  bool sendKey(std::uint16_t keyCode, std::uint64_t flags) override;
  bool click(Point point) override;
  std::optional<Point> pointer() override;
  void movePointer(Point point) override;

 private:
  X11Connection* connection();
  bool hasWindowManager(X11Connection& x);
  // Blocks until the server has handled everything sent so far.
  static void sync(X11Connection& x);
  // The server's time now, read from a property change on a window of this
  // connection's; CurrentTime when the server does not answer in time.
  xcb_timestamp_t serverTime(X11Connection& x);

  // Recursive: a key stroke checks trust on the same thread.
  std::recursive_mutex mutex_;
  std::string displayName_;
  std::unique_ptr<X11Connection> connection_;
  xcb_window_t clock_ = XCB_WINDOW_NONE;  // the connection's window for reading the time
};

}  // namespace kesta
