#include "ui/shell/full_window.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QLayout>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWindow>

#include "ui/shell/window_drag.h"

namespace kesta::ui {

FullWindow::FullWindow(QWidget* content, QSize size)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowStaysOnTopHint),
      content_(content),
      bandTop_(content->layout() ? content->layout()->contentsMargins().top() : 0) {
  setWindowTitle("Kesta");
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setFixedSize(size);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(content);
  auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
  connect(quit, &QShortcut::activated, this, &FullWindow::quitRequested);
  new WindowDrag(*this);
}

void FullWindow::showEvent(QShowEvent*) { fitTitleBand(); }

void FullWindow::moveEvent(QMoveEvent*) { fitTitleBand(); }

void FullWindow::fitTitleBand() {
  QLayout* layout = content_->layout();
  if (!layout) return;
  // A frame taller at the top than at the sides has a title bar.
  const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  QMargins margins = layout->contentsMargins();
  margins.setTop(frame.top() > frame.left() ? margins.bottom() : bandTop_);
  if (margins != layout->contentsMargins()) layout->setContentsMargins(margins);
}

void FullWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit quitRequested();
}

}  // namespace kesta::ui
