#include "platform/x11/x11_window_hints.h"

#include <xcb/xfixes.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/desktop/window_system.h"

namespace kesta {

namespace {

// _NET_WM_DESKTOP's value for a window on every desktop.
constexpr std::uint32_t kAllDesktops = 0xFFFFFFFF;
// _NET_WM_STATE's action that adds a state.
constexpr std::uint32_t kStateAdd = 1;
// The source of a request: a pager, as the user asked for it.
constexpr std::uint32_t kFromUser = 2;
// The server numbers the events of its extensions from here on.
constexpr int kFirstExtensionEvent = 64;

std::vector<xcb_atom_t> atomList(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name) {
  XcbReply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, XCB_ATOM_ATOM, 0, 64), nullptr));
  if (!reply || reply->format != 32) return {};
  const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
  return {atoms, atoms + xcb_get_property_value_length(reply.get()) / 4};
}

void sendToRoot(X11Connection& x, xcb_window_t window, xcb_atom_t type, std::array<std::uint32_t, 5> data) {
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = type;
  std::copy(data.begin(), data.end(), message.data.data32);
  xcb_send_event(x.raw(), 0, x.root(),
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
}

}  // namespace

X11WindowHints::X11WindowHints(std::string displayName) : displayName_(std::move(displayName)) {}

X11WindowHints::~X11WindowHints() = default;

X11Connection* X11WindowHints::connection() {
  if (!connection_ || connection_->broken()) {
    connection_.reset();
    try {
      connection_ = std::make_unique<X11Connection>(displayName_);
    } catch (const WindowSystemError&) {
      return nullptr;
    }
  }
  return connection_.get();
}

void X11WindowHints::showOnEveryDesktop(std::uint32_t window) {
  auto* x = connection();
  if (!x) return;
  xcb_connection_t* c = x->raw();
  const xcb_atom_t desktop = x->atom("_NET_WM_DESKTOP");
  const xcb_atom_t state = x->atom("_NET_WM_STATE");
  const xcb_atom_t sticky = x->atom("_NET_WM_STATE_STICKY");
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, desktop, XCB_ATOM_CARDINAL, 32, 1, &kAllDesktops);
  std::vector<xcb_atom_t> states = atomList(c, window, state);
  if (std::find(states.begin(), states.end(), sticky) == states.end()) {
    states.push_back(sticky);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                        std::uint32_t(states.size()), states.data());
  }
  // A manager that already manages the window reads messages, not properties.
  sendToRoot(*x, window, desktop, {kAllDesktops, kFromUser, 0, 0, 0});
  sendToRoot(*x, window, state, {kStateAdd, sticky, 0, kFromUser, 0});
  XcbReply<xcb_get_input_focus_reply_t> done(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

std::optional<std::uint32_t> X11WindowHints::frameChanged(const xcb_generic_event_t& event) {
  // The top bit marks an event sent by another client.
  if ((event.response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return std::nullopt;
  const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(event);
  auto* x = connection();
  if (!x || change.atom != x->atom("_NET_FRAME_EXTENTS")) return std::nullopt;
  return change.window;
}

void X11WindowHints::preferDarkFrame(xcb_connection_t* connection, std::uint32_t window) {
  const auto intern = [connection](std::string_view name) {
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::uint16_t(name.size()), name.data()), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  };
  const xcb_atom_t variant = intern("_GTK_THEME_VARIANT");
  const xcb_atom_t utf8 = intern("UTF8_STRING");
  if (variant == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE) return;
  constexpr std::string_view kDark = "dark";
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, variant, utf8, 8,
                      std::uint32_t(kDark.size()), kDark.data());
  xcb_flush(connection);
}

xcb_atom_t X11WindowHints::compositorSelection(X11Connection& x) {
  return x.atom("_NET_WM_CM_S" + std::to_string(x.screenNumber()));
}

bool X11WindowHints::compositing() {
  auto* x = connection();
  if (!x) return false;
  xcb_connection_t* c = x->raw();
  XcbReply<xcb_get_selection_owner_reply_t> owner(
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, compositorSelection(*x)), nullptr));
  return owner && owner->owner != XCB_WINDOW_NONE;
}

bool X11WindowHints::compositorChanged(const xcb_generic_event_t& event) {
  // Core events, the most of them, are told apart without the server.
  if ((event.response_type & 0x7f) < kFirstExtensionEvent) return false;
  auto* x = connection();
  if (!x) return false;
  const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(x->raw(), &xcb_xfixes_id);
  if (!xfixes || !xfixes->present) return false;
  if ((event.response_type & 0x7f) != xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY) return false;
  const auto& notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
  return notify.selection == compositorSelection(*x);
}

}  // namespace kesta
