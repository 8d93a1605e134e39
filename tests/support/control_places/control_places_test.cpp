#include "support/control_places/control_places.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QWidget>

#include "ui/look/chip_style.h"
#include "ui/views/lane_row.h"
#include "ui/views/load_button.h"

namespace kesta::test {
namespace {

double shareOf(const QImage& image, const QColor& colour) {
  int same = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) same += image.pixelColor(x, y).rgb() == colour.rgb();
  }
  return image.isNull() ? 0 : double(same) / (image.width() * image.height());
}

struct Case {
  SoakControl control;
  const char* name;
  QColor fill;  // the look of a control a click acts on at once
};

TEST(ControlPlacesTest, EachPlaceIsItsControlReadyForTheClick) {
  const Case cases[] = {
      {SoakControl::connect, "connect", ui::ChipStyle{.prominent = true}.fill(false)},
      {SoakControl::load, "load", ui::LoadButton::fillColor(ui::LoadButton::Look::Fill::lime)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StagedFullWindow staged(c.control);
    ASSERT_NE(staged.control(), nullptr);
    EXPECT_TRUE(staged.control()->isEnabled());
    const ControlPlace place = staged.place();
    // A click at the middle of the place lands on the control itself.
    EXPECT_EQ(staged.window().childAt(place.rect.center()), staged.control());
    ASSERT_EQ(place.look.size(), place.rect.size());
    // Most of the place is the control's own fill: the soak finds the control there by it.
    EXPECT_GT(shareOf(place.look, c.fill), 0.5);
  }
}

TEST(ControlPlacesTest, TheLoadButtonIsTheFirstLanes) {
  const StagedFullWindow staged(SoakControl::load);
  ASSERT_NE(staged.control(), nullptr);
  const ui::LaneRow* clicked = nullptr;
  for (QWidget* up = staged.control(); up && !clicked; up = up->parentWidget()) {
    clicked = qobject_cast<const ui::LaneRow*>(up);
  }
  ASSERT_NE(clicked, nullptr);
  const auto top = [&](const QWidget* lane) { return lane->mapTo(&staged.window(), QPoint()).y(); };
  const auto lanes = staged.window().findChildren<const ui::LaneRow*>();
  ASSERT_GT(lanes.size(), 1);
  for (const ui::LaneRow* lane : lanes) {
    if (lane != clicked) {
      EXPECT_LT(top(clicked), top(lane));
    }
  }
}

}  // namespace
}  // namespace kesta::test
