#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "live/diagnostics_log.h"

namespace kesta {
namespace {

constexpr const char* kEmptyReport = R"(Kesta diagnostics report
App version: 0.6.0 (12)

Stage timings (per scan)
  window capture: no samples
  text recognition: no samples
  matching: no samples
  load tracking: no samples
  scan total: no samples
  time between scan starts: no samples
  ranking suggestions: no samples

New load → recommendations on screen (from first capture showing the load)
  no samples
  add up to one scan interval for the time before that capture started.

Counts
  scans: 0, capture failures: 0
  deck readings: 
  loads: 0, unloads: 0, refinements: 0, focus changes: 0
  ambiguous starts: 0, rejected changes: 0, stale frames: 0, stale results discarded: 0
  play evidence (deck clock ran 30 s+): 0
  DJ flagged 'wrong track': 0 (loads followed: 0)
  Note: apart from the DJ's flags, these are Kesta's own internal counts, not verified detection accuracy.

Screen text included: no)";

TEST(DiagnosticsReport, EmptyLog) {
  EXPECT_EQ(DiagnosticsLog().report("0.6.0 (12)", {}, std::nullopt), kEmptyReport);
}

// Eight clean scans and one failed one, with every optional line present.
DiagnosticsLog populatedLog() {
  DiagnosticsLog log;
  log.setIncludeRawText(true);
  const double ocr[] = {30, 0, 50, 0, 70, 0, 90, 0};
  for (int i = 1; i <= 8; ++i) {
    ScanRecord scan(static_cast<std::uint64_t>(i), Date{1000.0 + i});
    scan.captureMs = 10.0 * i;
    scan.ocrMs = ocr[i - 1];
    scan.matchMs = 1;
    scan.trackerMs = 2.6;
    scan.deck1 = i <= 3 ? "track" : "track/exact";
    scan.deck2 = "empty";
    if (i <= 4) scan.ocrSkipped = {2};
    if (i <= 5) scan.clocksRead = std::vector<int>{1};
    if (i == 5) scan.clocksRead = std::vector<int>{1, 2};
    if (i <= 5) scan.mixer = "0.85|0.00eq";
    if (i == 6) scan.mixer = "-|-";
    log.record(scan);
  }
  ScanRecord failed(9, Date{1009});
  failed.captureMs = 500;
  failed.ocrMs = 20;
  failed.deck1 = failed.deck2 = "unreadable";
  failed.clocksRead = std::vector<int>{1, 2};
  failed.failure = "rekordbox is not running";
  failed.mixer = "0.50|0.50";
  log.record(failed);
  for (double gap : {250.0, 251.0, 249.0, 260.0}) log.recordLoopGap(gap);
  log.recordRank(12.5);
  log.record(LoadLatency{
      .seq = 3, .deck = 1, .evidenceToConfirmMs = 500, .confirmToRankMs = 30.5, .rankToPublishMs = 4.25});

  const auto track = DeckContent::track("1");
  const Focus focus{.deck = 1, .content = track, .seq = 1, .kind = FocusKind::load};
  log.record(std::vector<TrackerEvent>{
      TrackerEvent::load(1, track, DeckContent::empty(), 0),
      TrackerEvent::load(2, track, DeckContent::empty(), 0), TrackerEvent::unload(2, track),
      TrackerEvent::refined(1, track), TrackerEvent::focus(focus), TrackerEvent::focus(focus),
      TrackerEvent::focus(focus), TrackerEvent::startupAmbiguous(),
      TrackerEvent::changeRejected(1, "no pixel change for unresolved text"),
      TrackerEvent::staleFrameRejected(4), TrackerEvent::playEvidence(1, "1")});
  log.staleResultDiscarded();
  log.staleResultDiscarded();
  log.recordDJFlag();
  log.recordOneClick("loaded");
  log.recordOneClick("loaded");
  log.recordOneClick("aborted", "deck playing");
  return log;
}

ImportReport library() {
  ImportReport report;
  report.totalEntries = 1210;
  report.recommendable = 1180;
  report.missingTitle = 1;
  report.missingBPM = 30;
  report.bpmFromBeatGrid = 4;
  report.missingKey = 12;
  for (int i = 1; i <= 10; ++i) report.unrecognisedKeyValues.push_back("k" + std::to_string(i));
  report.keyNotations = {{"Open Key", 2}, {"Camelot", 1196}};
  report.sources = {{"spotify", 1200}, {"file", 10}};
  report.unrecognisedLocations = 3;
  report.energyTagged = 400;
  report.folders = 3;
  report.playlists = 12;
  report.emptyPlaylists = 2;
  report.unresolvedPlaylistEntries = 5;
  report.repeatedPlaylistNames = 1;
  report.duplicateSongs = 7;
  report.duplicateTrackIDs = 2;
  return report;
}

constexpr const char* kPopulatedReport = R"(Kesta diagnostics report
App version: 0.6.0 (12)
Computer: Mac15,3
Session: started
System: 14.4

Stage timings (per scan)
  window capture: n=8 p50=40ms p95=80ms max=80ms
  text recognition: n=5 p50=50ms p95=90ms max=90ms
  matching: n=9 p50=1ms p95=1ms max=1ms
  load tracking: n=9 p50=3ms p95=3ms max=3ms
  scan total: n=8 p50=64ms p95=164ms max=164ms
  time between scan starts: n=4 p50=250ms p95=260ms max=260ms
  ranking suggestions: n=1 p50=12ms p95=12ms max=12ms

New load → recommendations on screen (from first capture showing the load)
  n=1 p50=535ms p95=535ms max=535ms
  add up to one scan interval for the time before that capture started.

Counts
  scans: 9, capture failures: 1
  deck readings: empty=8, track=3, track/exact=5, unreadable=2
  loads: 2, unloads: 1, refinements: 1, focus changes: 3
  ambiguous starts: 1, rejected changes: 1, stale frames: 1, stale results discarded: 2
  play evidence (deck clock ran 30 s+): 1
  time readout read: deck 1 63% of 8 reads, deck 2 25% of 4 reads (one-click load needs this to know a deck is stopped)
  mixer (faders, EQ) read: 63% of 8 scans
  one-click load (experimental): aborted=1, loaded=2
  DJ flagged 'wrong track': 1 (loads followed: 2)
  Note: apart from the DJ's flags, these are Kesta's own internal counts, not verified detection accuracy.

Library (counts only)
  tracks: 1210, suggestible: 1180, missing BPM: 30, missing key: 12
  key notations: Camelot=1196, Open Key=2
  sources: file=10, spotify=1200
  unrecognised locations: 3, energy-tagged: 400
  playlists: 12, folders: 3, empty: 2, repeated names: 1, unresolved entries: 5
  duplicate songs: 7, duplicate TrackIDs: 2
  unrecognised key values: k1, k2, k3, k4, k5, k6, k7, k8

Screen text included: yes (opted in))";

TEST(DiagnosticsReport, PopulatedLog) {
  const std::map<std::string, std::string> environment{
      {"macOS", "14.4"}, {"Session", "started"}, {"Mac", "Mac15,3"}};
  EXPECT_EQ(populatedLog().report("0.6.0 (12)", environment, library()), kPopulatedReport);
}

std::string lineStartingWith(const std::string& report, const std::string& start) {
  std::istringstream lines(report);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with(start)) return line;
  }
  return "(none)";
}

// The environment's lines under the version: the stored keys in the report's
// words, and no line for a fact the machine did not give.
TEST(DiagnosticsReport, EnvironmentLinesLeaveOutMissingFacts) {
  const struct {
    const char* key;
    const char* value;
    const char* line;  // the report's line after the version, or "(none)"
  } cases[] = {
      {"Mac", "Mac15,3", "Computer: Mac15,3"},
      {"Mac", "", "(none)"},
      {"Mac", "  ", "(none)"},
      {"macOS", "Debian GNU/Linux 12", "System: Debian GNU/Linux 12"},
      {"Screen recording allowed", "no", "Screen capture allowed: no"},
      {"rekordbox running", "yes", "rekordbox running: yes"},
  };
  for (const auto& c : cases) {
    const std::string report = DiagnosticsLog().report("1.0 (1)", {{c.key, c.value}}, std::nullopt);
    std::istringstream lines(report);
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line);
    ASSERT_EQ(line, "App version: 1.0 (1)") << c.key;
    std::getline(lines, line);
    EXPECT_EQ(line.empty() ? "(none)" : line, c.line) << c.key << "=" << c.value;
  }
}

TEST(DiagnosticsReport, ReadoutAndMixerShares) {
  const auto clean = [](std::vector<int> skipped, std::optional<std::vector<int>> clocks,
                        std::optional<std::string> mixer) {
    ScanRecord scan;
    scan.ocrSkipped = std::move(skipped);
    scan.clocksRead = std::move(clocks);
    scan.mixer = std::move(mixer);
    return scan;
  };
  auto failed = clean({}, std::vector<int>{1, 2}, "0.50");
  failed.failure = "no window";
  const struct {
    const char* name;
    std::vector<ScanRecord> scans;
    const char* readout;
    const char* mixer;
  } cases[] = {
      {"one skipped deck 2, another read its clock",
       {clean({2}, std::nullopt, "0.10"), clean({}, std::vector<int>{2}, "-|0.20"),
        clean({}, std::vector<int>{}, "")},
       "  time readout read: deck 1 0% of 3 reads, deck 2 50% of 2 reads (one-click load needs this to know "
       "a deck "
       "is stopped)",
       "  mixer (faders, EQ) read: 67% of 3 scans"},
      {"only failed scans",
       {failed, failed},
       "  time readout read: deck 1 n/a, deck 2 n/a (one-click load needs this to know a deck is stopped)",
       "  mixer (faders, EQ) read: n/a"},
  };
  for (const auto& c : cases) {
    DiagnosticsLog log;
    for (const auto& scan : c.scans) log.record(scan);
    const auto report = log.report("1", {}, std::nullopt);
    EXPECT_EQ(lineStartingWith(report, "  time readout read:"), c.readout) << c.name;
    EXPECT_EQ(lineStartingWith(report, "  mixer (faders, EQ) read:"), c.mixer) << c.name;
  }
}

TEST(DiagnosticsReport, AnEmptyOneClickCountShowsNoLine) {
  DiagnosticsLog log;
  log.summary.oneClick = std::map<std::string, std::int64_t>{};
  EXPECT_EQ(log.report("0.6.0 (12)", {}, std::nullopt), kEmptyReport);
}

}  // namespace
}  // namespace kesta
