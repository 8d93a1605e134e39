#include "live/diagnostics_session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "platform/json/json_coding.h"

namespace kesta {
namespace {

// The export dates the session in the machine's time zone; the tests pin it.
class DiagnosticsSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) savedTz_ = tz;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    if (savedTz_) {
      setenv("TZ", savedTz_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::optional<std::string> savedTz_;
};

const Date kStarted{731365629.75};  // 2024-03-05 21:07:09.75 UTC
const Date kSaved{731367720};       // 21:42:00
const Date kEnded{731368000};       // 21:46:40

DiagnosticsSession session(DiagnosticsLog log = DiagnosticsLog()) {
  DiagnosticsSession out("0.6.0 (12)", {{"macOS", "14.4"}, {"Mac", "Mac15,3"}}, kStarted, std::move(log));
  out.updatedAt = kSaved;
  return out;
}

const DiagnosticsSession::Environment kMoment{{"Screen recording allowed", "yes"},
                                              {"rekordbox running", "no"}};

constexpr const char* kEmptyExport = R"(Kesta diagnostics report
App version: 0.6.0 (12)
Computer: Mac15,3
Screen capture allowed: yes
Session: 2024-03-05 21:07:09 → 2024-03-05 21:42:00 (app did not quit normally, or still running)
System: 14.4
rekordbox running: no

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

Screen text included: no

Recent scans (newest last)
)";

TEST_F(DiagnosticsSessionTest, ExportOfAnEmptySession) {
  EXPECT_EQ(session().exportText(std::nullopt, kMoment), kEmptyExport);
}

DiagnosticsLog fourScans() {
  DiagnosticsLog log;
  log.setIncludeRawText(true);
  ScanRecord first(1, Date{});
  first.captureMs = 12.4;
  first.ocrMs = 40.6;
  first.matchMs = 0.26;
  first.deck1 = "track/exact";
  first.deck2 = "empty";
  log.record(first);

  ScanRecord failed(2, Date{});
  failed.deck1 = failed.deck2 = "unreadable";
  failed.failure = "rekordbox is not running";
  failed.events = {"reconnect: decks unreadable", "dj-flag: wrong track"};
  log.record(failed);

  ScanRecord load(3, Date{});
  load.captureMs = 8;
  load.ocrMs = 35;
  load.matchMs = 1.25;
  load.deck1 = "track";
  load.deck2 = "track/exact";
  load.events = {"load d2 empty→track", "focus d2 #3 load"};
  load.rawText = std::vector<std::string>{"Some Title", "Some Artist"};
  log.record(load);

  ScanRecord quiet(4, Date{});
  quiet.captureMs = 9;
  quiet.matchMs = 0.04;
  quiet.deck1 = quiet.deck2 = "empty";
  quiet.rawText = std::vector<std::string>{};
  log.record(quiet);
  return log;
}

constexpr const char* kPopulatedExport = R"(Kesta diagnostics report
App version: 0.6.0 (12)
Computer: Mac15,3
Session: 2024-03-05 21:07:09 → 2024-03-05 21:46:40
System: 14.4

Stage timings (per scan)
  window capture: n=3 p50=9ms p95=12ms max=12ms
  text recognition: n=2 p50=35ms p95=41ms max=41ms
  matching: n=4 p50=0ms p95=1ms max=1ms
  load tracking: n=4 p50=0ms p95=0ms max=0ms
  scan total: n=3 p50=44ms p95=53ms max=53ms
  time between scan starts: no samples
  ranking suggestions: no samples

New load → recommendations on screen (from first capture showing the load)
  no samples
  add up to one scan interval for the time before that capture started.

Counts
  scans: 4, capture failures: 1
  deck readings: empty=3, track=1, track/exact=2, unreadable=2
  loads: 0, unloads: 0, refinements: 0, focus changes: 0
  ambiguous starts: 0, rejected changes: 0, stale frames: 0, stale results discarded: 0
  play evidence (deck clock ran 30 s+): 0
  time readout read: deck 1 0% of 3 reads, deck 2 0% of 3 reads (one-click load needs this to know a deck is stopped)
  mixer (faders, EQ) read: 0% of 3 scans
  DJ flagged 'wrong track': 0 (loads followed: 0)
  Note: apart from the DJ's flags, these are Kesta's own internal counts, not verified detection accuracy.

Screen text included: yes (opted in)

Recent scans (newest last)
#1 cap=12 ocr=41 match=0.3 d1=track/exact d2=empty 
#2 cap=0 ocr=0 match=0.0 d1=unreadable d2=unreadable FAIL rekordbox is not running reconnect: decks unreadable; dj-flag: wrong track
#3 cap=8 ocr=35 match=1.2 d1=track d2=track/exact load d2 empty→track; focus d2 #3 load
   text: Some Title | Some Artist
#4 cap=9 ocr=0 match=0.0 d1=empty d2=empty 
   text: 
)";

TEST_F(DiagnosticsSessionTest, ExportOfAPopulatedSession) {
  auto ended = session(fourScans());
  ended.endedAt = kEnded;
  EXPECT_EQ(ended.exportText(std::nullopt), kPopulatedExport);
}

TEST_F(DiagnosticsSessionTest, MomentFactsWinButChangeNothingStored) {
  const auto s = session();
  const auto text = s.exportText(std::nullopt, {{"macOS", "15.0"}, {"Session", "mine"}}, 0);
  EXPECT_NE(text.find("\nSystem: 15.0\n"), std::string::npos);
  EXPECT_EQ(text.find("mine"), std::string::npos);
  EXPECT_NE(text.find("\nSession: 2024-03-05 21:07:09 → "), std::string::npos);
  EXPECT_EQ(s.environment.at("macOS"), "14.4");
  EXPECT_FALSE(s.environment.contains("Session"));
}

TEST_F(DiagnosticsSessionTest, ListsTheNewestScansOldestFirst) {
  DiagnosticsLog log;
  for (std::uint64_t seq = 1; seq <= 400; ++seq) log.record(ScanRecord(seq, Date{}));
  const auto s = session(log);
  const auto lineCount = [](const std::string& text) {
    const auto list = text.substr(text.find("Recent scans (newest last)\n"));
    return std::count(list.begin(), list.end(), '\n') - 1;
  };
  EXPECT_EQ(lineCount(s.exportText(std::nullopt)), 300);
  const auto text = s.exportText(std::nullopt);
  EXPECT_NE(text.find("\n#101 cap=0"), std::string::npos);
  EXPECT_EQ(text.find("\n#100 cap=0"), std::string::npos);
  EXPECT_TRUE(text.ends_with("#400 cap=0 ocr=0 match=0.0 d1= d2= \n"));
  EXPECT_TRUE(s.exportText(std::nullopt, {}, 0)
                  .ends_with("Screen text included: no\n\nRecent scans (newest last)\n"));

  DiagnosticsLog five;
  for (std::uint64_t seq = 1; seq <= 5; ++seq) five.record(ScanRecord(seq, Date{}));
  EXPECT_EQ(lineCount(session(five).exportText(std::nullopt)), 5);
}

TEST(DiagnosticsSession, ANewSessionHasAnIdAndNoEnd) {
  const DiagnosticsSession fresh("1.0", {});
  EXPECT_EQ(fresh.id.size(), 36u);
  EXPECT_EQ(fresh.updatedAt, fresh.startedAt);
  EXPECT_FALSE(fresh.endedAt);
  EXPECT_TRUE(fresh.log.isEmpty());
  EXPECT_NE(DiagnosticsSession("1.0", {}).id, fresh.id);
  const auto stored = fresh.toJson();
  EXPECT_FALSE(stored.contains("endedAt"));
  EXPECT_EQ(stored.at("startedAt"), stored.at("updatedAt"));
}

TEST(DiagnosticsSession, JsonRoundTripWithAndWithoutEnd) {
  auto s = session(fourScans());
  DeckObservation unlisted;
  unlisted.reading = DeckReading::unmatched("x|y");
  unlisted.clockSeconds = 3;
  s.log.record(Frame{.seq = 1, .time = 2.5, .deck1 = DeckObservation::unreadable(), .deck2 = unlisted});
  for (const auto& ended : {std::optional<Date>{}, std::optional<Date>{kEnded}}) {
    s.endedAt = ended;
    const auto text = json::write(s.toJson());
    EXPECT_EQ(text.find("endedAt") != std::string::npos, ended.has_value());
    EXPECT_EQ(DiagnosticsSession::fromJson(json::parse(text)), s);
  }
}

TEST(DiagnosticsSession, DecodingRefusesAnIncompleteSession) {
  const auto stored = session().toJson();
  for (const char* key : {"id", "startedAt", "updatedAt", "appVersion", "environment", "log"}) {
    auto value = stored;
    value.erase(key);
    EXPECT_THROW(DiagnosticsSession::fromJson(value), json::DecodingError) << key;
  }
  const struct {
    const char* key;
    json::Value value;
  } wrong[] = {
      {"id", "not-a-uuid"},        {"id", "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F"},
      {"startedAt", "2024-03-05"}, {"environment", json::Value{{"macOS", 14}}},
      {"endedAt", true},
  };
  for (const auto& w : wrong) {
    auto value = stored;
    value[w.key] = w.value;
    EXPECT_THROW(DiagnosticsSession::fromJson(value), json::DecodingError) << w.key;
  }
  auto lower = stored;
  lower["id"] = "0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0";
  EXPECT_EQ(DiagnosticsSession::fromJson(lower).id, "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0");
}

}  // namespace
}  // namespace kesta
