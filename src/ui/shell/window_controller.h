#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "model/ports/rekordbox_app.h"
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
// under the mouse) and keeps its corner whenever it is moved while shown.
// Showing the full window activates the application; showing the card never
// does, and hands the keyboard back to rekordbox when the application had
// it. Main thread only.
class WindowController : public QObject {
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

 private:
  void show(WindowMode mode);
  // Moves `window` to where `mode` opens it; its frame size is the content
  // size plus the window manager's frame margins, once it has been shown.
  void place(QWidget& window, WindowMode mode) const;

  std::shared_ptr<model::AppModel> model_;
  std::shared_ptr<model::RekordboxApp> rekordbox_;
  std::unique_ptr<FullWindow> fullWindow_;
  std::unique_ptr<CardPanel> cardPanel_;
  WindowMode mode_ = WindowMode::full;
};

}  // namespace kesta::ui
