#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "live/diagnostics_session.h"
#include "load_status_printer.h"
#include "model/app_model_actions.h"
#include "model/export_file_names.h"
#include "model/set_history_csv.h"
#include "model/utc_date.h"
#include "model_fixture.h"
#include "model_probe.h"
#include "reading/reading_fixtures.h"
#include "store/atomic_file.h"
#include "support/test_paths.h"

namespace kesta::model {
namespace {

// The stored file byte for byte: line ends and the missing final one matter.
std::string golden(const std::string& name) {
  std::ifstream in(kesta::test::sourceDir() / "tests" / "model" / "golden" / name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

Date utc(double unixSeconds) { return Date::fromUnixSeconds(unixSeconds); }

DJSet::Entry entry(int id, double unixSeconds, std::string title, std::string artist, bool played,
                   std::optional<Lane> lane) {
  return {id, std::move(title), std::move(artist), utc(unixSeconds), played, lane};
}

TEST(SetHistoryCsv, MatchesTheStoredFilesByteForByte) {
  const std::vector<DJSet::Entry> rows{
      // A quarter of a second past the minute: fractions are dropped, not rounded.
      entry(0, 1773549009.75, "Opening \"Night\" Drive", "Kasra, Dan", true, Lane::groove),
      entry(1, 1773549291, "Two\nLines", "Ödön Ñu", false, std::nullopt),
      entry(2, 1773549660, "Plain", "Artist", true, Lane::raise),
      entry(3, 1773550050, "\"", "", false, Lane::breather),
      entry(4, 1773532799, "Late", "X", true, Lane::pivot),
  };
  struct Case {
    const char* file;
    std::vector<DJSet::Entry> entries;
  };
  const std::vector<Case> cases{{"set_empty.csv", {}}, {"set_history.csv", rows}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string expected = golden(c.file);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(setHistoryCsv(c.entries), expected);
  }
}

TEST(ExportFileNames, CarryTheUtcDayOfTheStart) {
  struct Case {
    double unixSeconds;
    const char* setName;
    const char* diagnosticsName;
  };
  const std::vector<Case> cases{
      // 23:30 on March 14 at UTC−5 is already March 15 in UTC.
      {1773446400 + (23.5 + 5) * 3600, "kesta-set-2026-03-15.csv", "kesta-diagnostics-2026-03-15.txt"},
      {1773532799.999, "kesta-set-2026-03-14.csv", "kesta-diagnostics-2026-03-14.txt"},
      {1773532800, "kesta-set-2026-03-15.csv", "kesta-diagnostics-2026-03-15.txt"},
      // Before 1970 and before the stored dates' reference point.
      {-86400.5, "kesta-set-1969-12-30.csv", "kesta-diagnostics-1969-12-30.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setName);
    EXPECT_EQ(setFileName(utc(c.unixSeconds)), c.setName);
    EXPECT_EQ(diagnosticsFileName(utc(c.unixSeconds)), c.diagnosticsName);
  }
}

TEST(UtcDate, WritesDatesThatAreNoNumberAsTheReferenceDate) {
  EXPECT_EQ(utcDateTime(Date{std::numeric_limits<double>::quiet_NaN()}), "2001-01-01T00:00:00Z");
  EXPECT_EQ(utcDateTime(Date{1e300}), "2001-01-01T00:00:00Z");
  EXPECT_EQ(utcDateTime(utc(951782400 + 86399)), "2000-02-29T23:59:59Z");
}

using ExportsTest = test::ModelFixture;

// Every regular file under `folder`, temporary ones included.
std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& item : std::filesystem::recursive_directory_iterator(folder))
    if (item.is_regular_file()) files.push_back(item.path());
  return files;
}

TEST_F(ExportsTest, SetHistoryGoesToTheChosenFileUnderTheUtcDayOfItsStart) {
  // 23:30 on March 14 at UTC−5.
  DJSet set = DJSet::started(utc(1773446400 + (23.5 + 5) * 3600));
  const Track shown = kesta::test::libraryTrack("1", "Say \"Hi\", then go", "Ana");
  const Track plain = kesta::test::libraryTrack("2", "Plain", "Bo");
  using Kind = SetEvent::Kind;
  set.events = {SetEvent::make(Kind::shown, utc(1773549000), &shown, Lane::raise),
                SetEvent::make(Kind::loaded, utc(1773549009), &shown, std::nullopt, 2),
                SetEvent::make(Kind::played, utc(1773549100), &shown, std::nullopt, 2),
                SetEvent::make(Kind::loaded, utc(1773549291), &plain, std::nullopt, 1)};
  const auto file = dataDir() / "exported.csv";
  panels->answers.push_back(file);

  model().exportSet(set);

  ASSERT_EQ(panels->saveRequests.size(), 1u);
  const SavePanelRequest& request = panels->saveRequests[0];
  EXPECT_EQ(request.title, "Export set history");
  EXPECT_EQ(request.suggestedName, "kesta-set-2026-03-15.csv");
  EXPECT_EQ(request.extensions, std::vector<std::string>{"csv"});
  EXPECT_EQ(AtomicFile::read(file), setHistoryCsv(set.entries()));
  EXPECT_EQ(set.entries().at(0).suggestedAs, Lane::raise);
}

TEST_F(ExportsTest, CancelledOrVanishedDestinationsLeaveNoFile) {
  const auto outside = dataDir() / "exports";
  std::filesystem::create_directories(outside);
  const auto vanished = outside / "gone";
  struct Case {
    const char* name;
    std::optional<std::filesystem::path> answer;
  };
  const std::vector<Case> cases{{"cancelled", std::nullopt}, {"folder removed", vanished / "out.file"}};
  const DJSet set = DJSet::started(utc(1773446400));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panels->answers = {c.answer, c.answer};
    model().exportSet(set);
    model().exportDiagnostics();
    EXPECT_TRUE(filesIn(outside).empty());
    EXPECT_FALSE(std::filesystem::exists(vanished));
    EXPECT_EQ(model().loadStatus(), LoadStatus::idle());  // text exports fail quietly
  }
}

TEST_F(ExportsTest, DiagnosticsShowThePreviousSessionUntilThisOneRecordsSomething) {
  const Date previousStart = utc(1773446400 + 23 * 3600);  // March 14, 23:00 UTC
  DiagnosticsLog previousLog;
  previousLog.record(ScanRecord(7, previousStart.adding(60)));
  const DiagnosticsSession previous("1.0 (1)", {{"Mac", "old"}}, previousStart, previousLog);
  struct Case {
    const char* name;
    bool storePrevious;
  };
  for (const Case c : {Case{"an earlier run stored", true}, Case{"nothing stored", false}}) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(store->diagnosticsFolder());
    if (c.storePrevious) store->saveDiagnosticsNow(previous);
    const auto built = AppModel::create(ports());
    const DiagnosticsSession& shown = c.storePrevious ? previous : built->diagnosticsSession();
    const auto environment = built->liveEnvironment();
    const std::string prefix =
        c.storePrevious ? "Showing your previous session (nothing recorded yet this time).\n\n" : "";
    EXPECT_EQ(built->diagnosticsReport(), prefix + shown.exportText(std::nullopt, environment, 0));

    const auto file = dataDir() / "diagnostics.txt";
    panels->answers.push_back(file);
    built->exportDiagnostics();
    ASSERT_FALSE(panels->saveRequests.empty());
    EXPECT_EQ(panels->saveRequests.back().title, "Save Kesta diagnostics");
    EXPECT_EQ(panels->saveRequests.back().suggestedName, diagnosticsFileName(shown.startedAt));
    EXPECT_EQ(panels->saveRequests.back().extensions, std::vector<std::string>{"txt"});
    EXPECT_EQ(AtomicFile::read(file), shown.exportText(std::nullopt, environment, 300));
  }
}

// The folder is made at once; whether a file browser took it is known only
// when the launcher's answer comes, and only a refusal is told, with the path.
TEST_F(ExportsTest, AFolderNoFileBrowserTookIsToldWithItsPathWhenTheAnswerComes) {
  struct Case {
    const char* name;
    bool taken;
    bool actionsGoneFirst;  // the window that asked closed before the answer
    bool told;
  };
  const Case cases[] = {
      {"taken", true, false, false},
      {"refused", false, false, true},
      {"refused after the actions went", false, true, true},
  };
  const std::filesystem::path folder = store->diagnosticsFolder();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(folder);
    urls->opened.clear();
    std::vector<std::string> told;
    auto actions = std::make_unique<AppModelActions>(modelPointer(), store, urls);
    actions->openDiagnosticsFolder([&told](const std::string& notice) { told.push_back(notice); });
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(urls->opened, std::vector<std::string>{folder.string()});
    EXPECT_TRUE(told.empty());  // nothing is known before the launcher answers
    if (c.actionsGoneFirst) actions.reset();
    urls->answer(c.taken);
    const std::vector<std::string> expected{"Couldn't open a file browser. Diagnostics are saved in " +
                                            folder.string() + "."};
    EXPECT_EQ(told, c.told ? expected : std::vector<std::string>{});
    EXPECT_EQ(model().notice(), std::nullopt);  // the sheet that asked says it
  }
}

TEST_F(ExportsTest, WindowPositionsAreSavedAtOnceAndCountOnlyWithTwoNumbers) {
  Preferences stored;
  stored.windowTopLeft = {{"full", {10, 20, 30}}, {"card", {5}}, {"empty", {}}, {"kept", {-7.5, 8}}};
  store->savePreferences(stored);
  const std::vector<std::pair<std::string, std::optional<Point>>> cases{{"full", std::nullopt},
                                                                        {"card", std::nullopt},
                                                                        {"empty", std::nullopt},
                                                                        {"missing", std::nullopt},
                                                                        {"kept", Point{-7.5, 8}}};
  for (const auto& [key, expected] : cases) EXPECT_EQ(model().savedTopLeft(key), expected) << key;

  model().saveTopLeft({312.5, -40}, "full");
  // A position that is not a number would make the settings file unwritable.
  model().saveTopLeft({std::numeric_limits<double>::quiet_NaN(), 3}, "card");
  model().setCompact(true);

  const Preferences written = AppStore(dataDir()).preferences();
  EXPECT_EQ(written.windowTopLeft.at("full"), (std::vector<double>{312.5, -40}));
  EXPECT_EQ(written.windowTopLeft.at("card"), (std::vector<double>{5}));
  EXPECT_TRUE(written.compact);
  EXPECT_EQ(model().savedTopLeft("full"), (Point{312.5, -40}));
}

TEST_F(ExportsTest, WhatKestaSeesIsSavedAsTheEncodersPng) {
  ModelProbe::install(model(), kesta::test::libraryOf({kesta::test::libraryTrack("1", "Strobe")}));
  model().startWatching();
  const auto folder = dataDir() / "pictures";
  std::filesystem::create_directories(folder);
  struct Case {
    const char* name;
    std::optional<Image> image;
    std::optional<std::string> error;
    bool encoderFails;
    std::filesystem::path destination;
    bool asked;
    std::optional<std::string> written;
  };
  const std::vector<Case> cases{
      {"an image", Image(4, 2), std::nullopt, false, folder / "view.png", true, "PNG 4x2"},
      {"no image", std::nullopt, std::nullopt, false, folder / "none.png", false, std::nullopt},
      {"the encoder gives nothing", Image(4, 2), std::nullopt, true, folder / "unencoded.png", true,
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    engines->last()->deckViewAnswer = {c.image, c.error};
    imageEncoder->fails = c.encoderFails;
    panels->answers = {c.destination};
    panels->saveRequests.clear();
    model().saveDeckView();
    queue->drain();
    ASSERT_EQ(panels->saveRequests.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      const SavePanelRequest& request = panels->saveRequests[0];
      EXPECT_EQ(request.title, "Save what Kesta sees");
      EXPECT_EQ(request.message,
                "Only the two deck areas Kesta reads are saved: they show the loaded titles. Nothing is sent "
                "anywhere.");
      EXPECT_EQ(request.suggestedName, "kesta-deck-view.png");
      EXPECT_EQ(request.extensions, std::vector<std::string>{"png"});
    }
    EXPECT_EQ(AtomicFile::read(c.destination), c.written);
    EXPECT_EQ(model().loadStatus(), LoadStatus::idle());
  }
  EXPECT_EQ(filesIn(folder).size(), 1u);
}

// Not connected, a failed capture and a failed write each show as a failed
// load without a short form, cleared ten seconds later.
TEST_F(ExportsTest, FailuresToSaveWhatKestaSeesShowAsAFailedLoadForTenSeconds) {
  const Library library = kesta::test::libraryOf({kesta::test::libraryTrack("1", "Strobe")});
  const auto folder = dataDir() / "pictures";
  std::filesystem::create_directories(folder);
  const auto vanished = folder / "gone" / "view.png";
  const std::string notConnected = "Connect to rekordbox first, then try again.";
  enum class Session { never, stopped, letGoUnanswered, connected };
  struct Case {
    const char* name;
    Session session;
    DeckViewAnswer answer;
    bool asked;
    std::string failure;  // the whole text; for a failed write, a part of it
  };
  const std::vector<Case> cases{
      {"never connected", Session::never, {Image(4, 2), std::nullopt}, false, notConnected},
      {"connected, then stopped", Session::stopped, {Image(4, 2), std::nullopt}, false, notConnected},
      {"stopped before the engine answered",
       Session::letGoUnanswered,
       {Image(4, 2), std::nullopt},
       false,
       notConnected},
      {"the capture failed",
       Session::connected,
       {std::nullopt, "rekordbox's window is minimized."},
       false,
       "rekordbox's window is minimized."},
      {"the write failed",
       Session::connected,
       {Image(4, 2), std::nullopt},
       true,
       vanished.parent_path().string()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto built = AppModel::create(ports());
    ModelProbe::install(*built, library);
    if (c.session != Session::never) built->startWatching();
    if (c.session == Session::stopped) built->stopWatching();
    if (engines->last()) engines->last()->deckViewAnswer = c.answer;
    panels->answers = {vanished};
    panels->saveRequests.clear();

    const bool letGo = c.session == Session::letGoUnanswered;
    if (letGo) engines->last()->holdAnswers = true;
    built->saveDeckView();
    if (letGo) {
      built->stopWatching();
      engines->last()->dropAnswers();
    }
    queue->drain();

    EXPECT_EQ(panels->saveRequests.size(), c.asked ? 1u : 0u);
    const auto* failed = built->loadStatus().as<LoadStatus::Failed>();
    ASSERT_NE(failed, nullptr) << ::testing::PrintToString(built->loadStatus());
    const std::string text = failed->text;
    if (c.asked) {
      EXPECT_NE(text.find(c.failure), std::string::npos) << text;
    } else {
      EXPECT_EQ(text, c.failure);
    }
    EXPECT_EQ(built->statusLine(), text);
    EXPECT_EQ(built->compactStatus(), text);
    scheduler->advance(9.9);
    EXPECT_EQ(built->loadStatus(), LoadStatus::failed(text));
    scheduler->advance(0.1);
    EXPECT_EQ(built->loadStatus(), LoadStatus::idle());
    EXPECT_FALSE(std::filesystem::exists(vanished.parent_path()));
  }
}

}  // namespace
}  // namespace kesta::model
