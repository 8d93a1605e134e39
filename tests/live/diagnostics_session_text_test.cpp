#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "live/diagnostics_session.h"
#include "platform/json/json_coding.h"

namespace kesta {
namespace {

// A text needing every kind of escape, and text outside ASCII.
const std::string kOdd = "quote \" backslash \\ slash / tab \t newline \n bell \x07 del \x7f";
const std::string kNonAscii = "Café · 東京 · 🎧";

DeckObservation observed(DeckReading reading, std::optional<int> clock = std::nullopt,
                         std::optional<MixerReading> mixer = std::nullopt) {
  DeckObservation observation;
  observation.reading = std::move(reading);
  observation.clockSeconds = clock;
  observation.mixer = mixer;
  observation.rule = "exact";
  return observation;
}

Frame frame(std::uint64_t seq) {
  auto deck2 =
      observed(DeckReading::unmatched("sometitle|" + kNonAscii), std::nullopt, MixerReading{0.125, false});
  deck2.titleAreaChanged = seq % 2 == 0;
  const DeckReading readings[] = {DeckReading::track(std::to_string(seq), MatchStrength::strong),
                                  DeckReading::ambiguous({"1", "22", "333"}), DeckReading::empty(),
                                  DeckReading::noTitle()};
  return {seq, static_cast<double>(seq) / 4 + 0.1, observed(readings[seq % 4], static_cast<int>(seq)), deck2};
}

ScanRecord scan(std::uint64_t seq) {
  ScanRecord record(seq, Date{733000000.5 + static_cast<double>(seq)});
  record.captureMs = 9.5;
  record.ocrMs = 1.0 / 3;
  record.deck1 = "track/exact";
  record.deck2 = "unmatched";
  record.ocrSkipped = {2};
  if (seq % 2 == 0) record.clocksRead = std::vector<int>{1};
  if (seq % 3 == 0) record.failure = kOdd;
  record.events = {"load d1 empty→track", kNonAscii};
  record.mixer = "0.85|-";
  record.rawText = std::vector<std::string>{"Title", kOdd};
  return record;
}

DiagnosticsLog busyLog(bool rawText, std::uint64_t count) {
  DiagnosticsLog log(50);
  log.setIncludeRawText(rawText);
  for (std::uint64_t seq = 1; seq <= count; ++seq) {
    log.record(scan(seq));
    log.record(frame(seq));
    log.record(LoadLatency{seq, 2, 512.25, 1e-3, 7});
    log.recordLoopGap(250 + static_cast<double>(seq) / 7);
    log.recordRank(-0.0);
  }
  log.recordDJFlag();
  log.recordOneClick("loaded", kOdd);
  return log;
}

DiagnosticsSession session(DiagnosticsLog log) {
  return {"0.6.0 (12)", {{"macOS", "14.4"}, {"Mac", "Mac15,3"}}, Date{731365629.75}, std::move(log)};
}

struct Case {
  std::string name;
  std::function<DiagnosticsSession()> make;
};

const Case kCases[] = {
    {"an empty log", [] { return session(DiagnosticsLog()); }},
    {"an ended session whose frame list is present but empty",
     [] {
       auto s = session(DiagnosticsLog(0));
       s.log.frames.emplace();
       s.endedAt = Date{731368000};
       return s;
     }},
    {"lists past their bound, screen text kept",
     [] {
       auto s = session(busyLog(true, 70));
       s.log.framesTruncated = true;
       return s;
     }},
    {"screen text left out", [] { return session(busyLog(false, 12)); }},
    {"odd and non-ASCII strings in every small member",
     [] {
       auto s = session(busyLog(true, 3));
       s.appVersion = kOdd;
       s.environment = {{kOdd, kNonAscii}, {"a", ""}, {"B", "x"}, {"é", kOdd}, {"", "empty key"}};
       s.log.summary.readings[kNonAscii] = 5;
       return s;
     }},
};

TEST(DiagnosticsSessionText, IsTheTextOfTheWholeValueAndReadsBack) {
  for (const auto& c : kCases) {
    const auto original = c.make();
    const auto text = original.toJsonText();
    EXPECT_EQ(text, json::write(original.toJson())) << c.name;
    EXPECT_EQ(DiagnosticsSession::fromJson(json::parse(text)), original) << c.name;
  }
}

// Invalid UTF-8 is written as U+FFFD, the same way in both.
TEST(DiagnosticsSessionText, ReplacesInvalidUtf8LikeTheWholeValue) {
  auto s = session(busyLog(true, 2));
  s.environment["bad \xff\xfe key"] = "truncated \xe6\x9d";
  s.log.scans.back().events.push_back("lone continuation \x80");
  EXPECT_EQ(s.toJsonText(), json::write(s.toJson()));
}

TEST(DiagnosticsSessionText, RefusesNonFiniteNumbersWherever) {
  const std::function<void(DiagnosticsSession&)> spoil[] = {
      [](DiagnosticsSession& s) { s.startedAt = Date{std::numeric_limits<double>::infinity()}; },
      [](DiagnosticsSession& s) { s.log.loopGapsMs.back() = std::nan(""); },
      [](DiagnosticsSession& s) {
        auto spoilt = frame(4);
        spoilt.time = -std::numeric_limits<double>::infinity();
        s.log.record(spoilt);
      },
  };
  for (const auto& change : spoil) {
    auto s = session(busyLog(false, 3));
    change(s);
    EXPECT_THROW(json::write(s.toJson()), json::EncodingError);
    EXPECT_THROW(s.toJsonText(), json::EncodingError);
  }
}

// A full log's text is megabytes: the string holds it without doubling.
TEST(DiagnosticsSessionText, ReservesCloseToItsSize) {
  DiagnosticsLog log;
  for (std::uint64_t seq = 1; seq <= 3000; ++seq) {
    log.record(scan(seq));
    log.record(frame(seq));
  }
  const auto text = session(std::move(log)).toJsonText();
  EXPECT_GT(text.size(), 1'000'000u);
  EXPECT_LT(text.capacity(), text.size() + text.size() / 4);
}

}  // namespace
}  // namespace kesta
