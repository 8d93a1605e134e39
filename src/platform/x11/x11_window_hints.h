#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/x11/x11_connection.h"

namespace kesta {

// Asks the window manager to show one of the application's own top-level
// windows on every workspace. The request is made through properties on the
// window, which the server keeps, so it works from a connection of its own;
// it is read when the manager maps the window, so it is made each time
// before the window is shown, and once more as a message for a window
// already managed. It also tells, from the events of the application's own
// connection, when the manager changed the frame around a window, which the
// manager may do after the window was placed without moving it, and when a
// compositing manager came or went. It asks for the dark variant of the
// window manager's frame, and tells whether a compositing manager runs.
// Does nothing (no compositor) while no display can be reached. Main thread.
class X11WindowHints {
 public:
  // The display named, or $DISPLAY, opened on first use.
  explicit X11WindowHints(std::string displayName = {});
  ~X11WindowHints();

  // _NET_WM_DESKTOP "all desktops" and _NET_WM_STATE_STICKY on `window`;
  // back when the server has them, so a show that follows sees them.
  void showOnEveryDesktop(std::uint32_t window);
  // The window whose frame extents (_NET_FRAME_EXTENTS) `event` says have
  // changed; none for any other event.
  std::optional<std::uint32_t> frameChanged(const xcb_generic_event_t& event);
  // _GTK_THEME_VARIANT "dark" on `window`, which frames drawn from the
  // desktop's theme read when the manager maps the window. Made through
  // `connection`, the one that created the window, so that the property is
  // there before the window's own map request, and the window exists.
  static void preferDarkFrame(xcb_connection_t* connection, std::uint32_t window);
  // Whether a compositing manager owns the screen's _NET_WM_CM_S<n> selection.
  bool compositing();
  // Whether `event` says the owner of that selection changed; it reaches the
  // application's own connection, which Qt subscribes to these changes.
  bool compositorChanged(const xcb_generic_event_t& event);

 private:
  X11Connection* connection();
  xcb_atom_t compositorSelection(X11Connection& x);

  std::string displayName_;
  std::unique_ptr<X11Connection> connection_;
};

}  // namespace kesta
