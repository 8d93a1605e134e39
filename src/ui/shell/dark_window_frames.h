#pragma once

#include <QObject>

namespace kesta::ui {

// Asks the window manager, on X11, for the dark variant of the frame and
// title bar around every window the application shows (its two windows,
// dialogs, file pickers), just before each is mapped, so that a manager
// drawing its frames from the desktop's theme draws them dark. Menus and
// tooltips have no frame and are left alone. Watches the whole application
// while it lives. Main thread.
class DarkWindowFrames : public QObject {
 public:
  explicit DarkWindowFrames(QObject* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace kesta::ui
