#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/app_version.h"
#include "model_fixture.h"
#include "model_probe.h"
#include "platform/system/system_facts.h"
#include "reading/reading_fixtures.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

using kesta::test::libraryOf;
using kesta::test::libraryTrack;

constexpr double kHour = 3600;

using AppModelTest = ModelFixture;

TEST_F(AppModelTest, StartsFromDefaultsOverAnEmptyDataFolder) {
  const AppModel& built = model();
  EXPECT_TRUE(built.library().isEmpty());
  // The restore of the stored library has started and waits for its background job.
  EXPECT_EQ(built.libraryState(), LibraryState::importing("Opening your saved library\u2026"));
  EXPECT_EQ(built.poolID(), "all");
  EXPECT_FALSE(built.watching());
  EXPECT_EQ(built.loadStatus(), LoadStatus::idle());
  EXPECT_FALSE(built.oneClickLoad());
  EXPECT_TRUE(built.activeSet().events.empty());
  EXPECT_EQ(built.activeSet().startedAt, wall->date);
  EXPECT_EQ(built.diagnosticsSession().startedAt, wall->date);
  EXPECT_EQ(built.diagnosticsSession().environment.count("macOS"), 1u);
  EXPECT_EQ(built.diagnosticsSession().environment.at("Mac"), SystemFacts::machineModel());
  EXPECT_TRUE(notifications.empty());
}

// A stored running set whose last activity lies some time back.
struct RolloverRow {
  const char* name;
  std::optional<double> startedHoursAgo;      // none: no stored set
  std::optional<double> lastEventSecondsAgo;  // none: a set without events
  enum Outcome { continues, archived, fresh } outcome;
};

class RolloverTest : public ModelFixture, public ::testing::WithParamInterface<RolloverRow> {};

TEST_P(RolloverTest, DecidesWhetherTheStoredSetGoesOn) {
  const RolloverRow& row = GetParam();
  std::optional<DJSet> stored;
  if (row.startedHoursAgo) {
    stored = DJSet::started(wall->date.adding(-*row.startedHoursAgo * kHour));
    if (row.lastEventSecondsAgo) {
      const Track track = libraryTrack("7", "Strobe", "deadmau5");
      stored->events.push_back(SetEvent::make(SetEvent::Kind::loaded, stored->startedAt, &track, {}, 1));
      stored->events.push_back(SetEvent::make(SetEvent::Kind::played,
                                              wall->date.adding(-*row.lastEventSecondsAgo), &track, {}, 1));
    }
    store->saveActiveSet(stored);
  }
  const DJSet earlier = DJSet::started(wall->date.adding(-100 * kHour));
  store->saveArchivedSets({earlier});

  const AppModel& built = model();
  switch (row.outcome) {
    case RolloverRow::continues:
      EXPECT_EQ(built.activeSet(), *stored);
      EXPECT_EQ(built.archivedSets(), std::vector<DJSet>{earlier});
      break;
    case RolloverRow::archived: {
      DJSet closed = *stored;
      closed.endedAt = stored->events.back().at;
      EXPECT_EQ(built.archivedSets(), (std::vector<DJSet>{closed, earlier}));
      EXPECT_EQ(store->archivedSets(), built.archivedSets());
      EXPECT_EQ(store->activeSet(), built.activeSet());
      break;
    }
    case RolloverRow::fresh:
      EXPECT_EQ(built.archivedSets(), std::vector<DJSet>{earlier});
      break;
  }
  if (row.outcome != RolloverRow::continues) {
    EXPECT_TRUE(built.activeSet().events.empty());
    EXPECT_EQ(built.activeSet().startedAt, wall->date);
    if (stored) {
      EXPECT_NE(built.activeSet().id, stored->id);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sets, RolloverTest,
    ::testing::Values(RolloverRow{"lastEvent7h59mAgo", 20, 8 * kHour - 60, RolloverRow::continues},
                      RolloverRow{"lastEvent8hAgo", 20, 8 * kHour, RolloverRow::archived},
                      RolloverRow{"lastEvent30hAgo", 40, 30 * kHour, RolloverRow::archived},
                      RolloverRow{"emptySetStarted9hAgo", 9, std::nullopt, RolloverRow::fresh},
                      RolloverRow{"emptySetStarted1hAgo", 1, std::nullopt, RolloverRow::continues},
                      RolloverRow{"noStoredSet", std::nullopt, std::nullopt, RolloverRow::fresh}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AppModelTest, SettingsAreWrittenOnEveryAssignmentEvenUnchanged) {
  struct Row {
    const char* name;
    std::function<void(AppModel&)> assign;
    Field field;
  };
  const Row rows[] = {
      {"compact", [](AppModel& m) { m.setCompact(false); }, Field::compact},
      {"includeRawText", [](AppModel& m) { m.setIncludeRawText(false); }, Field::includeRawText},
      {"oneClickLoad", [](AppModel& m) { m.setOneClickLoad(false); }, Field::oneClickLoad},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove(file("preferences.json"));
    notifications.clear();
    row.assign(model());
    EXPECT_TRUE(std::filesystem::exists(file("preferences.json")));
    EXPECT_EQ(notified(row.field), 1);
  }
  // A setting that was never stored is present once assigned.
  EXPECT_EQ(store->preferences().oneClickLoad, std::optional<bool>(false));
  EXPECT_EQ(keyPreset->checks, 0);
}

TEST_F(AppModelTest, TheInitializerRunsNoReaction) {
  Preferences stored;
  stored.oneClickLoad = true;
  stored.includeRawText = true;
  stored.compact = true;
  store->savePreferences(stored);
  std::filesystem::remove(file("preferences.json.tmp"));
  const auto writtenAt = std::filesystem::last_write_time(file("preferences.json"));

  const AppModel& built = model();
  EXPECT_TRUE(built.oneClickLoad());
  EXPECT_TRUE(built.includeRawText());
  EXPECT_TRUE(built.compact());
  EXPECT_TRUE(built.diagnosticsSession().log.includeRawText());
  EXPECT_EQ(loader->authorizationRequests, 0);
  EXPECT_EQ(keyPreset->checks, 0);
  EXPECT_FALSE(built.notice());
  EXPECT_EQ(queue->pending(), 0u);
  EXPECT_EQ(std::filesystem::last_write_time(file("preferences.json")), writtenAt);
}

TEST_F(AppModelTest, SwitchingOneClickOnAsksForAccessAndTellsHowThePresetStands) {
  struct Row {
    const char* name;
    KeyPreset::Result result;
    std::string notice;
    std::string shortNotice;
    double seconds;
  };
  const Row rows[] = {
      {"matches", KeyPreset::Matches{"Default"},
       "One-click load is on. Your rekordbox shortcuts (Default) match.",
       "One-click load on. Shortcuts match.", 8},
      {"differs", KeyPreset::Differs{"Gig", {"Load track to Deck 1", "Undo track load"}},
       "One-click load is on, but your rekordbox preset (Gig) uses other keys for Load track to Deck 1, Undo "
       "track load. Loads will be refused until it uses the defaults.",
       "rekordbox shortcuts differ. See Full.", 15},
      {"unknown", KeyPreset::Unknown{"preset file missing"},
       "One-click load is on. It assumes rekordbox's default shortcuts.",
       "One-click load on (default shortcuts).", 8},
  };
  int requests = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    keyPreset->result = row.result;
    model().setOneClickLoad(false);
    model().setOneClickLoad(true);
    EXPECT_EQ(loader->authorizationRequests, ++requests);
    EXPECT_EQ(model().notice(), row.notice);
    EXPECT_EQ(model().noticeShort(), row.shortNotice);
    scheduler->advance(row.seconds - 0.1);
    EXPECT_EQ(model().notice(), row.notice);
    scheduler->advance(0.1);
    EXPECT_EQ(model().notice(), std::nullopt);
  }
  // Already on: stored again, nothing asked, nothing shown.
  std::filesystem::remove(file("preferences.json"));
  const int checks = keyPreset->checks;
  model().setOneClickLoad(true);
  EXPECT_TRUE(std::filesystem::exists(file("preferences.json")));
  EXPECT_EQ(loader->authorizationRequests, requests);
  EXPECT_EQ(keyPreset->checks, checks);
  EXPECT_FALSE(model().notice());
}

TEST_F(AppModelTest, AFinishedLoadStatusClearsTheNoticeAndItsPendingClear) {
  std::vector<std::optional<std::string>> shortWhenTold;
  model().addListener([&](ChangedFields fields) {
    if (fields.contains(Field::notice)) shortWhenTold.push_back(model().noticeShort());
  });
  model().show("First", std::nullopt, 8);
  scheduler->advance(2);
  model().setLoadStatus(LoadStatus::loading("7", 2));  // a load in progress leaves the notice
  EXPECT_EQ(model().notice(), "First");
  scheduler->advance(1);
  model().setLoadStatus(LoadStatus::failed("rekordbox isn't open."));
  EXPECT_EQ(model().notice(), std::nullopt);
  scheduler->advance(2);
  model().show("Second", "2nd", 8);  // due at 13 s
  scheduler->advance(3);             // the first notice's clear comes and does nothing
  EXPECT_EQ(model().notice(), "Second");
  EXPECT_EQ(model().noticeShort(), "2nd");
  scheduler->advance(5);
  EXPECT_EQ(model().notice(), std::nullopt);
  // Listeners find the short form of a notice already in place.
  ASSERT_GE(shortWhenTold.size(), 3u);
  EXPECT_EQ(shortWhenTold[0], std::nullopt);
  EXPECT_EQ(shortWhenTold[2], "2nd");
}

TEST_F(AppModelTest, ALoadStatusClearsItsShortTextAndOnlyAResultClearsTheNotice) {
  const std::pair<LoadStatus, bool> rows[] = {
      {LoadStatus::idle(), false},
      {LoadStatus::loading("1", 1), false},
      {LoadStatus::done("Loaded.", true), true},
      {LoadStatus::failed("No."), true},
  };
  for (const auto& [status, clears] : rows) {
    model().show("Note", std::nullopt, 8);
    notifications.clear();
    model().setLoadStatus(status);
    EXPECT_EQ(model().loadStatus(), status);
    EXPECT_EQ(model().loadStatusShort(), std::nullopt);
    EXPECT_EQ(model().notice().has_value(), !clears);
    EXPECT_EQ(notified(Field::notice), clears ? 1 : 0);
  }
}

TEST_F(AppModelTest, TheRawTextSettingReachesTheEngineAsItStandsWhenTheCallRuns) {
  model().setIncludeRawText(true);  // no engine: only stored
  EXPECT_EQ(queue->drain(), 1);
  EXPECT_TRUE(store->preferences().includeRawText);
  EXPECT_TRUE(model().diagnosticsSession().log.includeRawText());

  ModelProbe::install(model(), libraryOf({libraryTrack("1", "Strobe", "deadmau5")}));
  model().startWatching();
  auto engine = engines->last();
  ASSERT_TRUE(engine);
  model().setIncludeRawText(false);
  model().setIncludeRawText(true);
  queue->drain();
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"setIncludeRawText(true)", "start",
                                                     "setIncludeRawText(true)", "setIncludeRawText(true)"}));
}

TEST_F(AppModelTest, TheLiveEnvironmentSaysWhatHoldsNow) {
  const std::pair<bool, bool> rows[] = {{false, false}, {true, true}};
  for (const auto& [granted, running] : rows) {
    screen->isGranted = granted;
    rekordbox->running = running;
    const auto yes = [](bool value) { return std::string(value ? "yes" : "no"); };
    EXPECT_EQ(model().liveEnvironment(),
              (std::map<std::string, std::string>{{"Screen recording allowed", yes(granted)},
                                                  {"rekordbox running", yes(running)}}));
  }
}

TEST(AppVersion, FallsBackForMissingParts) {
  const std::tuple<std::optional<std::string>, std::optional<std::string>, std::string> rows[] = {
      {std::nullopt, std::nullopt, "dev (0)"},
      {"0.6.0", std::nullopt, "0.6.0 (0)"},
      {std::nullopt, "57", "dev (57)"},
      {"0.6.0", "57", "0.6.0 (57)"},
  };
  for (const auto& [shortVersion, build, text] : rows) EXPECT_EQ(versionText(shortVersion, build), text);
  const std::string current = currentVersionText();
  EXPECT_NE(current.find(" ("), std::string::npos);
  EXPECT_TRUE(current.ends_with(")"));
  EXPECT_FALSE(current.starts_with("dev ("));  // the project's version is known to the build
}

}  // namespace
}  // namespace kesta::test
