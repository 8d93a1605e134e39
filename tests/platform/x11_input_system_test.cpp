// Activation and the frontmost process of the X11 input system, against a
// private Xvfb where the test itself plays the window manager.

#include "platform/x11/x11_input_system.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "support/xvfb_server.h"

namespace kesta {
namespace {

class X11InputSystemTest : public ::testing::Test {
 protected:
  test::XvfbServer server;
  X11Connection x{server.display()};
  X11InputSystem input{server.display()};

  // A mapped top-level window, of process `pid` when given.
  xcb_window_t window(std::optional<std::uint32_t> pid) {
    const xcb_window_t id = xcb_generate_id(x.raw());
    xcb_create_window(x.raw(), XCB_COPY_FROM_PARENT, id, x.root(), 0, 0, 50, 50, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, x.screen().root_visual, 0, nullptr);
    if (pid) setCardinal(id, "_NET_WM_PID", XCB_ATOM_CARDINAL, *pid);
    xcb_map_window(x.raw(), id);
    return id;
  }
  void setCardinal(xcb_window_t on, const char* name, xcb_atom_t type, std::uint32_t value) {
    xcb_change_property(x.raw(), XCB_PROP_MODE_REPLACE, on, x.atom(name), type, 32, 1, &value);
  }
  void sync() { free(xcb_get_input_focus_reply(x.raw(), xcb_get_input_focus(x.raw()), nullptr)); }

  // Takes the manager's part: redirects the root's children and says so.
  void becomeWindowManager() {
    const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(x.raw(), x.root(), XCB_CW_EVENT_MASK, &events);
    setCardinal(x.root(), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW, window(std::nullopt));
    sync();
  }
  // The server's time now, read from a change of a root property.
  xcb_timestamp_t now() {
    xcb_change_property(x.raw(), XCB_PROP_MODE_APPEND, x.root(), x.atom("_TEST_TIME"), XCB_ATOM_STRING, 8, 0,
                        nullptr);
    xcb_flush(x.raw());
    while (XcbReply<xcb_generic_event_t> event{xcb_wait_for_event(x.raw())}) {
      const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event.get());
      if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY && notify->atom == x.atom("_TEST_TIME"))
        return notify->time;
    }
    return XCB_CURRENT_TIME;
  }
};

TEST_F(X11InputSystemTest, AsksTheWindowManagerAsTheUserWithTheServersTimeNow) {
  becomeWindowManager();
  const xcb_window_t target = window(1234);
  sync();
  const xcb_timestamp_t before = now();
  input.activate(target);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  std::optional<xcb_client_message_event_t> request;
  while (!request && std::chrono::steady_clock::now() < until) {
    XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(x.raw())};
    if (event && (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
      const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event.get());
      if (message->type == x.atom("_NET_ACTIVE_WINDOW")) request = *message;
    }
  }
  ASSERT_TRUE(request) << "no _NET_ACTIVE_WINDOW request";
  EXPECT_EQ(request->window, target);
  EXPECT_EQ(request->data.data32[0], 2u);  // as the user asked
  // Not older than the user's last input: managers that prevent focus stealing refuse those.
  EXPECT_NE(request->data.data32[1], XCB_CURRENT_TIME);
  EXPECT_GE(request->data.data32[1], before);
}

TEST_F(X11InputSystemTest, TheFrontmostProcessOwnsTheInputFocusElseTheManagersActiveWindow) {
  becomeWindowManager();
  const xcb_window_t focused = window(111);
  const xcb_window_t active = window(222);
  const xcb_window_t child = xcb_generate_id(x.raw());
  xcb_create_window(x.raw(), XCB_COPY_FROM_PARENT, child, focused, 0, 0, 10, 10, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, x.screen().root_visual, 0, nullptr);
  xcb_map_window(x.raw(), child);
  setCardinal(x.root(), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, active);
  struct Case {
    const char* name;
    xcb_window_t focus;
    std::optional<std::int32_t> front;
  };
  for (const Case& c : std::vector<Case>{{"focusedWindow", focused, 111},
                                         {"childOfFocusedWindow", child, 111},
                                         {"noFocus", XCB_WINDOW_NONE, 222},
                                         {"pointerRoot", XCB_INPUT_FOCUS_POINTER_ROOT, 222}}) {
    xcb_set_input_focus(x.raw(), XCB_INPUT_FOCUS_NONE, c.focus, XCB_CURRENT_TIME);
    sync();
    EXPECT_EQ(input.frontmostProcess(), c.front) << c.name;
  }
}

}  // namespace
}  // namespace kesta
