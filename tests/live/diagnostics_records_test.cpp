#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "live/diagnostics_summary.h"
#include "live/percentiles.h"
#include "live/scan_note.h"
#include "live/scan_record.h"
#include "platform/json/json_coding.h"

namespace kesta {
namespace {

std::vector<double> oneTo(int n) {
  std::vector<double> samples(static_cast<std::size_t>(n));
  std::iota(samples.begin(), samples.end(), 1.0);
  std::shuffle(samples.begin(), samples.end(), std::mt19937(7));
  return samples;
}

TEST(Percentiles, NearestRankWithoutInterpolation) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    std::vector<double> samples;
    Percentiles expected;
  } cases[] = {
      {{}, {0, 0, 0, 0}},
      {{12.4}, {1, 12.4, 12.4, 12.4}},
      {{9, 3}, {2, 3, 9, 9}},
      {{5, 1, 3}, {3, 3, 5, 5}},
      {oneTo(20), {20, 10, 19, 20}},
      {oneTo(100), {100, 50, 95, 100}},
      // Non-finite samples have no rank: they are neither counted nor picked.
      {{nan, 4, inf, 2, -inf}, {2, 2, 4, 4}},
      {{nan}, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Percentiles(c.samples), c.expected) << ::testing::PrintToString(c.samples);
  }
}

TEST(Percentiles, SummaryRoundsLikePrintf) {
  const struct {
    std::vector<double> samples;
    const char* summary;
  } cases[] = {
      {{}, "no samples"},
      {{12.4}, "n=1 p50=12ms p95=12ms max=12ms"},
      {{0.5, 1.5, 2.5}, "n=3 p50=2ms p95=2ms max=2ms"},
      {{0.49, 99.5, 1000.6}, "n=3 p50=100ms p95=1001ms max=1001ms"},
  };
  for (const auto& c : cases) EXPECT_EQ(Percentiles(c.samples).summary(), c.summary);
}

TEST(ScanRecord, StartsEmptyApartFromSeqAndDate) {
  const ScanRecord record(4, Date{100});
  EXPECT_EQ(record.totalMs(), 0);
  EXPECT_TRUE(record.deck1.empty() && record.deck2.empty());
  EXPECT_TRUE(record.ocrSkipped.empty() && record.events.empty());
  EXPECT_FALSE(record.clocksRead || record.failure || record.mixer || record.rawText);
  EXPECT_EQ(json::write(record.toJson()),
            R"({"at":100.0,"captureMs":0.0,"deck1":"","deck2":"","events":[],"matchMs":0.0,)"
            R"("ocrMs":0.0,"ocrSkipped":[],"seq":4,"trackerMs":0.0})");
}

ScanRecord fullRecord() {
  ScanRecord record(18446744073709551615u, Date{733000000.25});
  record.captureMs = 12.4;
  record.ocrMs = 40.6;
  record.matchMs = 0.26;
  record.trackerMs = 0.01;
  record.deck1 = "track/exact";
  record.deck2 = "unmatched/no-library-match";
  record.ocrSkipped = {2};
  record.clocksRead = std::vector<int>{1};
  record.failure = "rekordbox is not running";
  record.events = {"load d1 empty→track", "dj-flag: wrong track"};
  record.mixer = "0.85|0.00eq";
  record.rawText = std::vector<std::string>{"Some Title", "Some Artist"};
  return record;
}

TEST(ScanRecord, JsonRoundTripKeepsEveryField) {
  const auto record = fullRecord();
  const auto text = json::write(record.toJson());
  EXPECT_EQ(ScanRecord::fromJson(json::parse(text)), record);
  EXPECT_NE(text.find(R"("seq":18446744073709551615)"), std::string::npos);

  ScanRecord minimal(1, Date{2});
  minimal.clocksRead = std::vector<int>{};
  EXPECT_EQ(ScanRecord::fromJson(minimal.toJson()), minimal) << "present but empty stays present";
}

TEST(ScanRecord, DecodingNeedsEveryRequiredKey) {
  for (const char* key : {"seq", "at", "captureMs", "ocrMs", "matchMs", "trackerMs", "deck1", "deck2",
                          "ocrSkipped", "events"}) {
    auto value = fullRecord().toJson();
    value.erase(key);
    EXPECT_THROW(ScanRecord::fromJson(value), json::DecodingError) << key;
  }
  auto mistyped = fullRecord().toJson();
  mistyped["ocrSkipped"] = json::Value::array({"2"});
  EXPECT_THROW(ScanRecord::fromJson(mistyped), json::DecodingError);
}

TEST(DiagnosticsSummary, OptionalCountersAreLeftOutUntilUsed) {
  DiagnosticsSummary summary;
  summary.scans = 3;
  summary.readings = {{"empty", 2}, {"track", 4}};
  summary.loads = 1;
  const auto text = json::write(summary.toJson());
  EXPECT_EQ(text.find("djFlaggedWrong"), std::string::npos);
  EXPECT_EQ(text.find("oneClick"), std::string::npos);
  const auto back = DiagnosticsSummary::fromJson(json::parse(text));
  EXPECT_EQ(back, summary);
  EXPECT_FALSE(back.djFlaggedWrong || back.oneClick);

  summary.djFlaggedWrong = 2;
  summary.oneClick = std::map<std::string, std::int64_t>{{"loaded", 3}};
  EXPECT_EQ(DiagnosticsSummary::fromJson(summary.toJson()), summary);
}

TEST(ScanNote, TellsNotesFromEventLines) {
  const struct {
    const char* line;
    bool isEvent;
  } cases[] = {
      {"dj-flag: wrong track", false},       {"reconnect: decks unreadable", false},
      {"one-click: loaded", false},          {"one-clickety", false},
      {"Reconnect: decks unreadable", true},  // case matters
      {"load d2 empty→track", true},         {"", true},
  };
  for (const auto& c : cases) EXPECT_EQ(ScanNote::isTrackerEvent(c.line), c.isEvent) << c.line;
}

}  // namespace
}  // namespace kesta
