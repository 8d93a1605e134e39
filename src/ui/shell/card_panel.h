#pragma once

#include <QWidget>

namespace kesta::ui {

// The corner card's window: frameless, above every ordinary window, never
// taking the keyboard focus and shown without activating the application, so
// rekordbox keeps the keyboard while the card is on screen. The background
// is left clear for the card's own rounded shape; dragging the background
// moves the window. Its content size is fixed. Main thread.
class CardPanel : public QWidget {
 public:
  // Hosts `content` (taken over) at `size`.
  CardPanel(QWidget* content, QSize size);
};

}  // namespace kesta::ui
