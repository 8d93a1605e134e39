#include "ui/shell/qt_relauncher.h"

#include <gtest/gtest.h>

namespace kesta::ui {
namespace {

TEST(QtRelauncher, ReportsWhetherTheNewInstanceStarted) {
  const struct {
    QString program;
    bool started;
  } cases[] = {
      {QStringLiteral("/bin/true"), true},
      {QStringLiteral("/nonexistent/kesta-live"), false},
      {QStringLiteral("/etc/passwd"), false},  // exists, but cannot be run
      {QString(), false},
  };
  for (const auto& c : cases) {
    QtRelauncher relauncher(c.program, {});
    EXPECT_EQ(relauncher.startNewInstance(), c.started) << c.program.toStdString();
  }
}

}  // namespace
}  // namespace kesta::ui
