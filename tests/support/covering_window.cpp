#include "support/covering_window.h"

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace kesta::test {

struct CoveringWindow::Connection {
  xcb_connection_t* connection = nullptr;
  xcb_window_t window = 0;
  int presses = 0;
};

CoveringWindow::CoveringWindow(const std::string& display, int x, int y, int width, int height)
    : connection_(std::make_unique<Connection>()) {
  xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
  connection_->connection = c;
  if (xcb_connection_has_error(c)) throw std::runtime_error("covering window: no connection to " + display);
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  connection_->window = xcb_generate_id(c);
  // Override-redirect keeps any window manager from moving it.
  const std::uint32_t values[] = {screen->white_pixel, 1, XCB_EVENT_MASK_BUTTON_PRESS};
  xcb_create_window(c, XCB_COPY_FROM_PARENT, connection_->window, screen->root, std::int16_t(x),
                    std::int16_t(y), std::uint16_t(width), std::uint16_t(height), 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                    XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
  xcb_map_window(c, connection_->window);
  // A round trip, so that the window is up when the constructor returns.
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

int CoveringWindow::presses(int seen, double seconds) {
  xcb_connection_t* c = connection_->connection;
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
      if ((event->response_type & 0x7f) == XCB_BUTTON_PRESS) ++connection_->presses;
      std::free(event);
    }
    if (connection_->presses > seen || std::chrono::steady_clock::now() >= until) return connection_->presses;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

CoveringWindow::~CoveringWindow() {
  xcb_connection_t* c = connection_->connection;
  if (!xcb_connection_has_error(c)) {
    xcb_destroy_window(c, connection_->window);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  }
  xcb_disconnect(c);
}

}  // namespace kesta::test
