#include "platform/x11/x11_connection.h"

#include "platform/desktop/window_system.h"

namespace kesta {

X11Connection::X11Connection(const std::string& displayName) {
  connection_ = xcb_connect(displayName.empty() ? nullptr : displayName.c_str(), &screenNumber_);
  if (xcb_connection_has_error(connection_)) {
    xcb_disconnect(connection_);
    const char* shown = displayName.empty() ? std::getenv("DISPLAY") : displayName.c_str();
    throw WindowSystemError("can't open the X display " +
                            std::string(shown && *shown ? shown : "(DISPLAY is not set)"));
  }
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
  for (int i = 0; i < screenNumber_ && it.rem > 0; ++i) xcb_screen_next(&it);
  if (it.rem == 0) {
    xcb_disconnect(connection_);
    throw WindowSystemError("the X display has no screen " + std::to_string(screenNumber_));
  }
  screen_ = it.data;
}

X11Connection::~X11Connection() { xcb_disconnect(connection_); }

xcb_atom_t X11Connection::atom(std::string_view name) {
  if (auto found = atoms_.find(name); found != atoms_.end()) return found->second;
  const auto cookie = xcb_intern_atom(connection_, 0, std::uint16_t(name.size()), name.data());
  XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection_, cookie, nullptr));
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  if (reply) atoms_.emplace(std::string(name), atom);
  return atom;
}

std::string describeXError(const xcb_generic_error_t& error) {
  static constexpr const char* kNames[] = {
      "",          "BadRequest", "BadValue",    "BadWindow",   "BadPixmap", "BadAtom",
      "BadCursor", "BadFont",    "BadMatch",    "BadDrawable", "BadAccess", "BadAlloc",
      "BadColor",  "BadGC",      "BadIDChoice", "BadName",     "BadLength", "BadImplementation"};
  const int code = error.error_code;
  if (code > 0 && code < int(std::size(kNames))) return kNames[code];
  return "X error " + std::to_string(code);
}

}  // namespace kesta
