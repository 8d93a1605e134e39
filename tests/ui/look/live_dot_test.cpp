#include "ui/look/live_dot.h"

#include <gtest/gtest.h>

#include "ui/look/theme.h"
#include "ui/pixel_probe.h"

namespace kesta::ui {
namespace {

using test::near;
using test::ProbeHost;

struct DotCase {
  bool on;
  bool problem;
  QColor color;
  const char* label;
};

void PrintTo(const DotCase& c, std::ostream* out) { *out << "on " << c.on << ", problem " << c.problem; }

class LiveDotStates : public ::testing::TestWithParam<DotCase> {};

TEST_P(LiveDotStates, DrawsTheDotAndLabelInTheStateColour) {
  const DotCase& c = GetParam();
  ProbeHost host(Theme::background());
  // Made in the opposite state first: the state must also change in place.
  auto* dot = new LiveDot(!c.on, !c.problem, &host);
  dot->setState(c.on, c.problem);
  dot->move(10, 10);
  dot->resize(dot->sizeHint());
  const QImage image = host.render();

  EXPECT_EQ(LiveDot::look(c.on, c.problem).label, QString::fromLatin1(c.label));
  const QColor centre = image.pixelColor(10 + 3, 10 + dot->height() / 2);
  EXPECT_TRUE(near(centre, c.color)) << ::testing::PrintToString(centre);
  // The label is drawn in the same colour: its strokes reach it.
  bool labelInColour = false;
  for (int x = 10 + 12; x < 10 + dot->width(); ++x) {
    for (int y = 10; y < 10 + dot->height(); ++y) labelInColour |= near(image.pixelColor(x, y), c.color, 12);
  }
  EXPECT_TRUE(labelInColour);
}

INSTANTIATE_TEST_SUITE_P(States, LiveDotStates,
                         ::testing::Values(DotCase{false, false, Theme::muted(), "READY"},
                                           DotCase{false, true, Theme::muted(), "READY"},
                                           DotCase{true, true, Theme::warn(), "CAN'T SEE"},
                                           DotCase{true, false, Theme::lime(), "LIVE"}));

}  // namespace
}  // namespace kesta::ui
