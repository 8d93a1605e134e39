#include "ui/look/sheet_frame.h"

#include <gtest/gtest.h>

#include <QBoxLayout>
#include <QDialog>
#include <QSignalSpy>
#include <QTest>

#include "ui/look/chip_button.h"
#include "ui/look/theme.h"
#include "ui/pixel_probe.h"

namespace kesta::ui {
namespace {

using testing::near;

std::unique_ptr<QWidget> contentOfMinimumSize(QSize size) {
  auto content = std::make_unique<QWidget>();
  content->setMinimumSize(size);
  return content;
}

class SheetSize : public ::testing::TestWithParam<QSize> {};

TEST_P(SheetSize, IsAlways520By460) {
  QDialog dialog;
  auto* layout = new QVBoxLayout(&dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* sheet = new SheetFrame(QStringLiteral("DIAGNOSTICS"), contentOfMinimumSize(GetParam()));
  layout->addWidget(sheet);
  dialog.show();
  QApplication::processEvents();

  EXPECT_EQ(sheet->size(), QSize(520, 460));
  const QImage image = sheet->grab().toImage();
  EXPECT_TRUE(near(image.pixelColor(519, 459), Theme::background()));
  EXPECT_TRUE(near(image.pixelColor(2, 2), Theme::background()));
}

INSTANTIATE_TEST_SUITE_P(Contents, SheetSize,
                         ::testing::Values(QSize(0, 0), QSize(100, 50), QSize(900, 900)));

TEST(SheetFrame, DoneClosesTheDialogItSitsIn) {
  QDialog dialog;
  auto* layout = new QVBoxLayout(&dialog);
  auto* sheet = new SheetFrame(QStringLiteral("SET HISTORY"), std::make_unique<QWidget>());
  layout->addWidget(sheet);
  dialog.show();
  QSignalSpy done(sheet, &SheetFrame::done);

  QTest::mouseClick(sheet->doneButton(), Qt::LeftButton);

  EXPECT_EQ(done.count(), 1);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(sheet->doneButton()->isProminent());
}

TEST(SheetFrame, ContentTakesTheRoomBelowTheTitleInsideThePadding) {
  auto sheet = std::make_unique<SheetFrame>(QStringLiteral("YOUR LIBRARY"), std::make_unique<QWidget>());
  sheet->show();
  QApplication::processEvents();
  const QRect content = sheet->content()->geometry();
  EXPECT_EQ(content.left(), 18);
  EXPECT_EQ(content.right(), 520 - 18 - 1);
  EXPECT_EQ(content.bottom(), 460 - 18 - 1);
  EXPECT_EQ(content.top(), sheet->doneButton()->geometry().bottom() + 1 + 12);
}

}  // namespace
}  // namespace kesta::ui
