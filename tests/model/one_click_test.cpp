#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "load_status_printer.h"
#include "model/set_history_csv.h"
#include "model_fixture.h"
#include "model_probe.h"
#include "oneclick/browser_rows.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

Track track(std::string id, std::string title, std::string artist) {
  return test::libraryTrack(std::move(id), std::move(title), std::move(artist), std::nullopt, 124);
}

const Track kPlaying = track("1", "Velvet Thunder", "Kasimir Grey");
const Track kWanted = track("2", "Harbour Lights", "Mara Lind");
const Track kWantedAgain = track("3", "Harbour Lights", "Mara Lind");  // another entry of the same song
const Track kBefore = track("4", "Night Ferry", "Oslo Drift");
const Track kOther = track("5", "Copper Sky", "Ana Vey");

// Connected and following Deck 1; Deck 2 stopped with a track on it, so a
// load goes to Deck 2. Tests change the decks and hand the engine's next scan
// to the model.
class OneClickTest : public ModelFixture {
 protected:
  void SetUp() override {
    Library library;
    library.tracks = {kPlaying, kWanted, kWantedAgain, kBefore, kOther};
    ModelProbe::install(model(), library);
    model().setOneClickLoad(true);
    connect();
    scheduler->advance(20);  // past the notice of switching on
  }

  void connect() {
    model().startWatching();
    engine = engines->last();
    scan();
  }
  // One scan showing the decks as they stand in `decks`, `motion` and `mixer`.
  void scan() {
    EngineUpdate update;
    update.health = ReaderHealth::reading();
    update.phase = TrackerPhase::following;
    update.decks = decks;
    update.motion = motion;
    update.mixer = mixer;
    const auto deck = static_cast<std::size_t>(focusDeck - 1);
    update.focus = Focus{focusDeck, decks[deck], static_cast<std::uint64_t>(focusDeck), FocusKind::load};
    engine->deliver(update);
  }
  void showOnDeck2(DeckContent content, DeckMotion deckMotion, std::optional<MixerReading> reading = {}) {
    decks[1] = std::move(content);
    motion[1] = deckMotion;
    mixer[1] = reading;
    scan();
  }

  void click(const Track& track, Lane lane = Lane::groove) {
    model().load(Suggestion{lane, track, "why", {}});
  }
  // Loads kWanted; the loader answers with `attempt` and the deck then shows `content`.
  void loadOnto(DeckContent content, int attempt = 1) {
    click(kWanted);
    loader->succeed(attempt);
    showOnDeck2(std::move(content), DeckMotion::stopped(0));
    scheduler->advance(0.25);
  }

  // Every one-click record so far, oldest first.
  std::vector<std::string> records() {
    std::vector<std::string> lines;
    for (const auto& scan : model().diagnosticsSession().log.scans) {
      for (const auto& line : scan.events) {
        if (line.starts_with("one-click: ")) lines.push_back(line);
      }
    }
    return lines;
  }
  std::string lastRecord() { return records().empty() ? "" : records().back(); }
  std::size_t recordCount() { return records().size(); }

  std::vector<DeckContent> decks{DeckContent::track(kPlaying.id), DeckContent::track(kBefore.id)};
  std::vector<DeckMotion> motion{DeckMotion::running(), DeckMotion::stopped(3)};
  std::vector<std::optional<MixerReading>> mixer{std::nullopt, std::nullopt};
  int focusDeck = 1;
  std::shared_ptr<FakeEngine> engine;
};

TEST_F(OneClickTest, ClicksDoNothingWhileSwitchedOffOrWhileLoading) {
  model().setOneClickLoad(false);
  click(kWanted);
  EXPECT_TRUE(loader->loads.empty());
  EXPECT_EQ(recordCount(), 0);

  model().setOneClickLoad(true);
  click(kWanted);
  click(kOther);
  ASSERT_EQ(loader->loads.size(), 1);
  EXPECT_EQ(loader->loads[0].deck, 2);
  EXPECT_EQ(model().loadStatus(), LoadStatus::loading(kWanted.id, 2));
  EXPECT_EQ(clickThrough->ignoring, (std::set<ClickThrough::WindowID>{1, 2}));
  EXPECT_EQ(recordCount(), 0);
}

TEST_F(OneClickTest, FailureClearsAfterTenSecondsUnlessAnotherReplacedIt) {
  model().stopWatching();
  click(kWanted);
  EXPECT_EQ(model().loadStatus(), LoadStatus::failed("Connect to rekordbox first."));
  EXPECT_EQ(lastRecord(), "one-click: refused (Connect to rekordbox first.)");
  scheduler->advance(9.9);
  EXPECT_TRUE(model().loadStatus().is<LoadStatus::Failed>());
  scheduler->advance(0.1);
  EXPECT_EQ(model().loadStatus(), LoadStatus::idle());

  click(kWanted);
  scheduler->advance(5);
  model().undoLoad();  // nothing to undo: a failure with another text
  scheduler->advance(5);
  EXPECT_EQ(model().loadStatus(),
            LoadStatus::failed("Deck changed since the load, so Kesta didn't send Undo. "
                               "Use rekordbox's own Undo if needed."));
  scheduler->advance(5);
  EXPECT_EQ(model().loadStatus(), LoadStatus::idle());
}

TEST_F(OneClickTest, SecondClickWithinFourSecondsLoadsOverAPlayingDeck) {
  struct Case {
    double after;
    Track second;
    bool loads;
    std::string record;
  };
  const std::vector<Case> cases = {
      {3.9, kWanted, true, "one-click: confirmed-over-playing"},
      {3.9, kOther, true, "one-click: confirmed-over-playing-other-lane"},
      {4.1, kWanted, false, "one-click: confirm-asked"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    model().dismissLoadStatus();
    loader->loads.clear();
    showOnDeck2(DeckContent::track(kBefore.id), DeckMotion::running());
    click(kWanted);
    EXPECT_EQ(lastRecord(), "one-click: confirm-asked");
    EXPECT_EQ(model().notice(),
              "Deck 2 is still playing. If it's faded out, click Load again to load over it.");
    EXPECT_EQ(model().noticeShort(), "Deck 2 playing: click Load again to load.");
    EXPECT_TRUE(loader->loads.empty());
    scheduler->advance(c.after);
    click(c.second, Lane::pivot);
    EXPECT_EQ(lastRecord(), c.record);
    ASSERT_EQ(loader->loads.size(), c.loads ? 1 : 0);
    if (!c.loads) continue;
    // Confirmed over a running deck: the re-check lets it go on without a re-read.
    loader->askStillSafe();
    EXPECT_EQ(loader->stillSafeAnswers.back(), std::nullopt);
    loader->failWith(LoadError::notFound());
  }
  EXPECT_EQ(std::ranges::count(engine->calls, "confirmStopped(2)"), 0);
}

TEST_F(OneClickTest, StillSafeTakesTheDecisionAgainAndRereadsAStoppedDeck) {
  struct Case {
    std::string name;
    std::function<void()> change;
    std::optional<bool> reread;
    std::optional<std::string> answer;
  };
  const std::vector<Case> cases = {
      {"unchanged", [] {}, true, std::nullopt},
      {"readout moved", [] {}, false, "Deck 2 started playing."},
      {"readout unreadable", [] {}, std::nullopt, "Kesta couldn't re-read Deck 2's time readout."},
      {"focus moved",
       [this] {
         focusDeck = 2;
         scan();
       },
       true, "you loaded Deck 2 yourself."},
      {"stopped watching", [this] { model().stopWatching(); }, true, "Connect to rekordbox first."},
      {"fader up",
       [this] {
         showOnDeck2(DeckContent::track(kBefore.id), DeckMotion::running(), MixerReading{0.8, true});
       },
       true, "Deck 2's fader came up."},
      {"deck started", [this] { showOnDeck2(DeckContent::track(kBefore.id), DeckMotion::running()); }, true,
       "Deck 2 started playing."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    click(kWanted);
    c.change();
    engine->confirmStoppedAnswer = c.reread;
    loader->askStillSafe();
    queue->drain();
    EXPECT_EQ(loader->stillSafeAnswers.back(), c.answer);
    loader->failWith(LoadError::becameUnsafe(c.answer.value_or("-")));
    focusDeck = 1;
    motion[1] = DeckMotion::stopped(3);
    mixer[1] = std::nullopt;
    if (!model().watching()) connect();
    scan();
  }
}

TEST_F(OneClickTest, AReReadTheEngineNeverAnswersStillStopsTheLoad) {
  click(kWanted);
  engine->holdAnswers = true;
  loader->askStillSafe();
  model().stopWatching();
  engine->dropAnswers();
  queue->drain();
  ASSERT_EQ(loader->stillSafeAnswers.size(), 1);
  EXPECT_EQ(loader->stillSafeAnswers[0], "Kesta couldn't re-read Deck 2's time readout.");
}

TEST_F(OneClickTest, ALoadStillUnderWayWhenKestaClosesStops) {
  click(kWanted);
  modelPointer().reset();
  loader->askStillSafe();
  ASSERT_EQ(loader->stillSafeAnswers.size(), 1);
  EXPECT_EQ(loader->stillSafeAnswers[0], "Kesta closed.");
}

TEST_F(OneClickTest, VerificationJudgesWhatTheDeckShows) {
  struct Case {
    DeckContent shown;
    int attempt;
    LoadStatus status;
    std::optional<std::string> shortText;
    std::string record;
    bool clearedAfter12s;
  };
  const LoadStatus loaded = LoadStatus::done("Loaded \u2068Harbour Lights\u2069 on Deck 2.", true);
  const std::vector<Case> cases = {
      {DeckContent::track(kWanted.id), 1, loaded, {}, "one-click: loaded", true},
      {DeckContent::track(kWantedAgain.id), 2, loaded, {}, "one-click: loaded (on try 2)", true},
      {DeckContent::ambiguous({kWantedAgain.id, kWanted.id}), 1, loaded, {}, "one-click: loaded", true},
      {DeckContent::track(kOther.id), 1,
       LoadStatus::done("Deck 2 got \u2068Copper Sky\u2069, not \u2068Harbour Lights\u2069. Undo it?", true),
       "Deck 2 got a different track. Undo it?", "one-click: wrong-track-landed", false},
      {DeckContent::track("99"), 1,
       LoadStatus::done("Deck 2 got another track, not \u2068Harbour Lights\u2069. Undo it?", true),
       "Deck 2 got a different track. Undo it?", "one-click: wrong-track-landed", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    showOnDeck2(DeckContent::track(kBefore.id), DeckMotion::stopped(3));
    model().dismissLoadStatus();
    loadOnto(c.shown, c.attempt);
    EXPECT_TRUE(clickThrough->ignoring.empty());
    EXPECT_EQ(model().loadStatus(), c.status);
    EXPECT_EQ(model().loadStatusShort(), c.shortText);
    EXPECT_EQ(lastRecord(), c.record);
    scheduler->advance(12);
    EXPECT_EQ(model().loadStatus().is<LoadStatus::Idle>(), c.clearedAfter12s);
  }
  // The ambiguous deck was named for the engine.
  EXPECT_EQ(std::ranges::count(engine->calls, "resolve(2,2)"), 1);
}

// Kesta's own line names the track set apart in its direction; what is typed
// into rekordbox's search and what the set history's CSV holds are the bare title.
TEST_F(OneClickTest, DirectionMarksStayOutOfTheSearchAndTheSetHistory) {
  click(kWanted);
  ASSERT_EQ(loader->loads.size(), 1u);
  EXPECT_EQ(loader->loads[0].track.title, "Harbour Lights");
  loader->succeed();
  EngineUpdate update;
  update.health = ReaderHealth::reading();
  update.phase = TrackerPhase::following;
  decks[1] = DeckContent::track(kWanted.id);
  update.decks = decks;
  update.focus = Focus{1, decks[0], 1, FocusKind::load};
  update.events = {TrackerEvent::load(2, decks[1], DeckContent::track(kBefore.id), 5)};
  engine->deliver(update);
  scheduler->advance(0.25);
  EXPECT_EQ(model().loadStatus(), LoadStatus::done("Loaded \u2068Harbour Lights\u2069 on Deck 2.", true));
  const std::string csv = setHistoryCsv(model().activeSet().entries());
  EXPECT_NE(csv.find("\"Harbour Lights\",\"Mara Lind\""), std::string::npos) << csv;
  EXPECT_EQ(csv.find("\u2068"), std::string::npos) << csv;
}

TEST_F(OneClickTest, TrackNotSeenWithinSixSecondsFails) {
  click(kWanted);
  loader->succeed();
  scheduler->advance(3);
  showOnDeck2(DeckContent::empty(), DeckMotion::empty());
  scheduler->advance(2.75);
  EXPECT_TRUE(model().isLoading());
  scheduler->advance(0.25);
  EXPECT_EQ(model().loadStatus(),
            LoadStatus::failed("rekordbox didn't show \u2068Harbour Lights\u2069 on Deck 2 within 6 s. "
                               "Check Deck 2; rekordbox's Undo is Ctrl+Z."));
  EXPECT_EQ(model().loadStatusShort(), "Not seen on Deck 2. Check it; Ctrl+Z undoes.");
  EXPECT_EQ(lastRecord(), "one-click: not-seen-on-deck");
  scheduler->advance(10);
  EXPECT_EQ(model().loadStatus(), LoadStatus::idle());
}

TEST_F(OneClickTest, UndoIsSentOnlyWhileTheDeckStillShowsTheLoad) {
  loadOnto(DeckContent::track(kOther.id));
  showOnDeck2(DeckContent::track(kBefore.id), DeckMotion::stopped(1));
  model().undoLoad();
  EXPECT_EQ(lastRecord(), "one-click: undo-withheld");
  EXPECT_EQ(model().loadStatusShort(), "Deck changed, so Kesta didn't send Undo.");
  EXPECT_TRUE(loader->undos.empty());

  showOnDeck2(DeckContent::track(kOther.id), DeckMotion::stopped(1));
  model().undoLoad();  // the verified load is still remembered
  ASSERT_EQ(loader->undos.size(), 1);
  loader->finishUndo();
  EXPECT_EQ(lastRecord(), "one-click: undo-sent");
  EXPECT_EQ(model().loadStatus(), LoadStatus::done("Asked rekordbox to undo the load.", false));
  model().undoLoad();  // sent once: nothing left to undo
  EXPECT_EQ(lastRecord(), "one-click: undo-withheld");
}

TEST_F(OneClickTest, FailedUndoIsRecordedWithTheErrorsCode) {
  const std::vector<std::pair<LoadFailure, std::string>> cases = {
      {{LoadError::notFrontmost(), LoadError::notFrontmost().errorDescription()},
       "one-click: undo-not-frontmost"},
      {{std::nullopt, "Input failed."}, "one-click: undo-error"},
  };
  for (const auto& [failure, record] : cases) {
    showOnDeck2(DeckContent::track(kBefore.id), DeckMotion::stopped(3));
    model().dismissLoadStatus();
    loadOnto(DeckContent::track(kWanted.id));
    model().undoLoad();
    loader->finishUndo(failure);
    EXPECT_EQ(lastRecord(), record);
    EXPECT_EQ(model().loadStatus(), LoadStatus::failed(failure.description));
  }
}

TEST_F(OneClickTest, NewLoadCancelsTheOldVerificationSilently) {
  click(kWanted);
  loader->succeed();
  model().dismissLoadStatus();
  click(kOther);
  const std::size_t records = recordCount();
  showOnDeck2(DeckContent::track(kWanted.id), DeckMotion::stopped(0));
  scheduler->advance(30);
  EXPECT_EQ(recordCount(), records);
  EXPECT_EQ(model().loadStatus(), LoadStatus::loading(kOther.id, 2));
}

TEST_F(OneClickTest, RefusesWhenTheKeysDifferOrAccessibilityIsMissing) {
  keyPreset->result = KeyPreset::Differs{"DJ Custom", {"Load track to Deck 1", "Undo track load"}};
  click(kWanted);
  EXPECT_EQ(lastRecord(), "one-click: keys-differ");
  EXPECT_EQ(
      model().loadStatus(),
      LoadStatus::failed("Your rekordbox keyboard preset (DJ Custom) uses different keys for Load track to "
                         "Deck 1, Undo track load. One-click load needs rekordbox's default shortcuts."));
  EXPECT_EQ(model().loadStatusShort(), "rekordbox shortcuts differ. See Full.");

  keyPreset->result = KeyPreset::Unknown{"no settings"};
  loader->authorized = false;
  const int requests = loader->authorizationRequests;
  click(kWanted);
  EXPECT_EQ(lastRecord(), "one-click: accessibility-needed");
  EXPECT_EQ(loader->authorizationRequests, requests + 1);
  EXPECT_EQ(model().loadStatus(), LoadStatus::failed(LoadError::accessibilityNeeded().errorDescription()));
  EXPECT_EQ(model().loadStatusShort(), std::nullopt);
  EXPECT_TRUE(loader->loads.empty());
  EXPECT_TRUE(clickThrough->ignoring.empty());

  model().allowOneClick();
  EXPECT_EQ(loader->authorizationRequests, requests + 2);
  EXPECT_EQ(urls->opened.back(),
            "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility");
}

TEST_F(OneClickTest, WindowsGetTheMouseBackAfterAThrow) {
  loader->throwOnLoad = std::make_exception_ptr(std::runtime_error("The loader's thread is gone."));
  click(kWanted);
  EXPECT_TRUE(clickThrough->ignoring.empty());
  EXPECT_EQ(model().loadStatus(), LoadStatus::failed("The loader's thread is gone."));
  EXPECT_EQ(lastRecord(), "one-click: error");
}

struct LoaderFailureCase {
  std::optional<LoadError> error;
  std::string record;
};

void PrintTo(const LoaderFailureCase& c, std::ostream* out) { *out << c.record; }

class LoaderFailureTest : public OneClickTest, public ::testing::WithParamInterface<LoaderFailureCase> {};

TEST_P(LoaderFailureTest, IsRecordedShownAndGivesTheMouseBack) {
  const LoaderFailureCase& c = GetParam();
  std::optional<std::string> shortWhenTold;
  model().addListener([&](ChangedFields fields) {
    if (fields.contains(Field::loadStatus)) shortWhenTold = model().loadStatusShort();
  });
  click(kWanted);
  if (c.error) {
    loader->failWith(*c.error);
  } else {
    loader->failWith("The input device went away.");
  }
  EXPECT_EQ(lastRecord(), c.record);
  EXPECT_EQ(model().loadStatus(),
            LoadStatus::failed(c.error ? c.error->errorDescription() : "The input device went away."));
  EXPECT_EQ(model().loadStatusShort(), c.error ? std::optional(c.error->shortDescription()) : std::nullopt);
  EXPECT_EQ(shortWhenTold, model().loadStatusShort()) << "the views were not told of the short text";
  EXPECT_TRUE(clickThrough->ignoring.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryCode, LoaderFailureTest,
    ::testing::Values(
        LoaderFailureCase{LoadError::ambiguous(2), "one-click: rows-ambiguous"},
        LoaderFailureCase{LoadError::becameUnsafe("Deck 2 started playing."),
                          "one-click: became-unsafe (Deck 2 started playing.)"},
        LoaderFailureCase{LoadError::rowMoved("title read as Harbor Light"),
                          "one-click: row-moved (after 3 tries, check saw: title read as Harbor Light)"},
        LoaderFailureCase{LoadError::accessibilityNeeded(), "one-click: accessibility-needed"},
        LoaderFailureCase{LoadError::rekordboxNotRunning(), "one-click: rekordbox-not-running"},
        LoaderFailureCase{LoadError::windowNotVisible(), "one-click: window-not-visible"},
        LoaderFailureCase{LoadError::notFound(), "one-click: row-not-found (after 3 tries)"},
        LoaderFailureCase{LoadError::eventFailed(), "one-click: event-failed"},
        LoaderFailureCase{LoadError::searchNotFocused(), "one-click: search-not-focused (after 3 tries)"},
        LoaderFailureCase{LoadError::notFrontmost(), "one-click: not-frontmost (after 3 tries)"},
        LoaderFailureCase{LoadError::resultsMoving(), "one-click: results-moving (after 3 tries)"},
        LoaderFailureCase{std::nullopt, "one-click: error"}),
    [](const ::testing::TestParamInfo<LoaderFailureCase>& info) {
      std::string name;
      for (const char c : info.param.record.substr(std::string("one-click: ").size())) {
        if (c == ' ') break;
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
      }
      return name;
    });

}  // namespace
}  // namespace kesta::test
