#include "ui/shell/window_controller.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>
#include <utility>

#include "model/app_model.h"
#include "ui/shell/card_panel.h"
#include "ui/shell/full_window.h"
#include "ui/shell/screen_placement.h"

namespace kesta::ui {

WindowController::WindowController(std::shared_ptr<model::AppModel> model,
                                   std::shared_ptr<model::RekordboxApp> rekordbox, const Contents& contents,
                                   QObject* parent)
    : QObject(parent),
      model_(std::move(model)),
      rekordbox_(std::move(rekordbox)),
      mode_(model_->compact() ? WindowMode::mini : WindowMode::full) {
  const QPointer<WindowController> self(this);
  auto setMode = [self](WindowMode mode) {
    if (self) self->setMode(mode);
  };
  auto expand = [self] {
    if (self) self->setMode(WindowMode::full);
  };
  fullWindow_ = std::make_unique<FullWindow>(contents.full(setMode), contentSize(WindowMode::full));
  cardPanel_ = std::make_unique<CardPanel>(contents.card(expand), contentSize(WindowMode::mini));
  connect(fullWindow_.get(), &FullWindow::quitRequested, this, &WindowController::quitRequested);
  fullWindow_->installEventFilter(this);
  cardPanel_->installEventFilter(this);
  show(mode_);
}

WindowController::~WindowController() = default;

void WindowController::setMode(WindowMode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  model_->setCompact(mode == WindowMode::mini);
  show(mode);
}

void WindowController::show(WindowMode mode) {
  if (mode == WindowMode::mini) {
    const bool wasActive = QGuiApplication::applicationState() == Qt::ApplicationActive;
    fullWindow_->hide();
    place(*cardPanel_, mode);
    cardPanel_->show();
    cardPanel_->raise();
    if (wasActive && rekordbox_->isRunning()) rekordbox_->activate();
    return;
  }
  cardPanel_->hide();
  place(*fullWindow_, mode);
  fullWindow_->show();
  fullWindow_->raise();
  fullWindow_->activateWindow();
}

void WindowController::place(QWidget& window, WindowMode mode) const {
  const QWindow* handle = window.windowHandle();
  const QMargins margins = handle ? handle->frameMargins() : QMargins();
  const QSize content = contentSize(mode);
  const QSize frameSize(content.width() + margins.left() + margins.right(),
                        content.height() + margins.top() + margins.bottom());
  const QRect frame =
      ScreenPlacement::frame(frameSize, model_->savedTopLeft(positionKey(mode).toStdString()));
  // A top-level widget's position is its frame's.
  window.move(frame.topLeft());
}

bool WindowController::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Move) return false;
  QWidget* window = watched == fullWindow_.get()  ? static_cast<QWidget*>(fullWindow_.get())
                    : watched == cardPanel_.get() ? static_cast<QWidget*>(cardPanel_.get())
                                                  : nullptr;
  if (!window || !window->isVisible()) return false;
  const WindowMode mode = window == cardPanel_.get() ? WindowMode::mini : WindowMode::full;
  model_->saveTopLeft(ScreenPlacement::savedCorner(window->frameGeometry()), positionKey(mode).toStdString());
  return false;
}

}  // namespace kesta::ui
