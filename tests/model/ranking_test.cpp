#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "model_fixture.h"
#include "ranking_probe.h"
#include "suggest/set_ledger.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

Track track(const std::string& id, std::optional<double> bpm, const std::string& title = "") {
  Track track;
  track.id = id;
  track.key = StableKey{"k:" + id};
  track.source = Source::local();
  track.title = title.empty() ? "Title " + id : title;
  track.artist = "Artist " + id;
  track.bpm = bpm;
  return track;
}

// Against "cur" at 120 BPM: three tracks keep the groove, two raise the
// energy, one is a breather; "nobpm" can never be suggested.
Library fixtureLibrary() {
  Library library;
  library.tracks = {track("cur", 120), track("g1", 119), track("g2", 120.5), track("g3", 121),
                    track("r1", 124),  track("r2", 125), track("b1", 112),   track("nobpm", std::nullopt)};
  library.playlists = {{"p1", "Warm up", {}, {"cur", "g1", "g2", "nobpm"}},
                       {"p2", "Peak", {}, {"g2", "g3", "r1", "g2"}}};
  library.sourceFileName = "collection.xml";
  return library;
}

// A monotonic clock that answers the given readings first.
class ScriptedClock : public FakeMonotonicClock {
 public:
  double now() const override {
    if (readings.empty()) return seconds;
    const double reading = readings.front();
    readings.pop_front();
    return reading;
  }
  mutable std::deque<double> readings;
};

class RankingTest : public ModelFixture {
 protected:
  AppModel& ready() {
    model();
    executor->runAll();  // the launch's restore, which finds nothing stored
    queue->drain();
    RankingProbe::install(model(), fixtureLibrary());
    RankingProbe::setDeck(model(), 1, DeckContent::track("cur"));
    return model();
  }
  // Runs the newest background job and hands its result to the main thread.
  void settle() {
    executor->runJob(executor->pending() - 1);
    queue->drain();
  }
  std::vector<std::string> optionIDs(Lane lane) {
    std::vector<std::string> ids;
    for (const LaneResult& result : model().lanes()) {
      if (result.lane != lane) continue;
      for (const Suggestion& option : result.options) ids.push_back(option.track.id);
    }
    return ids;
  }
  bool suggestedAnywhere(const std::string& id) {
    for (const Lane lane : Lane::allCases()) {
      const auto ids = optionIDs(lane);
      if (std::find(ids.begin(), ids.end(), id) != ids.end()) return true;
    }
    return false;
  }
  int events(SetEvent::Kind kind, std::optional<Lane> lane = std::nullopt) {
    const auto& all = RankingProbe::set(model()).events;
    return static_cast<int>(std::count_if(all.begin(), all.end(), [&](const SetEvent& event) {
      return event.kind == kind && (!lane || event.lane == lane);
    }));
  }
  const DiagnosticsLog& log() { return model().diagnosticsSession().log; }
};

// How two rankings of one focus, or one ranking and a focus change, meet on
// the main thread.
enum class Race { newerReleasedFirst, olderHandedBackFirst, focusMovedOn };

class StaleRankingTest : public RankingTest, public ::testing::WithParamInterface<Race> {};

TEST_P(StaleRankingTest, OnlyTheNewestRankingOfTheCurrentFocusIsPublished) {
  ready();
  RankingProbe::focus(model(), 1, 7);  // ranks over the whole collection
  switch (GetParam()) {
    case Race::newerReleasedFirst:  // the older one is cancelled before it can hop back
      model().setPoolID("playlist:p2");
      settle();
      settle();
      break;
    case Race::olderHandedBackFirst:  // too late to cancel: caught by the generation
      executor->runJob(executor->pending() - 1);
      model().setPoolID("playlist:p2");
      settle();
      break;
    case Race::focusMovedOn:  // ranked under seq 7, back after the focus became seq 8 unranked
      executor->runJob(executor->pending() - 1);
      RankingProbe::moveFocus(model(), 8);
      queue->drain();
      break;
  }
  const bool published = GetParam() != Race::focusMovedOn;
  EXPECT_EQ(log().summary.staleResultsDiscarded, GetParam() == Race::newerReleasedFirst ? 0 : 1);
  EXPECT_EQ(log().rankMs.size(), published ? 1u : 0u);
  // Whichever way the race went, no ranking is left running.
  EXPECT_FALSE(model().ranking());
  // Only the newer ranking knows the pool of "Peak".
  const std::vector<std::string> peakGroove{"g2", "g3"};
  EXPECT_EQ(optionIDs(Lane::groove), published ? peakGroove : std::vector<std::string>());
}

std::string raceName(const ::testing::TestParamInfo<Race>& info) {
  switch (info.param) {
    case Race::newerReleasedFirst:
      return "NewerReleasedFirst";
    case Race::olderHandedBackFirst:
      return "OlderHandedBackFirst";
    case Race::focusMovedOn:
      return "FocusMovedOn";
  }
  return "";
}

INSTANTIATE_TEST_SUITE_P(Races, StaleRankingTest,
                         ::testing::Values(Race::newerReleasedFirst, Race::olderHandedBackFirst,
                                           Race::focusMovedOn),
                         raceName);

TEST_F(RankingTest, NoCurrentTrackEmptiesTheLanesWithoutATask) {
  ready();
  RankingProbe::focus(model(), 1, 1);
  settle();
  ASSERT_FALSE(model().lanes().empty());
  RankingProbe::setDeck(model(), 1, DeckContent::unmatched("Unknown song"));  // no screen track for it
  RankingProbe::focus(model(), 1, 2);
  EXPECT_TRUE(model().lanes().empty());
  EXPECT_FALSE(model().ranking());
  EXPECT_EQ(executor->pending(), 0u);
}

// The prepared pool is kept per library: a new install with the same pool id
// must not rank from the old tracks.
TEST_F(RankingTest, ANewLibraryIsRankedFromItsOwnTracks) {
  ready();
  RankingProbe::focus(model(), 1, 1);
  settle();
  ASSERT_EQ(optionIDs(Lane::groove).size(), 3u);
  Library smaller = fixtureLibrary();
  std::erase_if(smaller.tracks, [](const Track& track) { return track.id == "g1"; });
  RankingProbe::install(model(), smaller);
  RankingProbe::focus(model(), 1, 2);
  settle();
  EXPECT_EQ(optionIDs(Lane::groove).size(), 2u);
  EXPECT_FALSE(suggestedAnywhere("g1"));
}

TEST_F(RankingTest, ALoadsLatencyIsRecordedOnceByItsFirstFreshRanking) {
  auto clock = std::make_shared<ScriptedClock>();
  monotonic = clock;
  ready();
  RankingProbe::focus(model(), 1, 7, AppModel::PendingLatency{7, 100.0, 101.5});
  clock->readings = {101.6, 101.7};  // the ranking's start and finish
  clock->seconds = 101.75;           // published
  settle();
  ASSERT_EQ(log().latencies.size(), 1u);
  const LoadLatency& latency = log().latencies.front();
  EXPECT_EQ(latency.seq, 7u);
  EXPECT_EQ(latency.deck, 1);
  EXPECT_NEAR(latency.evidenceToConfirmMs, 1500, 1e-6);
  EXPECT_NEAR(latency.confirmToRankMs, 200, 1e-6);
  EXPECT_NEAR(latency.rankToPublishMs, 50, 1e-6);
  EXPECT_THAT(log().rankMs, ElementsAre(::testing::DoubleNear(100, 1e-6)));
  EXPECT_FALSE(model().pendingLatency());

  RankingProbe::scheduleRanking(model());
  settle();
  EXPECT_EQ(log().latencies.size(), 1u);
  EXPECT_EQ(log().rankMs.size(), 2u);
}

TEST_F(RankingTest, NextOptionCyclesAndLogsEachOptionOncePerFocus) {
  ready();
  RankingProbe::focus(model(), 1, 1);
  settle();
  const std::vector<std::string> groove = optionIDs(Lane::groove);
  ASSERT_EQ(groove.size(), 3u);
  EXPECT_EQ(events(SetEvent::Kind::shown, Lane::groove), 1);
  std::vector<std::string> seen;
  for (int step = 0; step < 4; ++step) {
    model().nextOption(Lane::groove);
    seen.push_back(model().suggestion(Lane::groove)->track.id);
  }
  EXPECT_THAT(seen, ElementsAre(groove[1], groove[2], groove[0], groove[1]));
  EXPECT_EQ(events(SetEvent::Kind::shown, Lane::groove), 3);

  const int cursorNotices = notified(Field::laneCursor);
  model().nextOption(Lane::breather);  // a single option: nothing happens
  EXPECT_EQ(notified(Field::laneCursor), cursorNotices);
  EXPECT_EQ(model().suggestion(Lane::breather)->track.id, "b1");

  RankingProbe::focus(model(), 1, 2);  // the same track, a new focus: logged again
  settle();
  EXPECT_EQ(model().suggestion(Lane::groove)->track.id, groove[0]);
  EXPECT_EQ(events(SetEvent::Kind::shown, Lane::groove), 4);
}

TEST_F(RankingTest, ADismissedTrackStaysHiddenUntilUndoOrReplay) {
  ready();
  RankingProbe::focus(model(), 1, 1);
  settle();
  const Suggestion first = *model().suggestion(Lane::groove);
  model().dismiss(first);
  settle();
  EXPECT_FALSE(suggestedAnywhere(first.track.id));
  EXPECT_EQ(model().lastDismissed(), first.track);
  EXPECT_EQ(model().notice(), "Hid \u2068" + first.track.title + "\u2069 for this set.");
  EXPECT_EQ(model().noticeShort(), "Hidden for the rest of this set.");

  scheduler->advance(5);
  model().undoDismiss();
  settle();
  EXPECT_TRUE(suggestedAnywhere(first.track.id));
  EXPECT_FALSE(model().lastDismissed());
  EXPECT_FALSE(model().notice());
  EXPECT_EQ(events(SetEvent::Kind::dismissed), 0);
  scheduler->advance(10);  // the notice's own clear finds nothing to do
  EXPECT_FALSE(model().notice());

  model().dismiss(*model().suggestion(Lane::groove));
  settle();
  EXPECT_TRUE(model().canReplay());
  model().replayTracks();
  settle();
  EXPECT_TRUE(suggestedAnywhere(first.track.id));
  EXPECT_FALSE(model().canReplay());
}

// Each dismissal offers its undo for a full 8 seconds, whatever came before.
TEST_F(RankingTest, TheUndoOfTheLatestDismissalLastsEightSeconds) {
  ready();
  RankingProbe::focus(model(), 1, 1);
  settle();
  const Suggestion a = *model().suggestion(Lane::groove);
  const Suggestion b = *model().suggestion(Lane::raise);
  const struct {
    const char* name;
    bool undoFirst;
    const Suggestion& second;
  } cases[] = {{"A, undo, A again", true, a}, {"A, then B", false, b}};
  for (const auto& c : cases) {
    model().dismiss(a);
    scheduler->advance(5);
    if (c.undoFirst) model().undoDismiss();
    model().dismiss(c.second);
    scheduler->advance(7.9);  // A's timer has fired
    EXPECT_EQ(model().lastDismissed(), c.second.track) << c.name;
    scheduler->advance(0.1);
    EXPECT_FALSE(model().lastDismissed()) << c.name;
    model().replayTracks();
  }
}

TEST_F(RankingTest, RatingIsStoredAsGivenAndRanksAgain) {
  ready();
  const Track rated = *model().track(1);
  model().rate(rated, 4);
  model().rate(rated, 0);
  EXPECT_EQ(store->userData().ratings, (std::map<std::string, int>{{"k:cur", 0}}));
  EXPECT_EQ(model().rating(rated), 0);
  EXPECT_EQ(executor->pending(), 0u);  // nothing is followed: no task

  RankingProbe::focus(model(), 1, 1);
  const std::size_t jobs = executor->pending();
  model().rate(ScreenTrack{"Live edit", "", 120, std::nullopt}.asTrack("live edit"), 5);
  EXPECT_EQ(executor->pending(), jobs);
  EXPECT_EQ(store->userData().ratings.size(), 1u);
}

TEST_F(RankingTest, EndingASetArchivesItNewestFirstAndStartsAFreshOne) {
  std::vector<DJSet> older;
  for (int i = 0; i < 100; ++i) older.push_back(DJSet::started(wall->date.adding(-86400.0 * (i + 1))));
  store->saveArchivedSets(older);
  ready();
  const std::string untouchedID = RankingProbe::set(model()).id;
  model().endSet();  // nothing happened in it: not archived
  EXPECT_EQ(model().archivedSets().size(), 100u);
  EXPECT_NE(RankingProbe::set(model()).id, untouchedID);

  RankingProbe::focus(model(), 1, 1);
  settle();
  const Suggestion hidden = *model().suggestion(Lane::groove);
  model().dismiss(hidden);
  settle();
  const std::string endedID = RankingProbe::set(model()).id;
  scheduler->advance(60);
  model().endSet();
  settle();
  ASSERT_EQ(model().archivedSets().size(), 101u);
  EXPECT_EQ(model().archivedSets().front().id, endedID);
  EXPECT_EQ(model().archivedSets().front().endedAt, wall->date);
  const std::vector<DJSet> stored = store->archivedSets();
  ASSERT_EQ(stored.size(), 100u);
  EXPECT_EQ(stored.front().id, endedID);
  EXPECT_EQ(stored.back().id, older[98].id);
  EXPECT_NE(RankingProbe::set(model()).id, endedID);
  EXPECT_EQ(events(SetEvent::Kind::dismissed), 0);
  EXPECT_TRUE(suggestedAnywhere(hidden.track.id));
}

TEST_F(RankingTest, APoolChoiceIsRememberedPerLibraryFile) {
  model().setPoolID("regulars");  // no library yet: ranked, not remembered
  EXPECT_TRUE(store->preferences().poolByLibrary.empty());
  ready();
  RankingProbe::focus(model(), 1, 1);
  const std::size_t jobs = executor->pending();
  model().setPoolID("playlist:p1");
  model().setPoolID("playlist:p1");  // unchanged: nothing more
  EXPECT_EQ(store->preferences().poolByLibrary,
            (std::map<std::string, std::string>{{"collection.xml", "playlist:p1"}}));
  EXPECT_EQ(executor->pending(), jobs + 1);
}

TEST_F(RankingTest, TogglingPlaylistsBuildsThePoolAndItsLabel) {
  ready();
  const struct {
    const char* toggle;
    const char* pool;
    const char* label;
  } steps[] = {
      {"p2", "playlist:p2", "\u2068Peak\u2069 · 3"},
      {"p1", "playlists:p1,p2", "2 playlists · 5"},  // g2 is in both; "nobpm" is not suggestible
      {"p2", "playlist:p1", "\u2068Warm up\u2069 · 3"},
      {"p1", "all", "Full collection · 7"},
  };
  for (const auto& step : steps) {
    model().togglePlaylist(step.toggle);
    EXPECT_EQ(model().poolID(), step.pool) << step.toggle;
    EXPECT_EQ(model().poolLabel(), step.label) << step.toggle;
  }
  model().setPoolID("playlist:gone");
  EXPECT_EQ(model().poolLabel(), "Full collection");
}

TEST_F(RankingTest, TheTracksOnTheDecks) {
  Library library = fixtureLibrary();
  library.tracks.push_back(track("bare", std::nullopt, "Bare"));
  RankingProbe::install(model(), library);
  const ScreenTrack screen{"Bootleg", "Someone", 126, "8A"};
  RankingProbe::setScreenTrack(model(), 2, screen);
  RankingProbe::setShown(model(), 1, ShownMetadata{"bare", "5A", 122.0});

  RankingProbe::setDeck(model(), 1, DeckContent::track("bare"));
  RankingProbe::focus(model(), 1, 1);
  const Track filled = *model().currentTrack();
  EXPECT_EQ(filled.bpm, 122.0);
  EXPECT_EQ(filled.keyText, "5A");
  EXPECT_FALSE(model().track(1)->bpm);  // the library track as it is

  RankingProbe::setDeck(model(), 2, DeckContent::unmatched("Bootleg Someone"));
  RankingProbe::focus(model(), 2, 2);
  EXPECT_EQ(model().currentTrack(), screen.asTrack("Bootleg Someone"));
  EXPECT_TRUE(ScreenTrack::isScreenTrack(*model().currentTrack()));
  EXPECT_FALSE(model().track(2));

  for (const DeckContent& content :
       {DeckContent::unmatched("No screen track"), DeckContent::track("missing"),
        DeckContent::ambiguous({"g1", "missing", "cur"}), DeckContent::empty()}) {
    RankingProbe::setDeck(model(), 1, content);
    RankingProbe::focus(model(), 1, 3);
    EXPECT_FALSE(model().currentTrack()) << content.caseName();
  }
  std::vector<std::string> candidates;
  RankingProbe::setDeck(model(), 1, DeckContent::ambiguous({"g1", "missing", "cur"}));
  for (const Track& candidate : model().candidates(1)) candidates.push_back(candidate.id);
  EXPECT_THAT(candidates, ElementsAre("g1", "cur"));
  EXPECT_TRUE(model().candidates(2).empty());
}

// Against "cur", groove ranks g2 first, then g1 and g3 alike. Each input of
// the request moves that first place or hides a track: the other deck's
// track, another entry of its song, a recent artist, the DJ's rating and a
// pair played before.
TEST_F(RankingTest, WhatTheSetAndTheDJHaveDoneChangesTheRanking) {
  Library library = fixtureLibrary();
  Track sameSong = track("g2b", 150, "Title g2");
  sameSong.artist = "Artist g2";
  Track sameArtist = track("x", 90);
  sameArtist.artist = "Artist g2";
  library.tracks.push_back(sameSong);
  library.tracks.push_back(sameArtist);
  struct Row {
    const char* name;
    std::function<void(UserData&, SetLedger&)> stored;
    std::function<void(AppModel&)> now;
    std::string grooveFirst;
    std::string hidden;  // suggested in no lane
  };
  const auto none = [](UserData&, SetLedger&) {};
  const auto nothing = [](AppModel&) {};
  const Row rows[] = {
      {"nothing else", none, nothing, "g2", ""},
      {"g2 on the other deck", none,
       [](AppModel& m) { RankingProbe::setDeck(m, 2, DeckContent::track("g2")); }, "g1", "g2"},
      {"g2's song on the other deck", none,
       [](AppModel& m) { RankingProbe::setDeck(m, 2, DeckContent::track("g2b")); }, "g1", "g2"},
      {"g2's artist loaded last", [&](UserData&, SetLedger& set) { set.loaded(sameArtist, 2, wall->date); },
       nothing, "g1", ""},
      {"g3 rated five stars", none, [](AppModel& m) { m.rate(*m.index().track("g3"), 5); }, "g3", ""},
      {"g3 played after cur before", [](UserData& data, SetLedger&) { data.playedPairs["k:cur>k:g3"] = 1; },
       nothing, "g3", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    modelPointer().reset();
    UserData data;
    SetLedger set(DJSet::started(wall->date));
    row.stored(data, set);
    store->saveUserData(data);
    store->saveActiveSet(set.set());
    store->flush();
    ready();
    RankingProbe::install(model(), library);
    row.now(model());
    RankingProbe::focus(model(), 1, 1);
    settle();
    const auto groove = optionIDs(Lane::groove);
    ASSERT_FALSE(groove.empty());
    EXPECT_EQ(groove.front(), row.grooveFirst);
    EXPECT_TRUE(row.hidden.empty() || !suggestedAnywhere(row.hidden));
  }
}

TEST_F(RankingTest, AnEmptyLaneWithoutAShortTextGivesItsReasonForBoth) {
  ready();
  RankingProbe::setLanes(model(), {{Lane::groove, {}, "Nothing within 6% of this tempo.", std::nullopt},
                                   {Lane::raise, {}, "No faster track shares its key.", "No faster match."},
                                   {Lane::breather, {}, std::nullopt, std::nullopt}});
  struct Row {
    Lane lane;
    std::optional<std::string> reason;
    std::optional<std::string> brief;
  };
  const Row rows[] = {
      {Lane::groove, "Nothing within 6% of this tempo.", "Nothing within 6% of this tempo."},
      {Lane::raise, "No faster track shares its key.", "No faster match."},
      {Lane::breather, std::nullopt, std::nullopt},
      {Lane::pivot, std::nullopt, std::nullopt},  // no result for the lane
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.lane.id()));
    EXPECT_EQ(model().emptyReason(row.lane), row.reason);
    EXPECT_EQ(model().emptyShort(row.lane), row.brief);
  }
}

}  // namespace
}  // namespace kesta::test
