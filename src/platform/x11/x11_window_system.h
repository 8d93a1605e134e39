#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/desktop/window_system.h"
#include "platform/x11/x11_connection.h"

namespace kesta {

// The window system of an X server. Windows come from the window manager's
// _NET_CLIENT_LIST when there is one, else from a walk of the window tree.
// Pixels come through the Composite extension, which keeps a redirected
// window's contents whole whatever covers it; without it, from the screen.
class X11WindowSystem : public WindowSystem {
 public:
  // The display named, or $DISPLAY. The connection is opened on first use and
  // opened again after it broke; a display that cannot be reached makes the
  // calls throw WindowSystemError.
  explicit X11WindowSystem(std::string displayName = {});
  ~X11WindowSystem() override;

  std::vector<WindowInfo> windows() override;
  std::optional<Size> windowSize(std::uint32_t id) override;
  std::optional<Image> capture(std::uint32_t id) override;
  bool processRunning(std::string_view name) override;

 private:
  X11Connection& connection();
  bool compositeReady();
  std::optional<Image> readDrawable(xcb_drawable_t drawable, xcb_visualid_t visual, std::uint8_t depth,
                                    int width, int height);

  // A memory segment shared with the server, which hands over a picture
  // several times faster than a reply over the socket.
  struct SharedSegment;

  std::string displayName_;
  std::unique_ptr<X11Connection> connection_;
  std::optional<bool> composite_;
  std::set<std::uint32_t> redirected_;
  std::unique_ptr<SharedSegment> shared_;
  bool sharedUnusable_ = false;
};

}  // namespace kesta
