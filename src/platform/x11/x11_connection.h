#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace kesta {

// A reply or error that xcb allocated for the caller.
struct XcbFree {
  void operator()(void* p) const { std::free(p); }
};
template <class T>
using XcbReply = std::unique_ptr<T, XcbFree>;

// One connection to an X server. Requests whose failure matters are made
// checked, so an error (a window that vanished, say) comes back to the caller
// instead of ending the process as Xlib's default handler would.
class X11Connection {
 public:
  // Opens the display named, or $DISPLAY when the name is empty. Throws
  // WindowSystemError when no connection can be made.
  explicit X11Connection(const std::string& displayName = {});
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  xcb_connection_t* raw() const { return connection_; }
  const xcb_screen_t& screen() const { return *screen_; }
  xcb_window_t root() const { return screen_->root; }
  // The screen's number on its display (the 1 of ":0.1").
  int screenNumber() const { return screenNumber_; }

  // The connection broke (the server went away); it cannot be used again.
  bool broken() const { return xcb_connection_has_error(connection_) != 0; }

  // The atom of that name, interned on first use; XCB_ATOM_NONE when the
  // server refuses.
  xcb_atom_t atom(std::string_view name);

 private:
  xcb_connection_t* connection_ = nullptr;
  const xcb_screen_t* screen_ = nullptr;
  int screenNumber_ = 0;
  std::map<std::string, xcb_atom_t, std::less<>> atoms_;
};

// A short description of an X protocol error, for messages.
std::string describeXError(const xcb_generic_error_t& error);

}  // namespace kesta
