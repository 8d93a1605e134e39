#pragma once

#include <QAbstractNativeEventFilter>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "model/ports/rekordbox_app.h"
#include "platform/image/geometry.h"
#include "platform/x11/x11_window_hints.h"
#include "ui/shell/dark_window_frames.h"
#include "ui/shell/window_mode.h"

class QWidget;

namespace kesta::model {
class AppModel;
}

namespace kesta::ui {

class CardPanel;
class FullWindow;

// Owns the two top-level windows for the life of the process, the full
// window and the corner card, and keeps exactly one of them on screen: the
// one of the stored mode at start, then the one `setMode` asks for. Each
// window opens at its kept top-left corner (or the top-right of the screen
// under the mouse), placed again whenever the window manager puts or changes
// its frame around it before it was moved, and keeps its corner whenever it is
// moved while shown. On X11 both windows are on every workspace, every
// window asks for a dark frame, the card is cut to its rounded outline while
// no compositing manager runs (checked as it is shown, and again whenever
// one comes or goes), and a shown window that the server has not mapped
// after a while (its map request lost by a window manager taking over the
// screen at that moment) is shown again.
// Showing the full window activates the application; showing the card never
// does, and hands the keyboard back to rekordbox when the application had
// it. Main thread only.
class WindowController : public QObject, private QAbstractNativeEventFilter {
  Q_OBJECT

 public:
  using SetMode = std::function<void(WindowMode)>;
  using Expand = std::function<void()>;
  // The two windows' contents, each made once with the closure its mode
  // switch calls; the closures hold the controller weakly.
  struct Contents {
    std::function<QWidget*(SetMode)> full;
    std::function<QWidget*(Expand)> card;
  };

  WindowController(std::shared_ptr<model::AppModel> model, std::shared_ptr<model::RekordboxApp> rekordbox,
                   const Contents& contents, QObject* parent = nullptr);
  ~WindowController() override;

  WindowMode mode() const { return mode_; }
  // Switches to `mode`; nothing happens when it is already shown.
  void setMode(WindowMode mode);

  FullWindow& fullWindow() const { return *fullWindow_; }
  CardPanel& cardPanel() const { return *cardPanel_; }

 signals:
  // The full window was closed or Ctrl+Q was pressed in it.
  void quitRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  void show(WindowMode mode);
  // Moves `window` to where `mode` opens it; its frame size is the content
  // size plus the window manager's frame margins, once it has been shown.
  void place(QWidget& window, WindowMode mode);
  // The same from the saved corner `corner` (none: the screen's top-right).
  void place(QWidget& window, WindowMode mode, std::optional<Point> corner);
  // Places `window` again from its saved corner when its frame margins
  // changed since it was placed and neither it nor its frame has moved since
  // (a small nudge by the manager just after placing counts as not moved);
  // whether it did. `spontaneous`: the window system moved or reframed it.
  bool placeInNewFrame(QWidget& window, bool spontaneous);
  // One of the two windows, or null.
  QWidget* ownWindow(const QObject* object) const;
  // The mode that shows `window`, one of the two.
  WindowMode modeOf(const QWidget& window) const;
  // On X11, shows `window` again, up to `tries` times, while it stays
  // unmapped a while after it was shown.
  void checkMapped(QWidget& window, int tries);
  // Asks the window manager, on X11, to show `window` on every workspace.
  void showOnEveryDesktop(QWidget& window);
  // Cuts the card to its outline, on X11, when no compositing manager runs.
  void fitCardToCompositor();

  std::shared_ptr<model::AppModel> model_;
  std::shared_ptr<model::RekordboxApp> rekordbox_;
  std::unique_ptr<FullWindow> fullWindow_;
  std::unique_ptr<CardPanel> cardPanel_;
  WindowMode mode_ = WindowMode::full;
  // How each window was last placed: with which frame margins, from which
  // saved corner, at which frame corner (Qt's coordinates).
  struct Placement {
    QMargins margins;
    std::optional<Point> corner;
    QPoint topLeft;
    std::chrono::steady_clock::time_point at;
  };
  std::map<const QWidget*, Placement> placed_;
  X11WindowHints desktopHints_;
  DarkWindowFrames darkFrames_;
};

}  // namespace kesta::ui
