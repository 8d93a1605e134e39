#include "platform/x11/x11_window_hints.h"

#include <algorithm>
#include <array>
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

}  // namespace kesta
