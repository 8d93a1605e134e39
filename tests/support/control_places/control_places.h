#pragma once

// Where Kesta's full window puts the controls that scripts/soak clicks, and
// how they look there. The window is the one the program makes, over the
// fake-driven model put into the state of each click, laid out and drawn
// offscreen by the views' own code, so the soak follows the layout instead of
// fixed points. Places are in pixels of the window's content as laid out
// without a title bar drawn by a window manager. Main thread of an offscreen
// QApplication only.

#include <QImage>
#include <QRect>
#include <memory>

class QAbstractButton;
class QWidget;

namespace kesta::ui {
class FullWindow;
class RootView;
}  // namespace kesta::ui

namespace kesta::test {

class ViewStage;

// What the soak clicks: Connect, once the library is in; the first lane's
// load button, while Kesta follows deck 1 and deck 2 stands loaded and stopped.
enum class SoakControl { connect, load };

struct ControlPlace {
  QRect rect;
  QImage look;  // the control's part of the window as drawn
};

// The full window over a model in the state in which the soak clicks `control`.
class StagedFullWindow {
 public:
  explicit StagedFullWindow(SoakControl control);
  ~StagedFullWindow();
  StagedFullWindow(const StagedFullWindow&) = delete;
  StagedFullWindow& operator=(const StagedFullWindow&) = delete;

  QWidget& window() const;
  // The control, or null when the window shows none in this state.
  QAbstractButton* control() const;
  // Where the control is; an empty rectangle when the window shows none.
  ControlPlace place() const;
  // How much higher the content sits under a window manager's title bar.
  int titleBand() const;

 private:
  SoakControl which_;
  std::unique_ptr<ViewStage> stage_;
  ui::RootView* root_;
  std::unique_ptr<ui::FullWindow> window_;
};

}  // namespace kesta::test
