#include "ui/look/sheet_frame.h"

#include <gtest/gtest.h>

#include <QBoxLayout>
#include <QDialog>
#include <QSignalSpy>
#include <QTest>

#include "ui/look/chip_button.h"

namespace kesta::ui {
namespace {

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

}  // namespace
}  // namespace kesta::ui
