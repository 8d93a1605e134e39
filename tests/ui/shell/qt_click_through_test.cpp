#include "ui/shell/qt_click_through.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace kesta::ui {
namespace {

bool transparent(const QWidget& widget) {
  return widget.windowHandle() && widget.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput);
}

TEST(QtClickThrough, IgnoresMouseOnVisibleWindowsAndGivesItBackToThoseOnly) {
  QWidget full, card, hidden, alreadyThrough;
  full.show();
  card.show();
  hidden.winId();  // a native window that is not shown
  alreadyThrough.show();
  alreadyThrough.windowHandle()->setFlag(Qt::WindowTransparentForInput, true);
  QApplication::processEvents();

  QtClickThrough clickThrough;
  const auto changed = clickThrough.ignoreMouse();

  EXPECT_EQ(changed.size(), 2u);
  EXPECT_TRUE(transparent(full));
  EXPECT_TRUE(transparent(card));
  EXPECT_FALSE(transparent(hidden));

  clickThrough.restoreMouse(changed);
  EXPECT_FALSE(transparent(full));
  EXPECT_FALSE(transparent(card));
  EXPECT_TRUE(transparent(alreadyThrough));
}

}  // namespace
}  // namespace kesta::ui
