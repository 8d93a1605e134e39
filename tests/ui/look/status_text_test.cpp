#include "ui/look/status_text.h"

#include <gtest/gtest.h>

#include <QBoxLayout>

#include "ui/look/theme.h"
#include "ui/pixel_probe.h"

namespace kesta::ui {
namespace {

using test::hasInk;
using test::ProbeHost;

const QString kLong = QStringLiteral(
    "Connected to rekordbox, but both deck areas have been unreadable for a while: check that the "
    "window is not covered and that the deck titles are on screen, then try again");

struct HeightCase {
  int lines;
  QString text;
  int height;
  bool secondLineInked;
};

void PrintTo(const HeightCase& c, std::ostream* out) {
  *out << c.lines << " lines, " << c.text.size() << " characters";
}

class StatusTextHeight : public ::testing::TestWithParam<HeightCase> {};

// The control sits in a stretching column: it must neither grow with its text
// nor give up its height, and it draws no more lines than it is given.
TEST_P(StatusTextHeight, KeepsItsHeightWhateverTheText) {
  const HeightCase& c = GetParam();
  ProbeHost host(Theme::background(), {240, 120});
  auto* column = new QVBoxLayout(&host);
  column->setContentsMargins(0, 0, 0, 0);
  auto* status = new StatusText(c.text, c.lines);
  column->addWidget(status);
  column->addStretch(1);
  const QImage image = host.render();

  EXPECT_EQ(status->height(), c.height);
  EXPECT_EQ(status->width(), 240);
  EXPECT_EQ(status->toolTip(), c.text);
  EXPECT_TRUE(hasInk(image, QRect(0, 0, 240, 15), Theme::background()));
  EXPECT_EQ(hasInk(image, QRect(0, 15, 240, 15), Theme::background()), c.secondLineInked);
  EXPECT_FALSE(hasInk(image, QRect(0, c.height, 240, 120 - c.height), Theme::background()));
}

INSTANTIATE_TEST_SUITE_P(Lines, StatusTextHeight,
                         ::testing::Values(HeightCase{1, QStringLiteral("Ready"), 15, false},
                                           HeightCase{1, kLong, 15, false},
                                           HeightCase{2, QStringLiteral("Ready"), 30, false},
                                           HeightCase{2, kLong, 30, true},
                                           HeightCase{2, QStringLiteral("First\nSecond"), 30, true}));

TEST(StatusText, CutTextEndsInAnEllipsisWithinTheWidth) {
  ProbeHost host(Theme::background(), {160, 40});
  auto* status = new StatusText(kLong, 1, &host);
  status->setGeometry(0, 0, 120, 15);
  const QImage image = host.render();
  EXPECT_TRUE(hasInk(image, QRect(100, 0, 20, 15), Theme::background()));
  EXPECT_FALSE(hasInk(image, QRect(120, 0, 40, 40), Theme::background()));
}

TEST(StatusText, AShortFormStandsInOnlyWhileTheWholeTextDoesNotFit) {
  const QString shorter = QStringLiteral("Not saving: the disk is full.");
  struct Case {
    const char* name;
    QString text;
    QString shorter;
    int width;
    QString shown;
  };
  const Case cases[] = {
      {"fits", QStringLiteral("Ready. Press Connect."), shorter, 240,
       QStringLiteral("Ready. Press Connect.")},
      {"two lines exactly", QStringLiteral("Ready.\nPress Connect."), shorter, 240,
       QStringLiteral("Ready.\nPress Connect.")},
      {"one line too many", QStringLiteral("Ready.\nPress\nConnect."), shorter, 240, shorter},
      {"too long", kLong, shorter, 240, shorter},
      {"too long, no short form", kLong, QString(), 240, kLong},
      {"wide enough", kLong, shorter, 2000, kLong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProbeHost host(Theme::background(), {c.width, 40});
    auto* status = new StatusText({}, 2, &host);
    status->setGeometry(0, 0, c.width, 30);
    status->setText(c.text, c.shorter);
    EXPECT_EQ(status->shownText(), c.shown);
    EXPECT_EQ(status->toolTip(), c.text);
  }
}

}  // namespace
}  // namespace kesta::ui
