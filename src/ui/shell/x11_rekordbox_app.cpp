#include "ui/shell/x11_rekordbox_app.h"

#include <utility>

#include "reading/rekordbox.h"

namespace kesta::ui {

X11RekordboxApp::X11RekordboxApp(std::shared_ptr<WindowSystem> windows, std::shared_ptr<InputSystem> input)
    : windows_(std::move(windows)), input_(std::move(input)) {}

bool X11RekordboxApp::isRunning() {
  try {
    return Rekordbox::isRunning(*windows_);
  } catch (const WindowSystemError&) {
    return false;
  }
}

void X11RekordboxApp::activate() {
  try {
    for (const WindowInfo& window : windows_->windows()) {
      if (!window.viewable || !Rekordbox::ownsWindow(window)) continue;
      input_->activate(window.id);
      return;
    }
  } catch (const WindowSystemError&) {
    // Nothing to bring forward.
  }
}

}  // namespace kesta::ui
