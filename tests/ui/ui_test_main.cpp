#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

#include "ui/look/application_look.h"
#include "ui/offscreen_messages.h"

// One application for every widget test, drawn offscreen with the pinned look,
// so the pixels a test probes are the same on every machine.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(kesta::test::quietOffscreenMessages);
  std::setlocale(LC_ALL, "");
  testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  kesta::ui::applyApplicationLook(application);
  return RUN_ALL_TESTS();
}
