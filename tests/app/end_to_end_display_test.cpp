// Kesta end to end on a private X server: the real program, started over an
// empty data folder beside the stand-in rekordbox window, driven like a user
// would with the pointer and the keyboard (xdotool), and read back from its
// window's pixels by text recognition. A screenshot of each step goes to
// the build tree's "screenshots/end-to-end" folder. The machine may be busy,
// so time-outs are generous. It runs on bare Xvfb and again under openbox,
// where activation, stacking, focus and window frames are the manager's.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "kesta_process.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "platform/x11/x11_window_system.h"
#include "support/standin_rekordbox.h"
#include "support/xvfb_server.h"
#include "window_text.h"

namespace kesta::test {
namespace {

namespace fs = std::filesystem;

// What a title is recognised by: its first two words, which a cut title keeps.
std::string titleMark(const std::string& title) {
  const auto first = title.find(' ');
  if (first == std::string::npos) return title;
  const auto second = title.find(' ', first + 1);
  return title.substr(0, second);
}

class EndToEndTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    setenv("DISPLAY", server_.display().c_str(), 1);
    std::random_device random;
    work_ = fs::temp_directory_path() / ("kesta-end-to-end-" + std::to_string(random()));
    fs::create_directories(work_ / "data");
    fs::copy_file(KESTA_SAMPLE_LIBRARY, work_ / "rekordbox.xml");
    shots_ = fs::path(KESTA_SCREENSHOTS) / (GetParam() ? "end-to-end-openbox" : "end-to-end");
    if (GetParam()) startWindowManager();
    fs::create_directories(shots_);
  }
  void TearDown() override {
    if (windowManager_ > 0) {
      kill(windowManager_, SIGTERM);
      waitpid(windowManager_, nullptr, 0);
    }
    std::error_code ignored;
    fs::remove_all(work_, ignored);
  }

  void startWindowManager() {
    windowManager_ = fork();
    if (windowManager_ == 0) {
      execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
      _exit(127);
    }
    ASSERT_GT(windowManager_, 0);
    // The manager is up once it has published its desktops.
    ASSERT_TRUE(waitFor([] { return !commandOutput("xdotool get_num_desktops 2>/dev/null").empty(); }, 10))
        << "openbox did not start";
  }

  static std::uint32_t activeWindow() {
    const std::string text = commandOutput("xdotool getactivewindow 2>/dev/null");
    return text.empty() ? 0 : std::uint32_t(std::stoul(text));
  }

  // Ctrl+Q in the full window ends Kesta with status 0.
  void quit(const WindowInfo& full, KestaProcess& process) {
    if (GetParam()) {
      xdotool("windowactivate --sync " + std::to_string(full.id));
    } else {
      click(full, 300, 640);
    }
    xdotool("key ctrl+q");
    EXPECT_EQ(process.waitForExit(30), 0);
  }

  static void xdotool(const std::string& arguments) {
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << "xdotool " << arguments;
  }
  void shot(const std::string& name) {
    ++step_;
    const std::string file =
        (shots_ / ((step_ < 10 ? "0" : "") + std::to_string(step_) + "-" + name + ".png"));
    EXPECT_EQ(std::system(("scrot -o '" + file + "'").c_str()), 0);
  }

  // Kesta's shown top-level window of this size.
  std::optional<WindowInfo> kestaWindow(int width, int height) {
    return test::kestaWindow(windows_, width, height);
  }
  // Any other shown window of Kesta's (a panel).
  std::optional<WindowInfo> kestaPanel() {
    for (const WindowInfo& window : windows_.windows()) {
      if (window.className == "Kesta" && window.viewable && window.frame.width != 380 &&
          window.frame.width != 340)
        return window;
    }
    return std::nullopt;
  }
  // The full window's content starts higher under a manager's title bar.
  int contentY(int y) const { return GetParam() ? y - 14 : y; }
  void click(const WindowInfo& window, int x, int y) {
    xdotool("mousemove --window " + std::to_string(window.id) + " " + std::to_string(x) + " " +
            std::to_string(y) + " click 1");
  }

  std::string read(const WindowInfo& window) { return readWindow(windows_, recognizer_, window.id); }

  // Whether Kesta follows `track` on `deck` and suggests tracks besides the
  // ones on the decks: at least three lanes, as a small library may leave
  // one lane with nothing unused that fits.
  bool showsFollowed(const WindowInfo& window, const LibraryTrack& track, int deck,
                     const std::vector<std::string>& onDecks, std::string& text) {
    text = read(window);
    if (text.find(titleMark(track.title)) == std::string::npos) return false;
    if (text.find("Following Deck " + std::to_string(deck)) == std::string::npos) return false;
    int suggested = 0;
    for (const LibraryTrack& other : library_) {
      const std::string mark = titleMark(other.title);
      if (std::find(onDecks.begin(), onDecks.end(), other.title) == onDecks.end() &&
          text.find(mark) != std::string::npos)
        ++suggested;
    }
    return suggested >= 3;
  }

  nlohmann::json shown(const LibraryTrack& track) {
    return {{"title", track.title}, {"artist", track.artist}, {"bpm", track.bpm},
            {"key", track.key},     {"duration", 420},        {"elapsed", 0}};
  }

  XvfbServer server_{1920, 1200};
  X11WindowSystem windows_{server_.display()};
  TesseractRecognizer recognizer_;
  const std::vector<LibraryTrack> library_ = sampleTracks(KESTA_SAMPLE_LIBRARY);
  fs::path work_;
  fs::path shots_;
  int step_ = 0;
  pid_t windowManager_ = -1;
};

TEST_P(EndToEndTest, ImportsConnectsFollowsASetLoadsASuggestionSwitchesWindowsKeepsPositionsAndQuits) {
  ASSERT_GE(library_.size(), 14u);
  StandInRekordbox rekordbox(server_.display(), StandInRekordbox::Options{.width = 1480, .height = 980});
  nlohmann::json rows = nlohmann::json::array();
  for (const LibraryTrack& track : library_)
    rows.push_back(
        {{"title", track.title}, {"artist", track.artist}, {"bpm", track.bpm}, {"key", track.key}});
  rekordbox.send("browse " + rows.dump());
  // One-click load is the one setting made beforehand: switching it on asks questions of its own.
  std::ofstream(work_ / "data" / "preferences.json")
      << R"({"poolByLibrary":{},"includeRawText":false,"compact":false,"windowTopLeft":{},)"
      << R"("legacyImported":true,"oneClickLoad":true})";

  KestaProcess kesta(server_.display(), work_ / "data");
  std::optional<WindowInfo> full;
  ASSERT_TRUE(waitFor([&] { return (full = kestaWindow(380, 660)).has_value(); }, 30)) << "no full window";
  shot("started");

  // Import through the open panel.
  click(*full, 99, contentY(77));
  ASSERT_TRUE(waitFor([&] { return kestaPanel().has_value(); }, 20)) << "no open panel";
  shot("open-panel");
  xdotool("type --delay 15 '" + (work_ / "rekordbox.xml").string() + "'");
  xdotool("key Return");
  ASSERT_TRUE(waitFor([&] { return read(*full).find("suggestible") != std::string::npos; }, 60))
      << read(*full);
  shot("imported");

  click(*full, 207, contentY(77));  // Connect
  shot("connected");

  // A set: each load on the deck not played, which then takes over.
  rekordbox.send("fader 1 1");
  rekordbox.send("fader 2 0");
  std::vector<std::string> onDecks{"", ""};
  int deck = 1;
  // Tracks of neighbouring keys and tempos, so that every lane has candidates.
  const std::vector<int> set{0, 1, 2, 3, 4, 10, 12, 14, 16, 19, 25};
  for (const int index : set) {
    const LibraryTrack& track = library_[std::size_t(index)];
    const int other = 3 - deck;
    rekordbox.load(deck, shown(track));
    rekordbox.send("play " + std::to_string(deck));
    rekordbox.send("fader " + std::to_string(deck) + " 1");
    rekordbox.send("fader " + std::to_string(other) + " 0");
    rekordbox.send("stop " + std::to_string(other));
    onDecks[std::size_t(deck - 1)] = track.title;
    std::string text;
    EXPECT_TRUE(waitFor([&] { return showsFollowed(*full, track, deck, onDecks, text); }, 45))
        << "load " << index + 1 << " of " << track.title << " on Deck " << deck << "; Kesta shows:\n"
        << text;
    shot("load-" + std::to_string(index + 1));
    deck = other;
  }

  // One-click load from the first lane onto the other deck, stopped with its
  // track still on it. The button waits until Kesta has seen that deck's
  // clock stand still, so the click is repeated until the deck changes.
  const int target = deck;
  const auto onTarget = [&] {
    const nlohmann::json shownOnDeck = rekordbox.send("browser")["decks"][target - 1];
    return shownOnDeck.is_string() ? shownOnDeck.get<std::string>() : std::string();
  };
  const std::string held = onTarget();
  ASSERT_FALSE(held.empty());
  std::string loaded;
  auto clicked = std::chrono::steady_clock::time_point();
  ASSERT_TRUE(waitFor(
      [&] {
        loaded = onTarget();
        if (loaded != held) return true;
        if (std::chrono::steady_clock::now() - clicked > std::chrono::seconds(10)) {
          click(*full, 263, contentY(330));  // the load button, beside the title
          clicked = std::chrono::steady_clock::now();
        }
        return false;
      },
      90))
      << "the stand-in's Deck " << target << " never took a suggestion; Kesta shows:\n"
      << read(*full);
  ASSERT_FALSE(loaded.empty());
  const std::string title = loaded.substr(0, loaded.find(" - "));
  EXPECT_TRUE(
      waitFor([&] { return read(*full).find("Loaded " + titleMark(title)) != std::string::npos; }, 60))
      << read(*full);
  // rekordbox was brought forward for the load (through the window manager when there is one).
  if (GetParam()) {
    EXPECT_EQ(activeWindow(), rekordbox.windowId());
  }
  shot("one-click-load");

  // The card and back.
  click(*full, 337, contentY(36));  // Mini
  std::optional<WindowInfo> card;
  ASSERT_TRUE(
      waitFor([&] { return (card = kestaWindow(340, 224)).has_value() && !kestaWindow(380, 660); }, 20));
  // The card is on screen without taking the keyboard from rekordbox.
  if (GetParam()) {
    EXPECT_NE(activeWindow(), card->id);
  }
  shot("card");
  click(*card, 305, 25);  // Full
  ASSERT_TRUE(
      waitFor([&] { return (full = kestaWindow(380, 660)).has_value() && !kestaWindow(340, 224); }, 20));
  shot("full-again");

  // Drag the full window by its background: its frame's corner is kept and
  // the window reopens there.
  const Rect before = full->frame;
  const int x = int(before.x) + 300, y = int(before.y) + 640;
  // Paced, so that a window manager asked to move the window has taken the pointer.
  xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " mousedown 1 sleep 0.5 mousemove " +
          std::to_string(x - 6) + " " + std::to_string(y) + " sleep 0.3 mousemove " +
          std::to_string(x - 200) + " " + std::to_string(y + 50) + " sleep 0.3 mousemove " +
          std::to_string(x - 400) + " " + std::to_string(y + 100) + " sleep 0.5 mouseup 1");
  ASSERT_TRUE(waitFor([&] { return (full = kestaWindow(380, 660)) && full->frame.x < before.x - 300; }, 20));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  full = kestaWindow(380, 660);
  ASSERT_TRUE(full);
  const Rect moved = full->frame;
  nlohmann::json saved;
  EXPECT_TRUE(waitFor(
      [&] {
        std::ifstream file(work_ / "data" / "preferences.json");
        saved = nlohmann::json::parse(file, nullptr, false);
        if (saved.is_discarded() || !saved["windowTopLeft"].contains("full")) return false;
        // The frame's top-left corner, y up from the screen's bottom edge: the
        // window's content, or the manager's frame around it.
        const double left = saved["windowTopLeft"]["full"][0], top = saved["windowTopLeft"]["full"][1];
        if (!GetParam()) return left == moved.x && top == 1200 - moved.y;
        return left <= moved.x && left > moved.x - 40 && top >= 1200 - moved.y && top < 1240 - moved.y;
      },
      10))
      << saved.dump() << " for the content at " << moved.x << ", " << moved.y;
  shot("moved");

  quit(*full, kesta);
  bool diagnostics = false;
  for (const auto& entry : fs::directory_iterator(work_ / "data" / "diagnostics"))
    diagnostics = diagnostics || entry.path().filename().string().starts_with("session-");
  EXPECT_TRUE(diagnostics) << "no diagnostics session file";

  KestaProcess again(server_.display(), work_ / "data");
  ASSERT_TRUE(waitFor([&] { return (full = kestaWindow(380, 660)).has_value(); }, 30)) << "no full window";
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  full = kestaWindow(380, 660);
  ASSERT_TRUE(full);
  EXPECT_EQ(full->frame.x, moved.x);
  EXPECT_EQ(full->frame.y, moved.y);
  shot("reopened");
  quit(*full, again);
}

INSTANTIATE_TEST_SUITE_P(Desktops, EndToEndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "openbox" : "bareXvfb"; });

}  // namespace
}  // namespace kesta::test
