#include "reading/screen_capture_source.h"

#include <gtest/gtest.h>

#include <memory>

#include "reading/rekordbox.h"
#include "support/fakes/fake_window_system.h"

namespace kesta {
namespace {

WindowInfo window(std::uint32_t id, double width, double height, const std::string& className = "rekordbox") {
  WindowInfo w;
  w.id = id;
  w.instanceName = className;
  w.className = className;
  w.frame = {10, 20, width, height};
  w.viewable = true;
  return w;
}

// A source over a fake window system, a clock the test moves, and a
// permission the test can withdraw.
struct Rig {
  std::shared_ptr<FakeWindowSystem> windows = std::make_shared<FakeWindowSystem>();
  double now = 100;
  bool permitted = true;
  int permissionChecks = 0;
  ScreenCaptureSource source{windows, [this] { return now; },
                             [this] {
                               ++permissionChecks;
                               return permitted;
                             }};
};

CaptureError errorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const CaptureError& error) {
    return error;
  }
  ADD_FAILURE() << "no CaptureError thrown";
  return CaptureError::captureFailed("none");
}

TEST(Rekordbox, OwnsWindowsByEitherClassNameInAnyCase) {
  struct Case {
    std::string instance, className;
    bool owned;
  };
  const Case cases[] = {
      {"rekordbox", "Rekordbox", true},    {"RekordBox.EXE", "Wine", true}, {"qt", "rekordbox.exe", true},
      {"rekordbox6", "rekordbox6", false}, {"kesta", "Kesta", false},       {"", "", false},
  };
  for (const auto& c : cases) {
    WindowInfo w;
    w.instanceName = c.instance;
    w.className = c.className;
    EXPECT_EQ(Rekordbox::ownsWindow(w), c.owned) << c.instance << "/" << c.className;
  }
}

TEST(Rekordbox, RunsWhenAWindowOrAProcessOfItExists) {
  FakeWindowSystem windows;
  EXPECT_FALSE(Rekordbox::isRunning(windows));
  windows.processes.insert("rekordbox.exe");
  EXPECT_TRUE(Rekordbox::isRunning(windows));
  windows.processes.clear();
  auto hidden = window(1, 1600, 1000);
  hidden.viewable = false;
  windows.list.push_back(hidden);
  EXPECT_TRUE(Rekordbox::isRunning(windows));
  windows.listFailure = "no display";
  EXPECT_FALSE(Rekordbox::isRunning(windows));
}

TEST(ScreenCaptureSource, ChoosesTheLargestQualifyingWindow) {
  struct Case {
    const char* what;
    std::vector<WindowInfo> list;
    std::optional<std::uint32_t> chosen;
    std::string description;
  };
  auto minimised = window(3, 2000, 1200);
  minimised.minimized = true;
  auto unmapped = window(4, 2000, 1200);
  unmapped.viewable = false;
  const Case cases[] = {
      {"larger wins", {window(1, 800, 500), window(2, 1600, 1000)}, 2, "rekordbox window 1600\u00D71000"},
      {"equal areas: the first listed",
       {window(1, 1000, 800), window(2, 800, 1000)},
       1,
       "rekordbox window 1000\u00D7800"},
      {"exactly 700 × 450 qualifies", {window(1, 700, 450)}, 1, "rekordbox window 700\u00D7450"},
      {"699 wide does not", {window(1, 699, 450)}, std::nullopt, ""},
      {"449 high does not", {window(1, 700, 449)}, std::nullopt, ""},
      {"minimised and unmapped windows do not",
       {minimised, unmapped, window(1, 900, 600)},
       1,
       "rekordbox window 900\u00D7600"},
      {"other applications do not",
       {window(5, 3000, 2000, "Firefox"), window(1, 900, 600)},
       1,
       "rekordbox window 900\u00D7600"},
      {"sizes are truncated", {window(1, 1512, 944.7)}, 1, "rekordbox window 1512\u00D7944"},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.windows->list = c.list;
    if (c.chosen) {
      EXPECT_EQ(rig.source.connect(), c.description) << c.what;
      EXPECT_EQ(rig.source.windowID(), *c.chosen) << c.what;
      EXPECT_EQ(rig.source.lastSizeCheck(), 100) << c.what;
    } else {
      EXPECT_EQ(errorOf([&] { rig.source.connect(); }), CaptureError::windowNotVisible()) << c.what;
    }
  }
}

TEST(ScreenCaptureSource, ConnectFailsInTheOrderOfItsChecks) {
  Rig rig;
  rig.permitted = false;
  EXPECT_EQ(errorOf([&] { rig.source.connect(); }), CaptureError::permissionNeeded());
  rig.permitted = true;
  EXPECT_EQ(errorOf([&] { rig.source.connect(); }), CaptureError::rekordboxNotRunning());
  // A process but no window on screen.
  rig.windows->processes.insert("rekordbox");
  EXPECT_EQ(errorOf([&] { rig.source.connect(); }), CaptureError::windowNotVisible());
  // The window list cannot be read: the window system's words, or the
  // permission when it went meanwhile.
  rig.windows->listFailure = "the connection to the X display broke";
  EXPECT_EQ(errorOf([&] { rig.source.connect(); }),
            CaptureError::captureFailed("the connection to the X display broke"));
  Rig withdrawn;
  withdrawn.windows->processes.insert("rekordbox");
  withdrawn.windows->listFailure = "refused";
  withdrawn.source = ScreenCaptureSource(
      withdrawn.windows, [] { return 0.0; }, [&] { return ++withdrawn.permissionChecks == 1; });
  EXPECT_EQ(errorOf([&] { withdrawn.source.connect(); }), CaptureError::permissionNeeded());
}

TEST(ScreenCaptureSource, FailedConnectKeepsTheEarlierWindow) {
  Rig rig;
  rig.windows->list = {window(7, 1600, 1000)};
  rig.source.connect();
  rig.windows->list.clear();
  rig.now = 130;
  EXPECT_EQ(errorOf([&] { rig.source.connect(); }), CaptureError::rekordboxNotRunning());
  EXPECT_EQ(rig.source.windowID(), 7u);
  EXPECT_EQ(rig.source.windowSize(), (Size{1600, 1000}));
  EXPECT_EQ(rig.source.lastSizeCheck(), 100);
  ASSERT_TRUE(rig.source.configuration());
}

TEST(ScreenCaptureSource, CapturesOnlyOnceConnected) {
  Rig rig;
  rig.windows->list = {window(7, 1600, 1000)};
  EXPECT_EQ(errorOf([&] { rig.source.capture(); }), CaptureError::windowNotVisible());
  EXPECT_EQ(rig.windows->captureCalls, 0);
  rig.source.connect();
  const Image image = rig.source.capture();
  EXPECT_EQ(image.width(), 1600);
  EXPECT_EQ(image.height(), 1000);
}

TEST(ScreenCaptureSource, ChecksTheSizeAtMostOnceASecond) {
  struct Case {
    double grownBy;
    double after;
    bool reconnects;
  };
  const Case cases[] = {
      {2.0, 1.5, false},  // within the tolerance
      {2.5, 1.0, true},   // a second after the connect
      {2.5, 0.9, false},  // too soon to look
      {-3.0, 5.0, true},  // shrinking counts too
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.windows->list = {window(7, 1600, 1000)};
    rig.source.connect();
    rig.windows->window(7).frame.width += c.grownBy;
    rig.now += c.after;
    const int listsBefore = rig.windows->listCalls;
    rig.source.capture();
    EXPECT_EQ(rig.windows->listCalls > listsBefore, c.reconnects) << c.grownBy << " after " << c.after;
    EXPECT_EQ(rig.source.windowSize().width == 1600 + c.grownBy, c.reconnects);
    EXPECT_EQ(rig.source.lastSizeCheck(), c.after >= 1.0 ? rig.now : 100);
  }
}

TEST(ScreenCaptureSource, ReconnectErrorsReachTheCaller) {
  Rig rig;
  rig.windows->list = {window(7, 1600, 1000)};
  rig.source.connect();
  // rekordbox shrank below the bounds: the reconnect finds no window.
  rig.windows->window(7).frame.width = 600;
  rig.now += 2;
  EXPECT_EQ(errorOf([&] { rig.source.capture(); }), CaptureError::windowNotVisible());
  EXPECT_EQ(rig.windows->captureCalls, 0);
}

TEST(ScreenCaptureSource, CaptureFailuresBecomeCaptureErrors) {
  Rig rig;
  rig.windows->list = {window(7, 1600, 1000)};
  rig.source.connect();

  rig.windows->captureFailure = "the X server refused the window's pixels (BadAlloc)";
  EXPECT_EQ(errorOf([&] { rig.source.capture(); }),
            CaptureError::captureFailed("the X server refused the window's pixels (BadAlloc)"));
  rig.permitted = false;  // withdrawn while watching
  EXPECT_EQ(errorOf([&] { rig.source.capture(); }), CaptureError::permissionNeeded());

  // Minimised since the connect: no picture, never an old one.
  rig.permitted = true;
  rig.windows->captureFailure.reset();
  rig.windows->window(7).minimized = true;
  EXPECT_EQ(errorOf([&] { rig.source.capture(); }), CaptureError::windowNotVisible());
}

TEST(ScreenCaptureSource, PictureSizeFollowsTheScaleUpTo3600Wide) {
  struct Case {
    Size frame;
    double scale;
    ScreenCaptureSource::Configuration expected;
  };
  const Case cases[] = {
      {{1600, 1000}, 1, {1600, 1000}}, {{1600, 1000}, 0.5, {1600, 1000}},  // never below a pixel per point
      {{1600, 1000}, 2, {3200, 2000}}, {{1600, 1000}, 3, {3600, 2250}},
      {{1920, 1080}, 2, {3600, 2025}}, {{1440.5, 900}, 1, {1440, 899}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScreenCaptureSource::configuration(c.frame, c.scale), c.expected)
        << c.frame.width << " × " << c.scale;
  }
}

TEST(ScreenCaptureSource, WindowsWiderThanTheLimitAreScaledDown) {
  Rig rig;
  rig.windows->list = {window(7, 4000, 1000)};
  rig.source.connect();
  const Image image = rig.source.capture();
  EXPECT_EQ(image.width(), 3600);
  EXPECT_EQ(image.height(), 900);
}

}  // namespace
}  // namespace kesta
