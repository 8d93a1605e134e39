#include "platform/x11/x11_input_system.h"

#include <xcb/xtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/desktop/window_system.h"

namespace kesta {

namespace {

// macOS virtual key codes (ANSI positions) and the key symbols they type.
struct KeyName {
  std::uint16_t macCode;
  xcb_keysym_t keysym;
};
constexpr std::array<KeyName, 40> kKeys{{
    {0, 'a'},      {1, 's'},      {2, 'd'},      {3, 'f'},      {4, 'h'},      {5, 'g'},     {6, 'z'},
    {7, 'x'},      {8, 'c'},      {9, 'v'},      {11, 'b'},     {12, 'q'},     {13, 'w'},    {14, 'e'},
    {15, 'r'},     {16, 'y'},     {17, 't'},     {31, 'o'},     {32, 'u'},     {34, 'i'},    {35, 'p'},
    {37, 'l'},     {38, 'j'},     {40, 'k'},     {45, 'n'},     {46, 'm'},     {18, '1'},    {19, '2'},
    {20, '3'},     {21, '4'},     {36, 0xff0d},  {48, 0xff09},  {49, ' '},     {51, 0xff08}, {53, 0xff1b},
    {117, 0xffff}, {123, 0xff51}, {124, 0xff53}, {125, 0xff54}, {126, 0xff52},
}};
constexpr xcb_keysym_t kShiftL = 0xffe1;
constexpr xcb_keysym_t kControlL = 0xffe3;

std::optional<xcb_keysym_t> keysymOf(std::uint16_t macCode) {
  for (const auto& key : kKeys) {
    if (key.macCode == macCode) return key.keysym;
  }
  return std::nullopt;
}

// The key code whose unshifted symbol is `keysym`.
std::optional<xcb_keycode_t> keycodeOf(xcb_connection_t* c, const xcb_setup_t* setup, xcb_keysym_t keysym) {
  const int first = setup->min_keycode;
  const int count = setup->max_keycode - setup->min_keycode + 1;
  XcbReply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
      c, xcb_get_keyboard_mapping(c, xcb_keycode_t(first), std::uint8_t(count)), nullptr));
  if (!mapping) return std::nullopt;
  const auto* symbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
  const int perCode = mapping->keysyms_per_keycode;
  for (int code = 0; code < count && perCode > 0; ++code) {
    if (symbols[code * perCode] == keysym) return xcb_keycode_t(first + code);
  }
  return std::nullopt;
}

XcbReply<xcb_get_property_reply_t> property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                                            xcb_atom_t type) {
  return XcbReply<xcb_get_property_reply_t>(
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 1), nullptr));
}

std::optional<std::uint32_t> cardinal(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                                      xcb_atom_t type) {
  const auto reply = property(c, window, name, type);
  if (!reply || xcb_get_property_value_length(reply.get()) < 4) return std::nullopt;
  return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

// The process of the first window from `window` up to the root that names one.
std::optional<std::int32_t> processOf(X11Connection& x, xcb_window_t window) {
  xcb_connection_t* c = x.raw();
  while (window != XCB_WINDOW_NONE && window != x.root()) {
    if (const auto pid = cardinal(c, window, x.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL))
      return static_cast<std::int32_t>(*pid);
    XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
    if (!tree) return std::nullopt;
    window = tree->parent;
  }
  return std::nullopt;
}

}  // namespace

X11InputSystem::X11InputSystem(std::string displayName) : displayName_(std::move(displayName)) {}

X11InputSystem::~X11InputSystem() = default;

X11Connection* X11InputSystem::connection() {
  if (!connection_ || connection_->broken()) {
    connection_.reset();
    try {
      clock_ = XCB_WINDOW_NONE;
      connection_ = std::make_unique<X11Connection>(displayName_);
    } catch (const WindowSystemError&) {
      return nullptr;
    }
  }
  return connection_.get();
}

void X11InputSystem::sync(X11Connection& x) {
  XcbReply<xcb_get_input_focus_reply_t> reply(
      xcb_get_input_focus_reply(x.raw(), xcb_get_input_focus(x.raw()), nullptr));
}

bool X11InputSystem::hasWindowManager(X11Connection& x) {
  return cardinal(x.raw(), x.root(), x.atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).value_or(0) != 0;
}

bool X11InputSystem::trusted() {
  const std::lock_guard lock(mutex_);
  auto* x = connection();
  if (!x) return false;
  const auto* extension = xcb_get_extension_data(x->raw(), &xcb_test_id);
  return extension && extension->present;
}

std::optional<std::int32_t> X11InputSystem::frontmostProcess() {
  const std::lock_guard lock(mutex_);
  auto* x = connection();
  if (!x) return std::nullopt;
  // Keys go where the input focus is, which a window manager may report
  // later (or, refusing a request, never) as its active window.
  XcbReply<xcb_get_input_focus_reply_t> focus(
      xcb_get_input_focus_reply(x->raw(), xcb_get_input_focus(x->raw()), nullptr));
  // PointerRoot (1) and None (0) name no window.
  if (focus && focus->focus > 1) {
    if (const auto pid = processOf(*x, focus->focus)) return pid;
  }
  if (!hasWindowManager(*x)) return std::nullopt;
  const xcb_window_t active =
      cardinal(x->raw(), x->root(), x->atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW).value_or(XCB_WINDOW_NONE);
  if (active == XCB_WINDOW_NONE) return std::nullopt;
  return processOf(*x, active);
}

void X11InputSystem::activate(std::uint32_t window) {
  const std::lock_guard lock(mutex_);
  auto* x = connection();
  if (!x) return;
  if (!hasWindowManager(*x)) {
    raiseAndFocus(window);
    return;
  }
  // Managers that prevent focus stealing refuse a request older than the
  // user's last input (the click that asked for it) and treat a request
  // without a time as old: it carries the server's time now.
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = x->atom("_NET_ACTIVE_WINDOW");
  message.data.data32[0] = 2;  // source: a pager, as the user asked for it
  message.data.data32[1] = serverTime(*x);
  message.data.data32[2] =
      cardinal(x->raw(), x->root(), x->atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW).value_or(XCB_WINDOW_NONE);
  xcb_send_event(x->raw(), 0, x->root(),
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(x->raw());
}

xcb_timestamp_t X11InputSystem::serverTime(X11Connection& x) {
  xcb_connection_t* c = x.raw();
  if (clock_ == XCB_WINDOW_NONE) {
    clock_ = xcb_generate_id(c);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, 0, clock_, x.root(), -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
  }
  // Appending nothing to a property still reports the change, with the time.
  const xcb_atom_t name = x.atom("_KESTA_TIME");
  xcb_change_property(c, XCB_PROP_MODE_APPEND, clock_, name, XCB_ATOM_STRING, 8, 0, nullptr);
  // The server sends the event before the reply to a request made after the
  // change: once that reply is in, the event is queued here.
  sync(x);
  while (XcbReply<xcb_generic_event_t> event{xcb_poll_for_queued_event(c)}) {
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) continue;
    const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
    if (notify->window == clock_ && notify->atom == name) return notify->time;
  }
  return XCB_CURRENT_TIME;
}

void X11InputSystem::raiseAndFocus(std::uint32_t window) {
  const std::lock_guard lock(mutex_);
  auto* x = connection();
  if (!x) return;
  const std::uint32_t above = XCB_STACK_MODE_ABOVE;
  xcb_configure_window(x->raw(), window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
  xcb_set_input_focus(x->raw(), XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
  sync(*x);
}

std::optional<std::string> X11InputSystem::focusedRole(std::int32_t) { return std::nullopt; }

bool X11InputSystem::sendKey(std::uint16_t keyCode, std::uint64_t flags) {
  const std::lock_guard lock(mutex_);
  auto* x = connection();
  if (!x || !trusted()) return false;
  const auto* setup = xcb_get_setup(x->raw());
  const auto symbol = keysymOf(keyCode);
  if (!symbol) return false;
  const auto key = keycodeOf(x->raw(), setup, *symbol);
  std::vector<xcb_keycode_t> modifiers;
  if (flags & KeyFlags::shift) modifiers.push_back(keycodeOf(x->raw(), setup, kShiftL).value_or(0));
  if (flags & (KeyFlags::control | KeyFlags::command)) {
    modifiers.push_back(keycodeOf(x->raw(), setup, kControlL).value_or(0));
  }
  if (!key || std::find(modifiers.begin(), modifiers.end(), xcb_keycode_t(0)) != modifiers.end())
    return false;

  const auto fake = [&](std::uint8_t type, xcb_keycode_t code) {
    xcb_test_fake_input(x->raw(), type, code, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
  };
  for (const auto modifier : modifiers) fake(XCB_KEY_PRESS, modifier);
  fake(XCB_KEY_PRESS, *key);
  fake(XCB_KEY_RELEASE, *key);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) fake(XCB_KEY_RELEASE, *it);
  sync(*x);
  return true;
}

bool X11InputSystem::click(Point point) {
  const std::lock_guard lock(mutex_);
  auto* x = connection();
  if (!x || !trusted()) return false;
  const auto px = static_cast<std::int16_t>(std::lround(point.x));
  const auto py = static_cast<std::int16_t>(std::lround(point.y));
  // Buttons press where the pointer is, so it goes there first.
  xcb_test_fake_input(x->raw(), XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, x->root(), px, py, 0);
  xcb_test_fake_input(x->raw(), XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
  xcb_test_fake_input(x->raw(), XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
  sync(*x);
  return true;
}

std::optional<Point> X11InputSystem::pointer() {
  const std::lock_guard lock(mutex_);
  auto* x = connection();
  if (!x) return std::nullopt;
  XcbReply<xcb_query_pointer_reply_t> reply(
      xcb_query_pointer_reply(x->raw(), xcb_query_pointer(x->raw(), x->root()), nullptr));
  if (!reply) return std::nullopt;
  return Point{double(reply->root_x), double(reply->root_y)};
}

void X11InputSystem::movePointer(Point point) {
  const std::lock_guard lock(mutex_);
  auto* x = connection();
  if (!x) return;
  xcb_warp_pointer(x->raw(), XCB_WINDOW_NONE, x->root(), 0, 0, 0, 0,
                   static_cast<std::int16_t>(std::lround(point.x)),
                   static_cast<std::int16_t>(std::lround(point.y)));
  sync(*x);
}

}  // namespace kesta
