#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "watching_fixture.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

using UpdatesTest = WatchingFixture;

const std::vector<DeckContent> kBothLoaded{DeckContent::track("1"), DeckContent::track("2")};

std::set<Field> fieldsOf(const std::vector<ChangedFields>& notifications) {
  std::set<Field> fields;
  for (const auto changed : notifications) {
    for (unsigned bit = 0; bit < 64; ++bit) {
      if (changed.bits() & (std::uint64_t{1} << bit)) fields.insert(static_cast<Field>(bit));
    }
  }
  return fields;
}

TEST_F(UpdatesTest, AnIdenticalUpdatePublishesNothingAndWritesNothing) {
  connect();
  const EngineUpdate update = readingUpdate(kBothLoaded, focusOn(1, DeckContent::track("1"), 1));
  deliver(update);
  const auto ranked = rankings();
  notifications.clear();
  std::filesystem::remove(file("preferences.json"));
  std::filesystem::remove(file("active-set.json"));
  deliver(update);
  EXPECT_TRUE(notifications.empty());
  EXPECT_EQ(rankings(), ranked);
  EXPECT_FALSE(std::filesystem::exists(file("preferences.json")));
  EXPECT_FALSE(std::filesystem::exists(file("active-set.json")));
}

TEST_F(UpdatesTest, MirrorsArePublishedOnlyWhenWhatTheViewsShowChanges) {
  struct Row {
    const char* name;
    std::function<void(EngineUpdate&)> change;
    std::set<Field> published;
    bool reranks;
  };
  const Row rows[] = {
      {"fader 0.3 to 0.4",
       [](auto& u) {
         u.mixer[0] = MixerReading{0.4, true};
       },
       {},
       false},
      {"fader 0.4 to 0.6, now main",
       [](auto& u) {
         u.mixer[0] = MixerReading{0.6, true};
       },
       {Field::mixer},
       false},
      {"EQ turned, no longer main",
       [](auto& u) {
         u.mixer[0] = MixerReading{0.6, false};
       },
       {Field::mixer},
       false},
      {"fader closed, silent",
       [](auto& u) {
         u.mixer[0] = MixerReading{0.05, false};
       },
       {Field::mixer},
       false},
      {"deck 2 stopped 12 s", [](auto& u) { u.motion[1] = DeckMotion::stopped(12); }, {Field::motion}, false},
      {"deck 2 stopped 13 s", [](auto& u) { u.motion[1] = DeckMotion::stopped(13); }, {}, false},
      {"decks unreadable",
       [](auto& u) { u.health = ReaderHealth::cannotSeeDecks(3); },
       {Field::health},
       false},
      {"a change pending", [](auto& u) { u.pendingDecks = {2}; }, {Field::pendingDecks}, false},
      {"shown metadata adds nothing new",
       [](auto& u) {
         u.shown[1] = ShownMetadata{"1", "8A", 128};
       },
       {Field::shown},
       true},
      {"shown tempo moves, library has one", [](auto& u) { u.shown[1].bpm = 129; }, {}, false},
      {"tempo shown for a track without one",
       [](auto& u) {
         u.shown[2] = ShownMetadata{"3", std::nullopt, 127.9};
       },
       {Field::shown},
       true},
      {"same whole tempo", [](auto& u) { u.shown[2].bpm = 127.2; }, {}, false},
      {"deck 2 as read from the screen",
       [](auto& u) {
         u.screenTracks[2] = ScreenTrack{"Opus", "Eric Prydz", 126, std::nullopt};
       },
       {Field::screenTracks},
       true},
  };
  connect();
  EngineUpdate update = readingUpdate(kBothLoaded, focusOn(1, DeckContent::track("1"), 1));
  update.mixer = {MixerReading{0.3, true}, std::nullopt};
  deliver(update);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    row.change(update);
    notifications.clear();
    const auto ranked = rankings();
    deliver(update);
    const std::set<Field> rankingFields{Field::ranking, Field::lanes};
    std::set<Field> published = fieldsOf(notifications);
    for (const Field field : rankingFields) published.erase(field);
    EXPECT_EQ(published, row.published);
    EXPECT_EQ(rankings() > ranked, row.reranks);
  }
}

TEST_F(UpdatesTest, ANewFocusEmptiesTheLanesAndMeasuresTheLoadThatMovedIt) {
  connect();
  deliver(readingUpdate(kBothLoaded, focusOn(1, DeckContent::track("1"), 1)));
  EXPECT_EQ(model().pendingLatency(), std::nullopt);  // the first focus came from no load

  EngineUpdate twoLoads = readingUpdate({DeckContent::track("2"), DeckContent::track("3")},
                                        focusOn(2, DeckContent::track("3"), 2));
  twoLoads.events = {TrackerEvent::load(1, DeckContent::track("2"), DeckContent::track("1"), 10.5),
                     TrackerEvent::load(2, DeckContent::track("3"), DeckContent::track("2"), 11.25)};
  twoLoads.confirmedAt = 12;
  notifications.clear();
  const auto ranked = rankings();
  deliver(twoLoads);
  ASSERT_TRUE(model().pendingLatency());
  EXPECT_EQ(model().pendingLatency()->seq, 2u);
  EXPECT_EQ(model().pendingLatency()->evidenceAt, 11.25);
  EXPECT_EQ(model().pendingLatency()->confirmedAt, 12);
  EXPECT_EQ(model().focus(), twoLoads.focus);
  EXPECT_GE(notified(Field::lanes), 1);
  EXPECT_EQ(notified(Field::laneCursor), 1);
  EXPECT_GT(rankings(), ranked);

  // The same focus resolved to one version: lanes emptied again, the latency kept.
  EngineUpdate resolved = twoLoads;
  resolved.events.clear();
  resolved.focus->content = DeckContent::track("1");
  notifications.clear();
  deliver(resolved);
  EXPECT_EQ(model().focus(), resolved.focus);
  EXPECT_EQ(notified(Field::laneCursor), 1);
  ASSERT_TRUE(model().pendingLatency());
  EXPECT_EQ(model().pendingLatency()->evidenceAt, 11.25);

  // The focus moves without a load: nothing to measure.
  deliver(readingUpdate(resolved.decks, focusOn(1, DeckContent::track("2"), 3, FocusKind::audible)));
  EXPECT_EQ(model().pendingLatency(), std::nullopt);
}

TEST_F(UpdatesTest, AChangeOnTheOtherDeckRanksAgainWithoutEmptyingTheLanes) {
  connect();
  deliver(readingUpdate(kBothLoaded, focusOn(1, DeckContent::track("1"), 1)));
  executor->runAll();
  queue->drain();
  ASSERT_EQ(model().lanes().size(), 4u);
  notifications.clear();
  const auto ranked = rankings();
  deliver(readingUpdate({DeckContent::track("1"), DeckContent::track("3")},
                        focusOn(1, DeckContent::track("1"), 1)));
  EXPECT_GT(rankings(), ranked);
  EXPECT_EQ(notified(Field::decks), 1);
  EXPECT_EQ(notified(Field::laneCursor), 0);
  EXPECT_EQ(model().lanes().size(), 4u);
}

TEST_F(UpdatesTest, LoadsAndPlaysAreRecordedAndPlayedPairsCounted) {
  connect();
  EngineUpdate first = readingUpdate({DeckContent::track("1"), DeckContent::empty()},
                                     focusOn(1, DeckContent::track("1"), 1, FocusKind::initial));
  first.events = {TrackerEvent::initial(1, DeckContent::track("1")), TrackerEvent::playEvidence(1, "1")};
  deliver(first);
  EXPECT_EQ(store->activeSet(), model().activeSet());
  ASSERT_EQ(model().activeSet().events.size(), 2u);

  EngineUpdate second = readingUpdate(kBothLoaded, first.focus);
  second.events = {TrackerEvent::load(2, DeckContent::track("2"), DeckContent::empty(), 20),
                   TrackerEvent::playEvidence(2, "2"),
                   TrackerEvent::load(1, DeckContent::track("missing"), DeckContent::track("1"), 21)};
  deliver(second);
  EXPECT_EQ(model().activeSet().events.size(), 4u);  // the unknown track is not recorded
  EXPECT_EQ(store->activeSet(), model().activeSet());
  EXPECT_EQ(model().userData().playedPairs, (std::map<std::string, int>{{"meta:1>meta:2", 1}}));
  EXPECT_EQ(store->userData().playedPairs, model().userData().playedPairs);
  const auto entries = model().activeSet().entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_TRUE(entries[0].played && entries[1].played);
}

// While the remembered deck is being followed again the status says so; once
// the engine has answered and the start-up is decided, it says what came of it.
TEST_F(UpdatesTest, ARestartWithTheSameDecksFollowsTheRememberedDeck) {
  const std::string reconnecting = "Reconnecting\u2026";
  const std::string tapADeck =
      "Both decks were loaded when Kesta started. Tap the deck you're mixing from, or load your next track.";
  struct Row {
    const char* name;
    double age;
    std::vector<DeckContent> decksThen;
    bool engineRefuses;
    bool resumes;
    std::string statusWhileAsking;
    std::string statusAnswered;
  };
  const Row rows[] = {
      {"recent", 600, kBothLoaded, false, true, reconnecting, reconnecting},
      {"recent, refused by the engine", 600, kBothLoaded, true, false, reconnecting, tapADeck},
      {"an hour old", 3600, kBothLoaded, false, false, tapADeck, tapADeck},
      {"a deck changed",
       600,
       {DeckContent::track("1"), DeckContent::track("3")},
       false,
       false,
       tapADeck,
       tapADeck},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Preferences stored;
    stored.resumePoint = ResumePoint{row.decksThen, 2, wall->date.adding(-row.age)};
    store->savePreferences(stored);
    auto built = AppModel::create(ports());
    ModelProbe::install(*built, watchedLibrary());
    built->startWatching();
    FakeEngine& engine = *engines->last();
    engine.chooseDeckAnswer = [refuses = row.engineRefuses](int deck, FocusKind kind) {
      return refuses ? std::nullopt : std::optional(focusOn(deck, DeckContent::track("2"), 9, kind));
    };
    const EngineUpdate startup = readingUpdate(kBothLoaded, std::nullopt, TrackerPhase::ambiguousStartup);
    ASSERT_TRUE(engine.deliver(startup));
    EXPECT_EQ(built->followedAtStop(), std::nullopt);
    EXPECT_EQ(built->statusLine(), row.statusWhileAsking);
    queue->drain();
    EXPECT_EQ(built->statusLine(), row.statusAnswered);
    const bool asked = engine.calls.back() == "chooseDeck(2,resumed)";
    EXPECT_EQ(asked, row.resumes || row.engineRefuses);
    EXPECT_EQ(engine.calls.size(), asked ? 3u : 2u);
    if (!row.resumes) continue;
    ASSERT_TRUE(built->focus());
    EXPECT_EQ(built->focus()->kind, FocusKind::resumed);
    ASSERT_TRUE(engine.deliver(readingUpdate(kBothLoaded, built->focus())));
    EXPECT_EQ(built->statusLine(), "Following Deck 2, as before you reconnected.");
  }
}

TEST_F(UpdatesTest, TheResumePointIsRewrittenOnlyOnceItIsAMinuteOld) {
  connect();
  const Date start = wall->date;
  deliver(readingUpdate(kBothLoaded, focusOn(1, DeckContent::track("1"), 1)));
  ASSERT_TRUE(store->preferences().resumePoint);
  EXPECT_EQ(store->preferences().resumePoint->at, start);

  wall->date = start.adding(30);
  model().rememberFocus();
  EXPECT_EQ(model().followedAtStop()->at, wall->date);
  EXPECT_EQ(store->preferences().resumePoint->at, start);

  wall->date = start.adding(61);
  model().rememberFocus();
  EXPECT_EQ(store->preferences().resumePoint->at, wall->date);

  // Nothing is remembered while a deck is unknown.
  deliver(readingUpdate({DeckContent::track("1"), DeckContent::unknown()},
                        focusOn(1, DeckContent::track("1"), 1)));
  wall->date = start.adding(200);
  model().rememberFocus();
  EXPECT_EQ(store->preferences().resumePoint->at, start.adding(61));
}

TEST_F(UpdatesTest, DiagnosticsAreSavedAtOnceThenAtMostEveryFifteenSeconds) {
  connect();
  EngineUpdate update = readingUpdate(kBothLoaded, std::nullopt, TrackerPhase::ambiguousStartup);
  const Date start = wall->date;
  const std::pair<double, double> rows[] = {{0, 0}, {10, 0}, {15, 15}, {29, 15}, {31, 31}};
  for (const auto& [at, savedAt] : rows) {
    wall->date = start.adding(at);
    update.scan.seq += 1;
    deliver(update);
    EXPECT_EQ(model().diagnosticsSession().updatedAt, start.adding(savedAt)) << at;
  }
}

TEST_F(UpdatesTest, DeckCommandsGoThroughTheEngine) {
  FakeEngine& engine = connect();
  deliver(readingUpdate({DeckContent::track("1"), DeckContent::ambiguous({"2", "3"})},
                        focusOn(1, DeckContent::track("1"), 1)));
  engine.chooseDeckAnswer = [](int deck, FocusKind kind) {
    return focusOn(deck, DeckContent::ambiguous({"2", "3"}), 5, kind);
  };
  engine.resolveAnswer = [](int deck, const std::string& id) {
    return focusOn(deck, DeckContent::track(id), 5);
  };

  model().follow(2);
  queue->drain();
  EXPECT_EQ(engine.calls.back(), "chooseDeck(2,userChoice)");
  EXPECT_EQ(model().focus()->deck, 2);
  EXPECT_EQ(store->preferences().resumePoint->deck, 2);

  for (const int deck : {0, 3}) model().identify(deck, model().index().tracks()[2]);
  EXPECT_EQ(engine.calls.back(), "chooseDeck(2,userChoice)");  // out of range: nothing asked
  model().identify(2, model().index().tracks()[2]);
  queue->drain();
  EXPECT_EQ(engine.calls.back(), "resolve(2,3)");
  EXPECT_EQ(model().decks()[1], DeckContent::track("3"));
  EXPECT_EQ(model().focus()->content, DeckContent::track("3"));
  EXPECT_EQ(model().activeSet().events.back().kind, SetEvent::Kind::identified);
  EXPECT_EQ(store->activeSet(), model().activeSet());
}

TEST_F(UpdatesTest, AnAnswerOfAReplacedEngineChangesNothing) {
  FakeEngine& old = connect();
  deliver(readingUpdate(kBothLoaded, focusOn(1, DeckContent::track("1"), 1)));
  old.holdAnswers = true;
  old.chooseDeckAnswer = [](int deck, FocusKind kind) {
    return focusOn(deck, DeckContent::track("2"), 2, kind);
  };
  old.resolveAnswer = [](int deck, const std::string& id) {
    return focusOn(deck, DeckContent::track(id), 2);
  };
  model().follow(2);
  model().identify(2, model().index().tracks()[2]);
  model().stopWatching();
  connect();
  const auto setEvents = model().activeSet().events.size();
  old.releaseAnswers();
  queue->drain();
  EXPECT_EQ(model().focus(), std::nullopt);
  EXPECT_EQ(model().decks(), (std::vector<DeckContent>{DeckContent::unknown(), DeckContent::unknown()}));
  EXPECT_EQ(model().activeSet().events.size(), setEvents);
}

TEST_F(UpdatesTest, EachScansFrameAndGapAreKeptInTheDiagnostics) {
  connect();
  Frame frame;
  frame.seq = 1;
  frame.deck1.clockSeconds = 42;
  struct Row {
    std::optional<Frame> frame;
    std::optional<double> gapMs;
    std::size_t frames;
    std::vector<double> gaps;
  };
  const Row rows[] = {
      {frame, std::nullopt, 1, {}},
      {std::nullopt, 250.0, 1, {250.0}},
      {frame, 260.0, 2, {250.0, 260.0}},
  };
  for (const Row& row : rows) {
    EngineUpdate update = readingUpdate(kBothLoaded, std::nullopt);
    update.frame = row.frame;
    update.scanGapMs = row.gapMs;
    deliver(update);
    const DiagnosticsLog& log = model().diagnosticsSession().log;
    EXPECT_EQ(log.frames ? log.frames->size() : 0u, row.frames);
    EXPECT_EQ(std::vector<double>(log.loopGapsMs.begin(), log.loopGapsMs.end()), row.gaps);
  }
}

TEST_F(UpdatesTest, AnEjectOfTheFollowedDeckAloneIsShown) {
  connect();
  Focus focus = focusOn(1, DeckContent::track("1"), 1);
  deliver(readingUpdate(kBothLoaded, focus));
  EXPECT_EQ(model().statusLine(), "Following Deck 1, your latest load.");
  const auto ranked = rankings();
  focus.deckUnloaded = true;
  deliver(readingUpdate(kBothLoaded, focus));
  EXPECT_EQ(model().statusLine(),
            "Deck 1 was ejected. Still showing ideas for its last track until your next load.");
  EXPECT_EQ(rankings(), ranked);
}

// Naming the track on a deck keeps the ideas on screen until the new ones
// come; following another deck clears them at once.
TEST_F(UpdatesTest, IdentifyingKeepsTheLanesAndFollowingEmptiesThem) {
  FakeEngine& engine = connect();
  engine.resolveAnswer = [](int deck, const std::string& id) {
    return focusOn(deck, DeckContent::track(id), 1);
  };
  engine.chooseDeckAnswer = [](int deck, FocusKind kind) {
    return focusOn(deck, DeckContent::track("2"), 2, kind);
  };
  deliver(readingUpdate(kBothLoaded, focusOn(1, DeckContent::track("1"), 1)));
  const auto rank = [&] {
    executor->runJob(executor->pending() - 1);
    queue->drain();
  };
  rank();
  ASSERT_FALSE(model().lanes().empty());
  struct Row {
    const char* name;
    std::function<void()> command;
    bool lanesUntilRanked;
  };
  const Row rows[] = {
      {"identify", [&] { model().identify(2, model().index().tracks()[2]); }, true},
      {"follow", [&] { model().follow(2); }, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto ranked = rankings();
    row.command();
    queue->drain();
    EXPECT_GT(rankings(), ranked);
    EXPECT_EQ(!model().lanes().empty(), row.lanesUntilRanked);
    rank();
    EXPECT_FALSE(model().lanes().empty());
  }
}

TEST_F(UpdatesTest, TheSuggestionsShownAreSavedWithTheSet) {
  ModelProbe::install(
      model(), kesta::test::libraryOf({kesta::test::libraryTrack("1", "Strobe", "deadmau5", 128.0, "8A"),
                                       kesta::test::libraryTrack("2", "Ghosts", "deadmau5", 128.0, "8A")}));
  connect();
  deliver(
      readingUpdate({DeckContent::track("1"), DeckContent::empty()}, focusOn(1, DeckContent::track("1"), 1)));
  executor->runJob(executor->pending() - 1);
  queue->drain();
  const auto& events = model().activeSet().events;
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, SetEvent::Kind::shown);
  EXPECT_EQ(store->activeSet(), model().activeSet());
}

}  // namespace
}  // namespace kesta::test
