#pragma once

#include <QRegion>
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

  // Cuts the window to the card's rounded outline, or shows it whole. With no
  // compositing manager the clear corners would be drawn black, not show
  // what lies behind, so the window is cut then.
  void cutToOutline(bool cut);
  // The pixels of a card of `size` that its rounded outline covers at least
  // half: the window's shape when cut.
  static QRegion outline(QSize size);
};

}  // namespace kesta::ui
