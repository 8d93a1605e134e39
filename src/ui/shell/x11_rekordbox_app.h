#pragma once

#include <memory>

#include "model/ports/rekordbox_app.h"
#include "platform/desktop/input_system.h"
#include "platform/desktop/window_system.h"

namespace kesta::ui {

// rekordbox as a running application on the X display: running when a
// window or a process of it exists; activated by asking the window manager
// for its first shown window (raised and focused directly without a window
// manager). Main thread; a window system that cannot answer counts as
// rekordbox not running.
class X11RekordboxApp : public model::RekordboxApp {
 public:
  X11RekordboxApp(std::shared_ptr<WindowSystem> windows, std::shared_ptr<InputSystem> input);

  bool isRunning() override;
  void activate() override;

 private:
  std::shared_ptr<WindowSystem> windows_;
  std::shared_ptr<InputSystem> input_;
};

}  // namespace kesta::ui
