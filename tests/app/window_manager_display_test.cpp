// Kesta under real window managers, started at the same instant as the
// manager, as a session at login starts both: openbox, and metacity, which
// prevents focus stealing. The real program beside the stand-in rekordbox
// window: its window must be managed and shown, placed with the manager's
// frame 12 points in from the screen's corner, on every workspace and above
// rekordbox; a click on its background must not move it and a drag must;
// one-click loads must each bring rekordbox forward through the manager.
// Without a compositing manager the card's rounded corners must show the
// desktop behind it, and a manager drawing its frames from the desktop's theme
// must draw Kesta's title bar dark.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "kesta_process.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_window_system.h"
#include "support/standin_rekordbox.h"
#include "support/xvfb_server.h"
#include "window_text.h"

namespace kesta::test {
namespace {

namespace fs = std::filesystem;

struct Manager {
  std::string name;
  std::vector<std::string> command;
};

void PrintTo(const Manager& manager, std::ostream* out) { *out << manager.name; }

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1200;
// Under a real title bar the full window's content starts this much higher.
constexpr int kBand = 14;

// The numbers an xprop line gives after its '=' ("_NET_FRAME_EXTENTS(CARDINAL) = 1, 1, 20, 1").
std::vector<long long> numbers(const std::string& line) {
  std::vector<long long> values;
  // Window lists follow a '#', numbers an '='.
  auto start = line.find('#');
  if (start == std::string::npos) start = line.find('=');
  if (start == std::string::npos) return values;
  std::istringstream in(line.substr(start + 1));
  std::string item;
  while (std::getline(in, item, ',')) values.push_back(std::stoll(item, nullptr, 0));
  return values;
}

// A library export of `count` tracks whose tempos and keys lie close enough
// that every lane has candidates through a long set; titles of two plain words.
void writeLibrary(const fs::path& path, int count) {
  const std::vector<std::string> first{"Amber", "Brass",  "Cobalt", "Dusty",
                                       "Ember", "Frozen", "Gentle", "Hollow"};
  const std::vector<std::string> second{"Harbor",  "Canyon",  "Meadow", "Signal",
                                        "Lantern", "Orchard", "Circuit"};
  const std::vector<std::string> artists{"Echo Unit", "Mira Lane", "North Coast", "Kasimir Grey",
                                         "Static Choir"};
  std::ofstream out(path);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DJ_PLAYLISTS Version=\"1.0.0\">\n"
      << "  <PRODUCT Name=\"rekordbox\" Version=\"6.8.5\" Company=\"AlphaTheta\"/>\n"
      << "  <COLLECTION Entries=\"" << count << "\">\n";
  for (int i = 0; i < count; ++i) {
    const std::size_t n = std::size_t(i);
    out << "    <TRACK TrackID=\"" << 1000 + i << "\" Name=\"" << first[n % first.size()] << " "
        << second[n / first.size() % second.size()] << "\" Artist=\"" << artists[n % artists.size()]
        << "\" Genre=\"House\" AverageBpm=\"" << 122 + i % 7 << ".00\" Tonality=\"" << 7 + i % 4
        << (i / 4 % 2 ? "B" : "A") << "\" TotalTime=\"420\" PlayCount=\"0\" Rating=\"0\" "
        << "Location=\"file://localhost/music/track_" << i << ".mp3\"/>\n";
  }
  out << "  </COLLECTION>\n  <PLAYLISTS>\n    <NODE Type=\"0\" Name=\"ROOT\" Count=\"0\"/>\n  </PLAYLISTS>\n"
      << "</DJ_PLAYLISTS>\n";
}

std::string xprop(const std::string& arguments) {
  return commandOutput("xprop " + arguments + " 2>/dev/null");
}

class WindowManagerTest : public ::testing::TestWithParam<Manager> {
 protected:
  void SetUp() override {
    setenv("DISPLAY", server_.display().c_str(), 1);
    std::random_device random;
    work_ = fs::temp_directory_path() / ("kesta-window-manager-" + std::to_string(random()));
    fs::create_directories(work_ / "data");
    writeLibrary(work_ / "rekordbox.xml", 48);
    library_ = sampleTracks(work_ / "rekordbox.xml");
    // The export is named, so Kesta imports it at start; one-click load is on.
    std::ofstream(work_ / "data" / "preferences.json")
        << R"({"poolByLibrary":{},"includeRawText":false,"compact":false,"windowTopLeft":{},)"
        << R"("legacyImported":true,"oneClickLoad":true,"xmlPath":")" << (work_ / "rekordbox.xml").string()
        << R"("})";
  }
  void TearDown() override {
    kesta_.reset();
    if (manager_ > 0) {
      kill(manager_, SIGTERM);
      waitpid(manager_, nullptr, 0);
    }
    std::error_code ignored;
    fs::remove_all(work_, ignored);
  }

  // The manager and Kesta, started together.
  void startBoth() {
    manager_ = fork();
    if (manager_ == 0) {
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, STDERR_FILENO);
      std::vector<char*> argv;
      for (const std::string& word : GetParam().command) argv.push_back(const_cast<char*>(word.c_str()));
      argv.push_back(nullptr);
      execvp(argv[0], argv.data());
      _exit(127);
    }
    kesta_.emplace(server_.display(), work_ / "data");
  }

  std::optional<WindowInfo> kestaWindow(int width, int height) {
    return test::kestaWindow(windows_, width, height);
  }
  static bool managed(std::uint32_t window) {
    std::ostringstream id;
    id << "0x" << std::hex << window;
    return xprop("-id " + std::to_string(window) + " WM_STATE").find("Normal") != std::string::npos &&
           xprop("-root _NET_CLIENT_LIST").find(id.str()) != std::string::npos;
  }
  static std::vector<long long> frameExtents(std::uint32_t window) {
    return numbers(xprop("-id " + std::to_string(window) + " _NET_FRAME_EXTENTS"));
  }
  // Whether `upper` is stacked above `lower` in the manager's stacking order.
  static bool above(std::uint32_t upper, std::uint32_t lower) {
    const std::vector<long long> stacking = numbers(xprop("-root _NET_CLIENT_LIST_STACKING"));
    const auto at = [&](std::uint32_t window) { return std::find(stacking.begin(), stacking.end(), window); };
    return at(upper) != stacking.end() && at(lower) != stacking.end() && at(upper) > at(lower);
  }
  bool viewable(std::uint32_t id) {
    for (const WindowInfo& window : windows_.windows())
      if (window.id == id) return window.viewable;
    return false;
  }
  // Whether `window` stays shown on another workspace than rekordbox's.
  bool onEveryDesktop(std::uint32_t window, std::uint32_t rekordbox) {
    xdotool("set_desktop 1");
    const bool shown = waitFor([&] { return !viewable(rekordbox); }, 5) && viewable(window);
    xdotool("set_desktop 0");
    waitFor([&] { return viewable(rekordbox); }, 5);
    return shown;
  }
  static void xdotool(const std::string& arguments) {
    ASSERT_EQ(std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()), 0) << arguments;
  }
  // A screenshot of the whole screen in the build tree's screenshots folder.
  void shot(const std::string& name) {
    const fs::path folder = fs::path(KESTA_SCREENSHOTS) / "window-manager";
    fs::create_directories(folder);
    EXPECT_EQ(std::system(
                  ("scrot -o '" + (folder / (GetParam().name + "-" + name + ".png")).string() + "'").c_str()),
              0);
  }
  // The whole screen as it is shown now.
  QImage screen() {
    const fs::path path = work_ / "screen.png";
    if (std::system(("scrot -o '" + path.string() + "'").c_str()) != 0) return {};
    return QImage(QString::fromStdString(path.string())).convertToFormat(QImage::Format_RGB32);
  }
  // Starts Kesta with its card (not the full window) shown.
  void storeCardMode() {
    std::ifstream in(work_ / "data" / "preferences.json");
    std::string preferences((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    preferences.replace(preferences.find(R"("compact":false)"), 15, R"("compact":true)");
    std::ofstream(work_ / "data" / "preferences.json") << preferences;
  }
  void click(std::uint32_t window, int x, int y) {
    xdotool("mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " +
            std::to_string(y) + " click 1");
  }
  // Clicks Connect in the full window until Kesta shows it is connected, its
  // button turned to Stop; `shown` is the window's text as last read. A click
  // sent just after a drag can go to the manager instead, which holds the
  // pointer until it has read the drag's button release. Connect toggles, so
  // it is clicked again only while Kesta still says it is not connected, and
  // only seconds after the last click, time for a slow window to show it taken.
  bool connectKesta(std::uint32_t window, int& clicks, std::string& shown) {
    const auto clickConnect = [&] {
      click(window, 207, 77 - kBand);
      ++clicks;
      return std::chrono::steady_clock::now();
    };
    auto clicked = clickConnect();
    return waitFor(
        [&] {
          shown = readWindow(windows_, recognizer_, window);
          const bool offered = shown.find("Not connected") != std::string::npos;
          if (!offered && shown.find("Stop") != std::string::npos) return true;
          if (offered && std::chrono::steady_clock::now() - clicked > std::chrono::seconds(5))
            clicked = clickConnect();
          return false;
        },
        60);
  }

  XvfbServer server_{kScreenWidth, kScreenHeight};
  X11WindowSystem windows_{server_.display()};
  TesseractRecognizer recognizer_;
  std::vector<LibraryTrack> library_;
  fs::path work_;
  pid_t manager_ = -1;
  std::optional<KestaProcess> kesta_;
};

TEST_P(WindowManagerTest, StartsWithTheManagerAndKeepsItsWindowsPlacementStackingDragsAndLoads) {
  // Narrow enough that Kesta, dragged left, still covers none of it.
  StandInRekordbox rekordbox(server_.display(), StandInRekordbox::Options{.width = 1200, .height = 980});
  nlohmann::json rows = nlohmann::json::array();
  for (const LibraryTrack& track : library_)
    rows.push_back(
        {{"title", track.title}, {"artist", track.artist}, {"bpm", track.bpm}, {"key", track.key}});
  rekordbox.send("browse " + rows.dump());

  startBoth();
  std::optional<WindowInfo> full;
  ASSERT_TRUE(waitFor([&] { return (full = kestaWindow(380, 660)) && managed(full->id); }, 30))
      << "Kesta's window was not shown and managed under " << GetParam().name;

  // The frame's top-right corner 12 points in from the screen's (no panels
  // here), and kept there however the manager frames the window: metacity,
  // taking over a window mapped as it starts, may change the frame seconds later.
  std::vector<long long> extents;
  auto settledSince = std::chrono::steady_clock::now();
  EXPECT_TRUE(waitFor(
      [&] {
        const std::optional<WindowInfo> now = kestaWindow(380, 660);
        if (!now) return false;
        const std::vector<long long> nowExtents = frameExtents(now->id);
        if (!full || now->frame.x != full->frame.x || now->frame.y != full->frame.y || nowExtents != extents)
          settledSince = std::chrono::steady_clock::now();
        full = now;
        extents = nowExtents;
        const bool inset = extents.size() == 4 && kScreenWidth - (full->frame.x + 380 + extents[1]) == 12 &&
                           full->frame.y - extents[2] == 12;
        return inset && std::chrono::steady_clock::now() - settledSince > std::chrono::seconds(3);
      },
      20))
      << "content at " << full->frame.x << ", " << full->frame.y << " in a frame of extents "
      << ::testing::PrintToString(extents);
  EXPECT_TRUE(onEveryDesktop(full->id, rekordbox.windowId()));

  // A quick click on the background leaves the window where it is, pointer moved or not.
  const Rect before = full->frame;
  click(full->id, 300, 640);
  xdotool("mousemove_relative -- -150 60 sleep 0.3 mousemove_relative -- -150 60");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  full = kestaWindow(380, 660);
  ASSERT_TRUE(full);
  EXPECT_EQ(full->frame.x, before.x);
  EXPECT_EQ(full->frame.y, before.y);
  const int x = int(before.x) + 300, y = int(before.y) + 640;
  // A drag moves it, the window manager following the pointer from a few pixels out.
  xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " mousedown 1 sleep 0.2 mousemove " +
          std::to_string(x - 6) + " " + std::to_string(y) + " sleep 0.3 mousemove " +
          std::to_string(x - 150) + " " + std::to_string(y + 20) + " sleep 0.3 mousemove " +
          std::to_string(x - 300) + " " + std::to_string(y + 40) + " sleep 0.3 mouseup 1");
  EXPECT_TRUE(waitFor([&] { return (full = kestaWindow(380, 660)) && full->frame.x < before.x - 250; }, 10));
  ASSERT_TRUE(full = kestaWindow(380, 660));

  int clicks = 0;
  std::string shown;
  const bool connected = connectKesta(full->id, clicks, shown);
  if (!connected) shot("not-connected");
  ASSERT_TRUE(connected) << "Kesta never showed it was connected under " << GetParam().name
                         << " (clicks on Connect after the drag: " << clicks << "); its window reads:\n"
                         << shown;
  // A set of one-click loads: each onto the deck not playing, which then takes over.
  rekordbox.load(1, {{"title", library_[0].title},
                     {"artist", library_[0].artist},
                     {"bpm", library_[0].bpm},
                     {"key", library_[0].key},
                     {"duration", 420},
                     {"elapsed", 0}});
  const auto takeOver = [&](int deck) {
    rekordbox.send("play " + std::to_string(deck));
    rekordbox.send("fader " + std::to_string(deck) + " 1");
    rekordbox.send("fader " + std::to_string(3 - deck) + " 0");
    rekordbox.send("stop " + std::to_string(3 - deck));
  };
  takeOver(1);
  const auto onDeck = [&](int deck) {
    const nlohmann::json shown = rekordbox.send("browser")["decks"][deck - 1];
    return shown.is_string() ? shown.get<std::string>() : std::string();
  };
  const auto actions = [&] { return rekordbox.send("browser")["actions"].size(); };
  int loads = 0;
  for (int deck = 2; loads < 20; deck = 3 - deck) {
    const std::string held = onDeck(deck);
    auto clicked = std::chrono::steady_clock::time_point();
    auto busy = std::chrono::steady_clock::time_point();
    std::size_t seen = actions();
    // The button waits until Kesta follows the other deck and has seen this
    // one stand still, so the click is repeated until the deck changes; never
    // while a load is still at work in rekordbox (slow under sanitizers), as
    // a click on Kesta would take the keyboard from it.
    const bool loaded = waitFor(
        [&] {
          if (onDeck(deck) != held) return true;
          const auto now = std::chrono::steady_clock::now();
          if (const std::size_t count = actions(); count != seen) {
            seen = count;
            busy = now;
          }
          if (now - clicked > std::chrono::milliseconds(1500) && now - busy > std::chrono::seconds(4)) {
            click(full->id, 263, 330 - kBand);  // the load button, beside the title
            clicked = now;
          }
          return false;
        },
        45);
    if (!loaded) {
      shot("load-stalled");
      break;
    }
    ++loads;
    takeOver(deck);
  }
  EXPECT_EQ(loads, 20) << "one-click loads in a row under " << GetParam().name;
  EXPECT_TRUE(above(full->id, rekordbox.windowId()));

  click(full->id, 337, 36 - kBand);  // Mini
  std::optional<WindowInfo> card;
  ASSERT_TRUE(waitFor([&] { return (card = kestaWindow(340, 224)) && managed(card->id); }, 20));
  EXPECT_TRUE(waitFor([&] { return above(card->id, rekordbox.windowId()); }, 5));
  EXPECT_TRUE(onEveryDesktop(card->id, rekordbox.windowId()));
  EXPECT_NE(commandOutput("xdotool getactivewindow 2>/dev/null"), std::to_string(card->id));
}

// The four corner pixels of a window's content at `frame` as shown on `image`.
std::vector<QColor> cornerPixels(const QImage& image, const Rect& frame) {
  const int left = int(frame.x), top = int(frame.y);
  const int right = left + int(frame.width) - 1, bottom = top + int(frame.height) - 1;
  return {image.pixelColor(left, top), image.pixelColor(right, top), image.pixelColor(left, bottom),
          image.pixelColor(right, bottom)};
}

bool allWhite(const std::vector<QColor>& pixels) {
  return std::all_of(pixels.begin(), pixels.end(), [](const QColor& c) { return c == QColor(Qt::white); });
}

TEST_P(WindowManagerTest, CardCornersShowTheDesktopBehindUnlessACompositorRuns) {
  // metacity owns the compositing manager's selection even with its compositor
  // off, which leaves the card whole there.
  if (GetParam().name != "openbox") GTEST_SKIP() << GetParam().name << " owns the compositing selection";
  // The desktop behind the card painted white.
  X11Connection x(server_.display());
  const std::uint32_t white = x.screen().white_pixel;
  xcb_change_window_attributes(x.raw(), x.root(), XCB_CW_BACK_PIXEL, &white);
  xcb_clear_area(x.raw(), 0, x.root(), 0, 0, 0, 0);
  xcb_flush(x.raw());
  storeCardMode();
  startBoth();
  std::optional<WindowInfo> card;
  ASSERT_TRUE(waitFor([&] { return (card = kestaWindow(340, 224)) && managed(card->id); }, 30));
  // The window's class is the one the desktop entry names, so the desktop
  // ties the window to the entry and its icon.
  std::ifstream entry(KESTA_DESKTOP_ENTRY);
  std::string line;
  while (std::getline(entry, line) && line.rfind("StartupWMClass=", 0) != 0) {
  }
  EXPECT_EQ(line, "StartupWMClass=" + card->className);
  // Its icon, for the taskbar and the window list, comes at every usual size.
  EXPECT_EQ(commandOutput(
                "xprop -id " + std::to_string(card->id) +
                " -len 1000000 _NET_WM_ICON 2>/dev/null | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\\n' ' '"),
            "Icon (16 x 16) Icon (24 x 24) Icon (32 x 32) Icon (48 x 48) Icon (64 x 64) Icon (128 x 128) "
            "Icon (256 x 256) ");

  QImage shown;
  EXPECT_TRUE(waitFor(
      [&] {
        card = kestaWindow(340, 224);
        shown = screen();
        return card && !shown.isNull() && allWhite(cornerPixels(shown, card->frame));
      },
      10))
      << "corner pixels " << cornerPixels(shown, card->frame)[0].name().toStdString();
  shot("card-corners");
  // The card itself is drawn: its dark ground just inside the corner, and below its top edge.
  const auto dark = [&](int x, int y) {
    return shown.pixelColor(int(card->frame.x) + x, int(card->frame.y) + y).lightness() < 60;
  };
  EXPECT_TRUE(dark(8, 8) && dark(170, 1) && dark(331, 215));

  // A compositing manager arrives: the card is whole again and the
  // compositor is left to blend its corners; when it goes, cut again.
  const xcb_window_t owner = xcb_generate_id(x.raw());
  xcb_create_window(x.raw(), XCB_COPY_FROM_PARENT, owner, x.root(), 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
  xcb_set_selection_owner(x.raw(), owner, x.atom("_NET_WM_CM_S0"), XCB_CURRENT_TIME);
  xcb_flush(x.raw());
  EXPECT_TRUE(waitFor(
      [&] {
        const std::vector<QColor> corners = cornerPixels(screen(), card->frame);
        return std::none_of(corners.begin(), corners.end(),
                            [](const QColor& c) { return c == QColor(Qt::white); });
      },
      10))
      << "the card stayed cut while a compositor ran";
  xcb_destroy_window(x.raw(), owner);
  xcb_flush(x.raw());
  EXPECT_TRUE(waitFor([&] { return allWhite(cornerPixels(screen(), card->frame)); }, 10))
      << "the card was not cut again when the compositor went";
}

TEST_P(WindowManagerTest, TitleBarIsDarkWhereTheManagerDrawsItFromTheDesktopTheme) {
  // openbox draws its frames from its own theme and reads no variant.
  if (GetParam().name != "metacity") GTEST_SKIP() << GetParam().name << " reads no theme variant";
  startBoth();
  std::optional<WindowInfo> full;
  std::vector<long long> extents;
  ASSERT_TRUE(waitFor(
      [&] {
        full = kestaWindow(380, 660);
        if (!full || !managed(full->id)) return false;
        extents = frameExtents(full->id);
        return extents.size() == 4 && extents[2] > extents[0];
      },
      30));
  const auto isDark = [](const QColor& c) { return c.lightness() < 100; };
  // Title bar pixels between the window's left edge and its centred title.
  const auto titleBar = [&](const QImage& image) {
    std::vector<QColor> pixels;
    const int y = int(full->frame.y - extents[2] / 2);
    for (int x = int(full->frame.x) + 60; x < int(full->frame.x) + 130; x += 10)
      pixels.push_back(image.pixelColor(x, y));
    return pixels;
  };
  std::vector<QColor> bar;
  EXPECT_TRUE(waitFor(
      [&] {
        full = kestaWindow(380, 660);
        const QImage image = screen();
        if (!full || image.isNull()) return false;
        bar = titleBar(image);
        return std::all_of(bar.begin(), bar.end(), isDark);
      },
      10))
      << "title bar pixel " << (bar.empty() ? std::string("none") : bar.front().name().toStdString());
  shot("title-bar");
}

INSTANTIATE_TEST_SUITE_P(Managers, WindowManagerTest,
                         ::testing::Values(Manager{"openbox", {"openbox", "--sm-disable"}},
                                           Manager{"metacity",
                                                   {"metacity", "--sm-disable", "--compositor=none"}}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kesta::test
