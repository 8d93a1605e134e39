#include "ui/shell/full_window.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QVBoxLayout>

#include "ui/shell/window_drag.h"

namespace kesta::ui {

FullWindow::FullWindow(QWidget* content, QSize size)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowStaysOnTopHint) {
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

void FullWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit quitRequested();
}

}  // namespace kesta::ui
