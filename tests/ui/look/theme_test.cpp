#include "ui/look/theme.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>

namespace kesta::ui {
namespace {

// A missing typeface would fall back silently and every picture would shift.
TEST(Theme, PinnedFontsResolveToTheInstalledTypefaces) {
  const struct {
    QFont font;
    const char* family;
    int pixelSize;
    bool bold;
  } cases[] = {
      {QApplication::font(), "DejaVu Sans", 13, false},
      {Theme::font(11, Theme::Weight::semibold), "DejaVu Sans", 11, true},
      {Theme::font(8.5, Theme::Weight::heavy), "DejaVu Sans", 9, true},
      {Theme::font(12.5), "DejaVu Sans", 13, false},
      {Theme::monospacedFont(10), "DejaVu Sans Mono", 10, false},
  };
  for (const auto& c : cases) {
    const QFontInfo resolved(c.font);
    EXPECT_EQ(resolved.family().toStdString(), c.family);
    EXPECT_EQ(resolved.pixelSize(), c.pixelSize) << c.family;
    EXPECT_EQ(resolved.bold(), c.bold) << c.family << " " << c.pixelSize;
  }
}

}  // namespace
}  // namespace kesta::ui
