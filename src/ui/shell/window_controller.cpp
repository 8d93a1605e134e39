#include "ui/shell/window_controller.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "model/app_model.h"
#include "ui/shell/card_panel.h"
#include "ui/shell/full_window.h"
#include "ui/shell/screen_placement.h"

namespace kesta::ui {

namespace {

// How long a shown window may take to be mapped, and how often it is asked
// for again when it is not.
constexpr int kMapWait = 1500;  // milliseconds
constexpr int kMapTries = 5;
// How long after placing a window the manager may still move it while framing it.
constexpr std::chrono::seconds kFramingTime{3};
// How far, in points, the manager may move it then: a frame's size, not a drag.
constexpr int kFramingNudge = 64;

// `window`'s frame as the window system has it now.
QRect frameGeometry(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  return handle ? handle->frameGeometry() : window.frameGeometry();
}

}  // namespace

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
  if (QGuiApplication::platformName() == "xcb") QCoreApplication::instance()->installNativeEventFilter(this);
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
    fitCardToCompositor();
    place(*cardPanel_, mode);
    showOnEveryDesktop(*cardPanel_);
    cardPanel_->show();
    checkMapped(*cardPanel_, kMapTries);
    cardPanel_->raise();
    if (wasActive && rekordbox_->isRunning()) rekordbox_->activate();
    return;
  }
  cardPanel_->hide();
  place(*fullWindow_, mode);
  showOnEveryDesktop(*fullWindow_);
  fullWindow_->show();
  checkMapped(*fullWindow_, kMapTries);
  fullWindow_->raise();
  fullWindow_->activateWindow();
}

void WindowController::place(QWidget& window, WindowMode mode) {
  place(window, mode, model_->savedTopLeft(positionKey(mode).toStdString()));
}

void WindowController::place(QWidget& window, WindowMode mode, std::optional<Point> corner) {
  const QWindow* handle = window.windowHandle();
  const QMargins margins = handle ? handle->frameMargins() : QMargins();
  const QSize content = contentSize(mode);
  const QSize frameSize(content.width() + margins.left() + margins.right(),
                        content.height() + margins.top() + margins.bottom());
  const QPoint topLeft = ScreenPlacement::frame(frameSize, corner).topLeft();
  placed_[&window] = Placement{margins, corner, topLeft, std::chrono::steady_clock::now()};
  // Placed by its content: a widget's own idea of its frame is taken once
  // and misses a frame the manager changes later.
  window.setGeometry(QRect(topLeft + QPoint(margins.left(), margins.top()), content));
}

void WindowController::checkMapped(QWidget& shown, int tries) {
  if (QGuiApplication::platformName() != "xcb") return;
  const QPointer<QWidget> window(&shown);
  QTimer::singleShot(kMapWait, this, [this, window, tries] {
    // Gone, hidden again, mapped, or minimised by the user: nothing to mend.
    if (!window || !window->isVisible() || window->isMinimized()) return;
    if (!window->windowHandle() || window->windowHandle()->isExposed()) return;
    // A window manager that started at the moment of the map may have lost
    // the request: the window is asked for again.
    window->hide();
    showOnEveryDesktop(*window);
    window->show();
    if (tries > 1) checkMapped(*window, tries - 1);
  });
}

void WindowController::showOnEveryDesktop(QWidget& window) {
  if (QGuiApplication::platformName() != "xcb") return;
  desktopHints_.showOnEveryDesktop(std::uint32_t(window.winId()));
}

void WindowController::fitCardToCompositor() {
  if (QGuiApplication::platformName() != "xcb") return;
  cardPanel_->cutToOutline(!desktopHints_.compositing());
}

QWidget* WindowController::ownWindow(const QObject* object) const {
  if (object == fullWindow_.get()) return fullWindow_.get();
  if (object == cardPanel_.get()) return cardPanel_.get();
  return nullptr;
}

WindowMode WindowController::modeOf(const QWidget& window) const {
  return &window == cardPanel_.get() ? WindowMode::mini : WindowMode::full;
}

bool WindowController::placeInNewFrame(QWidget& window, bool spontaneous) {
  const auto placed = placed_.find(&window);
  if (placed == placed_.end() || !window.windowHandle()) return false;
  const Placement& placement = placed->second;
  if (window.windowHandle()->frameMargins() == placement.margins) return false;
  // The manager framed the window where it was placed, changed the frame
  // around the window where it stood, or nudged it a little just after, while
  // framing it: placed again from the same corner with the real frame, it
  // keeps the inset. A window moved otherwise (by the DJ's drag, say) stays.
  const QPoint frame = frameGeometry(window).topLeft();
  const QPoint content = placement.topLeft + QPoint(placement.margins.left(), placement.margins.top());
  const bool nudged = spontaneous && (frame - placement.topLeft).manhattanLength() <= kFramingNudge &&
                      std::chrono::steady_clock::now() - placement.at < kFramingTime;
  if (frame != placement.topLeft && window.geometry().topLeft() != content && !nudged) return false;
  place(window, modeOf(window), placement.corner);
  return true;
}

bool WindowController::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Move) return false;
  QWidget* window = ownWindow(watched);
  if (!window || !window->isVisible() || placeInNewFrame(*window, event->spontaneous())) return false;
  model_->saveTopLeft(ScreenPlacement::savedCorner(frameGeometry(*window)),
                      positionKey(modeOf(*window)).toStdString());
  return false;
}

bool WindowController::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto& event = *static_cast<const xcb_generic_event_t*>(message);
  if (desktopHints_.compositorChanged(event)) {
    fitCardToCompositor();
    return false;
  }
  const auto changed = desktopHints_.frameChanged(event);
  if (!changed) return false;
  // A frame changed without a move brings no Move event. Qt reads the new
  // margins once it has handled this event, so the check comes after it.
  for (QWidget* window :
       {static_cast<QWidget*>(fullWindow_.get()), static_cast<QWidget*>(cardPanel_.get())}) {
    if (std::uint32_t(window->internalWinId()) != *changed) continue;
    QTimer::singleShot(0, this, [this, shown = QPointer<QWidget>(window)] {
      if (shown && shown->isVisible()) placeInNewFrame(*shown, true);
    });
  }
  return false;
}

}  // namespace kesta::ui
