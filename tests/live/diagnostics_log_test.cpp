#include "live/diagnostics_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/json/json_coding.h"

namespace kesta {
namespace {

ScanRecord scan(std::uint64_t seq) { return {seq, Date{static_cast<double>(seq)}}; }

DeckObservation reading(DeckReading value, std::optional<int> clock = std::nullopt) {
  DeckObservation observation;
  observation.reading = std::move(value);
  observation.clockSeconds = clock;
  return observation;
}

Frame frame(std::uint64_t seq, DeckObservation deck1, DeckObservation deck2 = DeckObservation::unreadable()) {
  return {
      .seq = seq, .time = static_cast<double>(seq) / 4, .deck1 = std::move(deck1), .deck2 = std::move(deck2)};
}

Frame unlistedFrame(std::uint64_t seq) {
  return frame(seq, reading(DeckReading::unmatched("sometitle|someartist")),
               reading(DeckReading::track("7", MatchStrength::strong), 61));
}

std::vector<std::uint64_t> seqs(const std::deque<ScanRecord>& scans) {
  std::vector<std::uint64_t> out;
  for (const auto& s : scans) out.push_back(s.seq);
  return out;
}

TEST(DiagnosticsLog, StartsEmpty) {
  const DiagnosticsLog log;
  EXPECT_TRUE(log.scans.empty() && log.latencies.empty() && log.loopGapsMs.empty() && log.rankMs.empty());
  EXPECT_FALSE(log.frames || log.framesTruncated);
  EXPECT_FALSE(log.includeRawText());
  EXPECT_EQ(log.capacity, 2000);
  EXPECT_EQ(log.summary, DiagnosticsSummary());
  EXPECT_TRUE(log.isEmpty());
}

TEST(DiagnosticsLog, RecordingAScanCountsItsDeckTextsAndFailure) {
  DiagnosticsLog log;
  auto failed = scan(1);
  failed.deck1 = failed.deck2 = "empty";
  failed.failure = "capture failed";
  log.record(failed);
  auto clean = scan(2);
  clean.deck1 = "track/exact";
  clean.deck2 = "empty";
  log.record(clean);
  EXPECT_EQ(log.summary.scans, 2);
  EXPECT_EQ(log.summary.captureFailures, 1);
  EXPECT_EQ(log.summary.readings, (std::map<std::string, std::int64_t>{{"empty", 3}, {"track/exact", 1}}));
  EXPECT_FALSE(log.isEmpty());
}

TEST(DiagnosticsLog, KeepsRecognisedLinesOnlyWhenOptedIn) {
  auto withText = scan(1);
  withText.rawText = std::vector<std::string>{"Title", "Artist"};
  DiagnosticsLog log;
  log.record(withText);
  EXPECT_FALSE(log.scans.back().rawText);
  log.setIncludeRawText(true);
  log.record(withText);
  EXPECT_EQ(log.scans.back().rawText, withText.rawText);
}

TEST(DiagnosticsLog, DefaultBoundsAre2000OfEachListAnd6000Frames) {
  DiagnosticsLog log;
  for (std::uint64_t seq = 1; seq <= 2001; ++seq) {
    log.record(scan(seq));
    log.record(LoadLatency{.seq = seq});
    log.recordLoopGap(static_cast<double>(seq));
    log.recordRank(static_cast<double>(seq));
  }
  for (auto* list : {&log.loopGapsMs, &log.rankMs}) {
    EXPECT_EQ(list->size(), 2000u);
    EXPECT_EQ(list->front(), 2);
  }
  EXPECT_EQ(log.scans.size(), 2000u);
  EXPECT_EQ(log.scans.front().seq, 2u);
  EXPECT_EQ(log.latencies.size(), 2000u);
  EXPECT_EQ(log.latencies.front().seq, 2u);

  for (std::uint64_t seq = 1; seq <= 6000; ++seq) log.record(unlistedFrame(seq));
  EXPECT_EQ(log.frames->size(), 6000u);
  EXPECT_FALSE(log.framesTruncated) << "nothing dropped yet";
  log.record(unlistedFrame(6001));
  EXPECT_EQ(log.frames->size(), 6000u);
  EXPECT_EQ(log.frames->front().seq, 2u);
  EXPECT_EQ(log.framesTruncated, true);
}

TEST(DiagnosticsLog, AFrameThatShowsNothingIsNotKept) {
  DiagnosticsLog log;
  auto blind = frame(1, DeckObservation::unreadable());
  blind.deck1.titleAreaChanged = true;  // not looked at
  log.record(blind);
  EXPECT_FALSE(log.frames);

  const Frame variants[] = {
      frame(2, reading(DeckReading::unreadable(), 12)),
      frame(3, DeckObservation::unreadable(), reading(DeckReading::empty())),
      [] {
        auto f = frame(4, DeckObservation::unreadable());
        f.deck2.mixer = MixerReading{.fader = 0.5, .eqNeutral = true};
        return f;
      }(),
  };
  for (const auto& f : variants) log.record(f);
  ASSERT_TRUE(log.frames);
  EXPECT_EQ(log.frames->size(), 3u);
}

TEST(DiagnosticsLog, FramesAreHashedUnlessOptedIn) {
  DiagnosticsLog log;
  log.record(unlistedFrame(1));
  EXPECT_EQ(log.frames->back(), unlistedFrame(1).redacted());
  log.setIncludeRawText(true);
  log.record(unlistedFrame(2));
  EXPECT_EQ(log.frames->front(), unlistedFrame(1).redacted()) << "opting in restores nothing";
  EXPECT_EQ(log.frames->back(), unlistedFrame(2));
}

// Opting out again must leave no screen text behind, and must not hash the
// frames that are hashed already a second time.
TEST(DiagnosticsLog, OptingOutDropsTheScreenTextAlreadyKept) {
  DiagnosticsLog log;
  log.record(unlistedFrame(1));
  log.setIncludeRawText(true);
  auto withText = scan(2);
  withText.rawText = std::vector<std::string>{"Some Title"};
  log.record(withText);
  log.record(unlistedFrame(2));
  log.setIncludeRawText(false);

  EXPECT_FALSE(log.includeRawText());
  EXPECT_FALSE(log.scans.back().rawText);
  EXPECT_EQ(std::vector<Frame>(log.frames->begin(), log.frames->end()),
            (std::vector<Frame>{unlistedFrame(1).redacted(), unlistedFrame(2).redacted()}));
  const auto stored = json::write(log.toJson());
  EXPECT_EQ(stored.find("sometitle"), std::string::npos);
  EXPECT_EQ(stored.find("Some Title"), std::string::npos);
}

TEST(DiagnosticsLog, CountsEventsByCase) {
  const auto track = DeckContent::track("1");
  const Focus focus{.deck = 2, .content = track, .seq = 1, .kind = FocusKind::load};
  DiagnosticsLog log;
  const std::vector<TrackerEvent> events = {
      TrackerEvent::initial(1, track),
      TrackerEvent::load(2, track, DeckContent::empty(), 1),
      TrackerEvent::focus(focus),
      TrackerEvent::load(1, track, track, 2),
      TrackerEvent::refined(1, track),
      TrackerEvent::unload(1, track),
      TrackerEvent::startupAmbiguous(),
      TrackerEvent::playEvidence(1, "1"),
      TrackerEvent::staleFrameRejected(3),
      TrackerEvent::changeRejected(1, "no pixel change for unresolved text"),
      TrackerEvent::changeRejected(2, "no pixel change for unresolved text"),
  };
  log.record(events);
  DiagnosticsSummary expected;
  expected.loads = 2;
  expected.focusChanges = 1;
  expected.refinements = 1;
  expected.unloads = 1;
  expected.startupAmbiguous = 1;
  expected.playEvidence = 1;
  expected.staleFramesRejected = 1;
  expected.changesRejected = 2;
  EXPECT_EQ(log.summary, expected);
}

TEST(DiagnosticsLog, FlagsAndOneClickOutcomesAreCountedAndNoted) {
  DiagnosticsLog log;
  log.recordDJFlag();
  log.recordOneClick("loaded");
  EXPECT_EQ(log.summary.djFlaggedWrong, 1);
  EXPECT_EQ(log.summary.oneClick, (std::map<std::string, std::int64_t>{{"loaded", 1}}));

  log.record(scan(1));
  log.record(scan(2));
  log.recordDJFlag();
  log.recordOneClick("loaded");
  log.recordOneClick("loaded");
  log.recordOneClick("row-not-found", "3 attempts");
  log.recordOneClick("aborted", "");
  EXPECT_EQ(log.summary.djFlaggedWrong, 2);
  EXPECT_EQ(log.summary.oneClick,
            (std::map<std::string, std::int64_t>{{"aborted", 1}, {"loaded", 3}, {"row-not-found", 1}}));
  EXPECT_TRUE(log.scans.front().events.empty());
  EXPECT_EQ(log.scans.back().events,
            (std::vector<std::string>{"dj-flag: wrong track", "one-click: loaded", "one-click: loaded",
                                      "one-click: row-not-found (3 attempts)", "one-click: aborted ()"}));
}

TEST(DiagnosticsLog, EmptinessLooksAtScansLatenciesAndRankingsOnly) {
  DiagnosticsLog log;
  log.recordLoopGap(250);
  log.staleResultDiscarded();
  log.record(unlistedFrame(1));
  EXPECT_TRUE(log.isEmpty());
  log.recordRank(3);
  EXPECT_FALSE(log.isEmpty());
}

TEST(DiagnosticsLog, JsonRoundTrip) {
  DiagnosticsLog log(50);
  auto s = scan(1);
  s.deck1 = "track";
  s.rawText = std::vector<std::string>{"dropped"};
  log.record(s);
  log.record(unlistedFrame(1));
  log.record(LoadLatency{.seq = 1, .deck = 1, .evidenceToConfirmMs = 400});
  log.recordLoopGap(251.5);
  log.recordRank(12);
  log.recordDJFlag();
  const auto text = json::write(log.toJson());
  EXPECT_EQ(DiagnosticsLog::fromJson(json::parse(text)), log);
  EXPECT_EQ(text.find("framesTruncated"), std::string::npos);
  EXPECT_NE(text.find(R"("includeRawText":false)"), std::string::npos);

  const auto fresh = json::write(DiagnosticsLog().toJson());
  EXPECT_EQ(
      fresh,
      R"({"capacity":2000,"includeRawText":false,"latencies":[],"loopGapsMs":[],"rankMs":[],"scans":[],)"
      R"("summary":{"captureFailures":0,"changesRejected":0,"focusChanges":0,"loads":0,"playEvidence":0,)"
      R"("readings":{},"refinements":0,"scans":0,"staleFramesRejected":0,"staleResultsDiscarded":0,)"
      R"("startupAmbiguous":0,"unloads":0}})");
  for (const char* key :
       {"scans", "latencies", "loopGapsMs", "rankMs", "summary", "includeRawText", "capacity"}) {
    auto value = log.toJson();
    value.erase(key);
    EXPECT_THROW(DiagnosticsLog::fromJson(value), json::DecodingError) << key;
  }
}

// A stored log is outside our control: a negative capacity keeps nothing
// rather than breaking the recording, and lists longer than the capacity are
// cut to it at the next recording.
TEST(DiagnosticsLog, DecodedBoundsAreMadeSafe) {
  auto stored = DiagnosticsLog().toJson();
  stored["capacity"] = -5;
  auto negative = DiagnosticsLog::fromJson(stored);
  EXPECT_EQ(negative.capacity, 0);
  negative.record(scan(1));
  negative.recordLoopGap(1);
  negative.record(LoadLatency{});
  EXPECT_TRUE(negative.scans.empty() && negative.loopGapsMs.empty() && negative.latencies.empty());
  EXPECT_EQ(negative.summary.scans, 1);

  DiagnosticsLog big;
  for (std::uint64_t seq = 1; seq <= 10; ++seq) {
    big.record(scan(seq));
    big.recordRank(static_cast<double>(seq));
  }
  auto shrunk = big.toJson();
  shrunk["capacity"] = 4;
  auto log = DiagnosticsLog::fromJson(shrunk);
  log.record(scan(11));
  log.recordRank(11);
  EXPECT_EQ(seqs(log.scans), (std::vector<std::uint64_t>{8, 9, 10, 11}));
  EXPECT_EQ(log.rankMs, (std::deque<double>{8, 9, 10, 11}));
}

}  // namespace
}  // namespace kesta
