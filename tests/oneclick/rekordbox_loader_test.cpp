// The loader over a scripted desktop in virtual time: every key, click, wait,
// safety re-check and restore it makes.

#include "oneclick/rekordbox_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "oneclick/browser_rows.h"
#include "oneclick/load_error.h"
#include "reading/library_index.h"
#include "support/fakes/fake_clipboard.h"
#include "support/fakes/fake_input_system.h"
#include "support/fakes/fake_text_recognizer.h"
#include "support/fakes/fake_window_system.h"

namespace kesta {
namespace {

using test::browserCropObservations;
using test::browserLines;
using test::BrowserRow;
using test::libraryOf;
using test::libraryTrack;
using test::titleBox;
using Kind = FakeInputSystem::Event::Kind;

const Track kStrobe = libraryTrack("1", "Strobe", "deadmau5", "8A", 128, 637);
const Track kStrobeCopy = libraryTrack("11", "Strobe", "deadmau5", "8A", 128, 637);
const Track kLevels = libraryTrack("9", "Levels", "Avicii", "5A", 126, 199);
const BrowserRow kStrobeNoTime{"Strobe", "deadmau5", "128.00", "8A"};
const BrowserRow kStrobeRow{"Strobe", "deadmau5", "128.00", "8A", "10:37"};
const BrowserRow kOtherRow{"Levels", "Avicii", "126.00", "5A", "3:19"};

constexpr std::int32_t kRekordboxPid = 42;
constexpr std::int32_t kOtherPid = 7;
constexpr std::uint32_t kWindow = 5;
constexpr Rect kFrame{100, 50, 1400, 900};
const Point kPointer{300, 200};

// What one look of the window sees.
struct Scene {
  std::vector<BrowserRow> rows;
  Point shift{};  // the window's offset from kFrame
  bool captureFails = false;
};

const ClipboardContents kUserClipboard = {
    {{"text/plain", {'h', 'i'}}, {"image/png", {0x89, 'P', 'N', 'G', 0, 1}}},
    {{"text/uri-list", {'f', ':', '/'}}},
};

class ScriptedWindows : public FakeWindowSystem {
 public:
  std::function<void(int look)> beforeCapture;
  std::optional<Image> capture(std::uint32_t id) override {
    if (beforeCapture) beforeCapture(captureCalls);
    return FakeWindowSystem::capture(id);
  }
};

// A desktop with rekordbox behind another application, a user clipboard
// and pointer, and a browser that shows whatever `script` says for each look.
struct Rig {
  std::shared_ptr<ScriptedWindows> windows = std::make_shared<ScriptedWindows>();
  std::shared_ptr<FakeInputSystem> input = std::make_shared<FakeInputSystem>();
  std::shared_ptr<FakeClipboard> clipboard = std::make_shared<FakeClipboard>();
  std::shared_ptr<FakeTextRecognizer> recognizer = std::make_shared<FakeTextRecognizer>();
  // Whole milliseconds, so that time differences are exact.
  long long nowMs = 0;
  std::vector<double> waits;
  std::function<void()> onWait;
  std::function<Scene(int look)> script = [](int) { return Scene{{kOtherRow, kStrobeRow}}; };
  std::vector<TextBox> shown;
  int stillSafeCalls = 0;
  std::vector<std::optional<std::string>> safetyAnswers;
  LibraryIndex index{libraryOf({kStrobe, kLevels})};

  Rig() {
    windows->list.push_back({.id = kWindow,
                             .instanceName = "rekordbox",
                             .className = "rekordbox",
                             .pid = kRekordboxPid,
                             .frame = kFrame,
                             .viewable = true});
    windows->beforeCapture = [this](int look) {
      const Scene scene = script(look);
      auto& window = windows->window(kWindow);
      window.frame = {kFrame.x + scene.shift.x, kFrame.y + scene.shift.y, kFrame.width, kFrame.height};
      windows->captureFailure = scene.captureFails ? std::optional<std::string>("gone") : std::nullopt;
      shown = browserLines(scene.rows);
    };
    recognizer->answer([this](const Image&, const RecognitionRequest& request) {
      if (request.level == RecognitionLevel::fast) return std::vector<TextObservation>{};
      return browserCropObservations(shown);
    });
    input->front = kOtherPid;
    input->ownerOf = [](std::uint32_t window) {
      return window == kWindow ? std::optional<std::int32_t>(kRekordboxPid) : std::nullopt;
    };
    input->position = kPointer;
    clipboard->held = kUserClipboard;
  }

  RekordboxLoader loader() {
    return RekordboxLoader({.windows = windows,
                            .input = input,
                            .clipboard = clipboard,
                            .recognizer = recognizer,
                            .timing = {.now = [this] { return double(nowMs) / 1000; },
                                       .sleep =
                                           [this](std::stop_token, double seconds) {
                                             waits.push_back(seconds);
                                             nowMs += std::llround(seconds * 1000);
                                             if (onWait) onWait();
                                           }}});
  }

  StillSafe stillSafe() {
    return [this]() -> std::optional<std::string> {
      const auto call = stillSafeCalls++;
      return call < int(safetyAnswers.size()) ? safetyAnswers[call] : std::nullopt;
    };
  }

  int load(int deck = 2, std::stop_token stop = {}) {
    return loader().load(kStrobe, deck, index, stillSafe(), stop);
  }

  std::vector<std::uint16_t> keys() const {
    std::vector<std::uint16_t> codes;
    for (const auto& event : input->eventsOf(Kind::key)) codes.push_back(event.keyCode);
    return codes;
  }

  // The clipboard and pointer are the user's again.
  void expectGivenBack() const {
    EXPECT_EQ(clipboard->held, kUserClipboard);
    ASSERT_FALSE(input->events.empty());
    EXPECT_EQ(input->events.back(), (FakeInputSystem::Event{.kind = Kind::move, .point = kPointer}));
  }
};

LoadError loadError(Rig& rig) {
  try {
    rig.load();
  } catch (const LoadError& error) {
    return error;
  }
  ADD_FAILURE() << "the load did not fail";
  return LoadError::eventFailed();
}

TEST(RekordboxLoader, LoadsTheRowOntoTheDeck) {
  Rig rig;
  EXPECT_EQ(rig.load(2), 1);
  EXPECT_EQ(rig.clipboard->textsSet, std::vector<std::string>{"Strobe"});
  // Control-F, Command-A, Command-V, then Shift-Right.
  EXPECT_EQ(rig.keys(), (std::vector<std::uint16_t>{3, 0, 9, 124}));
  const auto keys = rig.input->eventsOf(Kind::key);
  EXPECT_EQ(keys[0].flags, KeyFlags::control);
  EXPECT_EQ(keys[2].flags, KeyFlags::command);
  EXPECT_EQ(keys[3].flags, KeyFlags::shift);
  // The click lands in the middle of the track's title cell, in screen points.
  const auto clicks = rig.input->eventsOf(Kind::click);
  ASSERT_EQ(clicks.size(), 1u);
  const Rect title = titleBox(1);
  EXPECT_NEAR(clicks[0].point.x, kFrame.x + title.midX() * kFrame.width, 1e-6);
  EXPECT_NEAR(clicks[0].point.y, kFrame.y + title.midY() * kFrame.height, 1e-6);
  // One poll until rekordbox came forward, then the pacing of one attempt.
  EXPECT_EQ(rig.waits, (std::vector<double>{0.05, 0.08, 0.12, 0.7, 0.25, 0.18}));
  EXPECT_EQ(rig.stillSafeCalls, 1);
  rig.expectGivenBack();
}

TEST(RekordboxLoader, AlreadyInFrontNeedsNoActivation) {
  Rig rig;
  rig.input->front = kRekordboxPid;
  EXPECT_EQ(rig.load(1), 1);
  EXPECT_TRUE(rig.input->eventsOf(Kind::activate).empty());
  EXPECT_EQ(rig.keys().back(), 123);
  EXPECT_NEAR(std::accumulate(rig.waits.begin(), rig.waits.end(), 0.0), 1.33, 1e-9);
}

TEST(RekordboxLoader, BringingForwardNudgesOnceAndTimesOut) {
  struct Case {
    const char* name;
    bool activationWorks;
    bool raiseWorks;
    bool inFront;
    int polls;
  };
  const Case cases[] = {
      {"activation works", true, false, true, 1},
      {"only the nudge works", false, true, true, 5},
      {"nothing works", false, false, false, 12},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.input->activationWorks = c.activationWorks;
    rig.input->raiseWorks = c.raiseWorks;
    auto loader = rig.loader();
    EXPECT_EQ(loader.bringToFront({kRekordboxPid, kWindow}), c.inFront) << c.name;
    EXPECT_EQ(rig.waits.size(), std::size_t(c.polls)) << c.name;
    EXPECT_EQ(rig.input->eventsOf(Kind::activate).size(), 1u) << c.name;
    EXPECT_EQ(rig.input->eventsOf(Kind::raise).size(), c.activationWorks ? 0u : 1u) << c.name;
  }
}

TEST(RekordboxLoader, FailuresGiveEverythingBack) {
  struct Case {
    const char* name;
    std::function<void(Rig&)> setUp;
    LoadError expected;
    int stillSafeCalls;
    int clicks;
  };
  const auto nothing = [](int) { return Scene{{kOtherRow}}; };
  const Case cases[] = {
      {"two rows could be the track",
       [](Rig& rig) {
         rig.index = LibraryIndex(libraryOf({kStrobe, kStrobeCopy}));
         rig.script = [](int) { return Scene{{kStrobeNoTime, kStrobeNoTime}}; };
       },
       LoadError::ambiguous(2), 0, 0},
      {"the row is never shown", [&](Rig& rig) { rig.script = nothing; }, LoadError::notFound(), 2, 0},
      {"a button has the focus", [](Rig& rig) { rig.input->role = "AXButton"; },
       LoadError::searchNotFocused(), 2, 0},
      {"rekordbox never comes forward",
       [](Rig& rig) {
         rig.input->activationWorks = false;
         rig.input->raiseWorks = false;
       },
       LoadError::notFrontmost(), 2, 0},
      {"events cannot be made", [](Rig& rig) { rig.input->eventsFail = true; }, LoadError::eventFailed(), 0,
       0},
      {"the window is too narrow", [](Rig& rig) { rig.windows->window(kWindow).frame.width = 699; },
       LoadError::windowNotVisible(), 0, 0},
      {"the deck started before the load stroke",
       [](Rig& rig) { rig.safetyAnswers = {"Deck 2 is playing."}; },
       LoadError::becameUnsafe("Deck 2 is playing."), 1, 1},
      {"the deck started between attempts",
       [&](Rig& rig) {
         rig.script = nothing;
         rig.safetyAnswers = {"Deck 2 is changing."};
       },
       LoadError::becameUnsafe("Deck 2 is changing."), 1, 0},
      {"the clicked row jumped",
       [](Rig& rig) {
         rig.script = [](int look) {
           return look % 5 < 2 ? Scene{{kOtherRow, kStrobeRow}} : Scene{{kStrobeRow}};
         };
       },
       LoadError::rowMoved("row at another height"), 2, 3},
  };
  for (const auto& c : cases) {
    Rig rig;
    c.setUp(rig);
    EXPECT_EQ(loadError(rig), c.expected) << c.name;
    EXPECT_EQ(rig.stillSafeCalls, c.stillSafeCalls) << c.name;
    EXPECT_EQ(rig.input->eventsOf(Kind::click).size(), std::size_t(c.clicks)) << c.name;
    EXPECT_NE(rig.keys().empty() ? 0 : rig.keys().back(), 124) << c.name << ": nothing may be loaded";
    rig.expectGivenBack();
  }
}

TEST(RekordboxLoader, RetriesPauseAndCheckSafetyBeforeEachFurtherAttempt) {
  Rig rig;
  rig.input->front = kRekordboxPid;
  // Four finding looks see nothing, then the row shows.
  rig.script = [](int look) { return look < 4 ? Scene{{kOtherRow}} : Scene{{kOtherRow, kStrobeRow}}; };
  EXPECT_EQ(rig.load(), 2);
  EXPECT_EQ(rig.stillSafeCalls, 2);
  const std::vector<double> expected{0.08, 0.12, 0.7, 0.4, 0.4, 0.4, 0.3, 0.08, 0.12, 0.7, 0.25, 0.18};
  EXPECT_EQ(rig.waits, expected);
}

TEST(RekordboxLoader, WithoutSyntheticInputNothingIsTouched) {
  Rig rig;
  rig.input->isTrusted = false;
  EXPECT_FALSE(rig.loader().isAuthorized());
  EXPECT_EQ(loadError(rig), LoadError::accessibilityNeeded());
  EXPECT_THROW(rig.loader().undoLastLoad(), LoadError);
  EXPECT_TRUE(rig.input->events.empty());
  EXPECT_TRUE(rig.clipboard->textsSet.empty());
}

TEST(RekordboxLoader, WithoutRekordboxNothingIsTouched) {
  Rig rig;
  rig.windows->list.front().instanceName = "firefox";
  rig.windows->list.front().className = "Firefox";
  EXPECT_EQ(loadError(rig), LoadError::rekordboxNotRunning());
  EXPECT_TRUE(rig.input->events.empty());
}

TEST(RekordboxLoader, CancellingDuringAWaitStopsAndGivesBack) {
  Rig rig;
  std::stop_source stop;
  rig.onWait = [&] {
    if (rig.waits.size() == 3) stop.request_stop();
  };
  EXPECT_THROW(rig.load(2, stop.get_token()), LoadCancelled);
  EXPECT_TRUE(rig.input->eventsOf(Kind::click).empty());
  rig.expectGivenBack();
}

TEST(RekordboxLoader, HoldingStill) {
  struct Case {
    const char* name;
    std::function<Scene(int look)> script;
    std::optional<LoadError> expected;
    std::size_t looks;
  };
  const Scene there{{kOtherRow, kStrobeRow}};
  const Case cases[] = {
      {"a window that moved a point is a disagreement",
       [=](int look) {
         Scene scene = there;
         if (look == 1) scene.shift = {1, 0};
         return scene;
       },
       std::nullopt, 4},
      {"failed captures keep the reference",
       [=](int look) {
         Scene scene = there;
         scene.captureFails = look >= 1;
         return scene;
       },
       LoadError::resultsMoving(), 4},
      {"rows that keep moving", [=](int look) { return look % 2 ? Scene{{kStrobeRow}} : there; },
       LoadError::resultsMoving(), 4},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.input->front = kRekordboxPid;
    rig.script = c.script;
    if (c.expected) {
      rig.safetyAnswers = {"stop after one attempt"};
      EXPECT_EQ(loadError(rig), LoadError::becameUnsafe("stop after one attempt")) << c.name;
    } else {
      EXPECT_EQ(rig.load(), 1) << c.name;
    }
    EXPECT_EQ(rig.windows->captureCalls, int(c.looks + (c.expected ? 0 : 1))) << c.name;
  }
}

TEST(RekordboxLoader, VerifyingReasons) {
  struct Case {
    const char* name;
    std::vector<Track> library;
    Scene before;
    Scene after;
    std::string reason;
  };
  const Scene there{{kOtherRow, kStrobeRow}};
  const Case cases[] = {
      {"two matching rows",
       {kStrobe, kStrobeCopy},
       {{kStrobeRow, kStrobeRow}},
       {{kStrobeNoTime, kStrobeNoTime}},
       "2 rows fit"},
      {"no row", {kStrobe, kLevels}, there, {{kOtherRow}}, "row not found"},
      {"window moved", {kStrobe, kLevels}, there, {there.rows, {0, 3}}, "window moved"},
      {"another height", {kStrobe, kLevels}, there, {{kStrobeRow}}, "row at another height"},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.input->front = kRekordboxPid;
    rig.index = LibraryIndex(libraryOf(c.library));
    rig.script = [&](int look) { return look < 2 ? c.before : c.after; };
    rig.safetyAnswers = {"one attempt"};
    // The attempt ends with rowMoved, worth another one, so safety is asked.
    EXPECT_EQ(loadError(rig), LoadError::becameUnsafe("one attempt")) << c.name;
    EXPECT_EQ(rig.windows->captureCalls, 5) << c.name;
    EXPECT_EQ(std::count(rig.waits.begin(), rig.waits.end(), 0.22), 2) << c.name;
  }
  // The reason of the last failing look is the one thrown.
  Rig rig;
  rig.input->front = kRekordboxPid;
  rig.script = [](int look) {
    if (look < 2 || look % 5 < 2) return Scene{{kOtherRow, kStrobeRow}};
    return look % 5 == 4 ? Scene{{kOtherRow}} : Scene{{kStrobeRow}};
  };
  EXPECT_EQ(loadError(rig), LoadError::rowMoved("row not found"));
}

TEST(RekordboxLoader, UndoPressesTheUndoShortcut) {
  Rig rig;
  rig.loader().undoLastLoad();
  EXPECT_EQ(rig.keys(), std::vector<std::uint16_t>{6});
  EXPECT_EQ(rig.input->eventsOf(Kind::key)[0].flags, KeyFlags::command);
  EXPECT_TRUE(rig.input->eventsOf(Kind::move).empty());
  EXPECT_TRUE(rig.clipboard->textsSet.empty());
}

TEST(RekordboxLoader, SameRow) {
  struct Case {
    double height;
    double apart;
    bool same;
  };
  const Case cases[] = {
      {0.003, 0.0019, true}, {0.003, 0.002, false}, {0.02, 0.0099, true}, {0.02, 0.01, false}};
  for (const auto& c : cases) {
    const Rect reference{0.1, 0.5, 0.3, c.height};
    const Rect row{0.4, 0.5 + c.apart, 0.1, c.height};
    EXPECT_EQ(RekordboxLoader::sameRow(reference, row), c.same) << c.height << " " << c.apart;
  }
}

TEST(RekordboxLoader, FlagsAndRoles) {
  EXPECT_EQ(RekordboxLoader::flags({.key = 0, .shift = true, .command = true}), 0x120000u);
  EXPECT_EQ(RekordboxLoader::flags({.key = 0}), 0u);
  EXPECT_EQ(RekordboxLoader::flags(RekordboxKeys::search), 0x40000u);
  for (const auto* role : {"AXTextField", "AXTextArea", "AXSearchField", "AXComboBox"}) {
    EXPECT_TRUE(RekordboxLoader::isTextInput(role)) << role;
  }
  EXPECT_FALSE(RekordboxLoader::isTextInput("AXButton"));
  EXPECT_FALSE(RekordboxLoader::isTextInput("axtextfield"));
}

}  // namespace
}  // namespace kesta
