#include <gtest/gtest.h>

#include <QApplication>
#include <QStackedWidget>
#include <memory>
#include <ostream>

#include "ui/views/corner_card.h"
#include "ui/views/root_view.h"
#include "ui/views/view_scenes.h"

namespace kesta::test {
// Names the scene in test output.
inline void PrintTo(const Scene& scene, std::ostream* out) { *out << scene.name; }
}  // namespace kesta::test

namespace kesta::ui {

namespace {

using test::Scene;
using test::ViewStage;

QString describe(const QWidget* widget) {
  const QString name = widget->metaObject()->className();
  return name + QLatin1Char(' ') + widget->objectName();
}

// Every shown widget below `window` lies inside it, and no two shown siblings
// overlap (the pages of a stack take turns, so only the current one counts).
void expectLaidOut(const QWidget& window, const std::string& scene) {
  const QRect bounds = window.rect();
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (!widget->isVisible() || widget->isWindow() || widget->size().isEmpty()) continue;
    const QRect area(widget->mapTo(&window, QPoint(0, 0)), widget->size());
    EXPECT_TRUE(bounds.contains(area)) << scene << ": " << qPrintable(describe(widget)) << " at " << area.x()
                                       << "," << area.y() << " " << area.width() << "×" << area.height();
    const QList<QWidget*> siblings = widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (qsizetype i = 0; i < siblings.size(); ++i) {
      for (qsizetype j = i + 1; j < siblings.size(); ++j) {
        const QWidget* a = siblings[i];
        const QWidget* b = siblings[j];
        if (!a->isVisible() || !b->isVisible() || a->isWindow() || b->isWindow()) continue;
        if (a->size().isEmpty() || b->size().isEmpty()) continue;
        EXPECT_FALSE(a->geometry().intersects(b->geometry()))
            << scene << ": " << qPrintable(describe(a)) << " overlaps " << qPrintable(describe(b)) << " in "
            << qPrintable(describe(widget));
      }
    }
  }
}

class WindowLayoutTest : public ::testing::TestWithParam<Scene> {};

TEST_P(WindowLayoutTest, FullWindowFitsWithoutOverlaps) {
  ViewStage stage(GetParam().screenGranted);
  GetParam().setUp(stage);
  RootView root(stage.bridge(), [](WindowMode) {});
  root.show();
  QApplication::processEvents();
  EXPECT_EQ(root.size(), QSize(380, 660));
  expectLaidOut(root, "full " + GetParam().name);
}

TEST_P(WindowLayoutTest, CornerCardFitsWithoutOverlaps) {
  ViewStage stage(GetParam().screenGranted);
  GetParam().setUp(stage);
  CornerCard card(stage.bridge(), [] {});
  card.show();
  QApplication::processEvents();
  EXPECT_EQ(card.size(), QSize(340, 224));
  expectLaidOut(card, "card " + GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Scenes, WindowLayoutTest, ::testing::ValuesIn(test::viewScenes()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kesta::ui
