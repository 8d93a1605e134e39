// The X11 window system against a private Xvfb and the stand-in rekordbox window.

#include "platform/x11/x11_window_system.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "support/standin_rekordbox.h"
#include "support/xvfb_server.h"

namespace kesta {
namespace {

class X11WindowSystemTest : public ::testing::Test {
 protected:
  test::XvfbServer server;
  std::unique_ptr<test::StandInRekordbox> standIn;
  X11WindowSystem windows{server.display()};

  void start(test::StandInRekordbox::Options options = {}) {
    standIn = std::make_unique<test::StandInRekordbox>(server.display(), options);
  }

  std::optional<WindowInfo> listed(std::uint32_t id) {
    for (const auto& w : windows.windows()) {
      if (w.id == id) return w;
    }
    return std::nullopt;
  }
};

TEST_F(X11WindowSystemTest, ListsTheWindowWithItsClassProcessAndFrame) {
  test::StandInRekordbox::Options options;
  options.x = 40;
  options.y = 30;
  start(options);
  const auto window = listed(standIn->windowId());
  ASSERT_TRUE(window);
  EXPECT_EQ(window->className, "rekordbox");
  EXPECT_EQ(window->instanceName, "standin_rekordbox");
  EXPECT_EQ(window->pid, standIn->pid());
  EXPECT_EQ(window->frame, (Rect{40, 30, 1600, 1000}));
  EXPECT_TRUE(window->viewable);
  EXPECT_FALSE(window->minimized);
  // Qt's hidden helper windows never show up as viewable windows of the class.
  for (const auto& w : windows.windows()) {
    if (w.id != standIn->windowId()) {
      EXPECT_FALSE(w.viewable && w.className == "rekordbox") << w.id;
    }
  }
}

TEST_F(X11WindowSystemTest, HiddenWindowIsListedWithoutPixels) {
  start();
  ASSERT_TRUE(windows.capture(standIn->windowId()));
  standIn->send("hide");
  const auto window = listed(standIn->windowId());
  ASSERT_TRUE(window);
  EXPECT_FALSE(window->viewable);
  EXPECT_FALSE(windows.capture(standIn->windowId()));
  standIn->send("show");
  EXPECT_TRUE(windows.capture(standIn->windowId()));
}

TEST_F(X11WindowSystemTest, PartlyOffScreenWindowIsReadWhole) {
  start();
  standIn->load(1,
                {{"title", "Strobe (Club Edit)"}, {"artist", "deadmau5"}, {"bpm", "128.00"}, {"key", "8A"}});
  const auto onScreen = windows.capture(standIn->windowId());
  ASSERT_TRUE(onScreen);
  EXPECT_EQ(onScreen->width(), 1600);
  EXPECT_EQ(onScreen->height(), 1000);

  standIn->send("move -700 -300");
  const auto offScreen = windows.capture(standIn->windowId());
  ASSERT_TRUE(offScreen);
  EXPECT_TRUE(*offScreen == *onScreen);
}

TEST_F(X11WindowSystemTest, SizeFollowsTheWindowUntilItGoes) {
  start();
  const auto id = standIn->windowId();
  EXPECT_EQ(windows.windowSize(id), (Size{1600, 1000}));
  standIn->send("resize 1650 990");
  EXPECT_EQ(windows.windowSize(id), (Size{1650, 990}));
  const auto resized = windows.capture(id);
  ASSERT_TRUE(resized);
  EXPECT_EQ(resized->width(), 1650);
  EXPECT_EQ(resized->height(), 990);

  standIn->quit();
  EXPECT_EQ(windows.windowSize(id), std::nullopt);
  EXPECT_EQ(windows.capture(id), std::nullopt);
  EXPECT_FALSE(listed(id));
  EXPECT_EQ(windows.windowSize(0), std::nullopt);
}

TEST_F(X11WindowSystemTest, KnowsRunningProcessesByCommandName) {
  std::string self;
  std::getline(std::ifstream("/proc/self/comm"), self);
  EXPECT_TRUE(windows.processRunning(self));
  EXPECT_FALSE(windows.processRunning("no-such-program"));
}

TEST(X11WindowSystem, UnreachableDisplayIsAnError) {
  X11WindowSystem windows(":4093");
  EXPECT_THROW(windows.windows(), WindowSystemError);
  EXPECT_THROW(windows.capture(1), WindowSystemError);
}

}  // namespace
}  // namespace kesta
