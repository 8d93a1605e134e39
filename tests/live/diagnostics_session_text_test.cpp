#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "live/diagnostics_session.h"
#include "platform/json/json_coding.h"

namespace kesta {
namespace {

// A text needing every kind of escape, and text outside ASCII.
const std::string kOdd = "quote \" backslash \\ slash / tab \t newline \n bell \x07 del \x7f";
const std::string kNonAscii = "Café · 東京 · 🎧";

Frame frame(std::uint64_t seq) {
  const DeckReading readings[] = {DeckReading::track(std::to_string(seq), MatchStrength::strong),
                                  DeckReading::ambiguous({"1", "22"}), DeckReading::empty()};
  Frame out;
  out.seq = seq;
  out.time = static_cast<double>(seq) / 4 + 0.1;
  out.deck1.reading = readings[seq % 3];
  out.deck1.clockSeconds = static_cast<int>(seq);
  out.deck2.reading = DeckReading::unmatched("sometitle|" + kNonAscii);
  out.deck2.mixer = MixerReading{0.125, false};
  out.deck2.titleAreaChanged = seq % 2 == 0;
  out.deck2.rule = "no-library-match";
  return out;
}

ScanRecord scan(std::uint64_t seq) {
  ScanRecord record(seq, Date{733000000.5 + static_cast<double>(seq)});
  record.ocrMs = 1.0 / 3;
  record.deck1 = "track/exact";
  if (seq % 2 == 0) record.clocksRead = std::vector<int>{1};
  if (seq % 3 == 0) record.failure = kOdd;
  record.events = {"load d1 empty→track", kNonAscii};
  record.rawText = std::vector<std::string>{"Title", kOdd};
  return record;
}

// Every list past a bound of 50 after 70 scans.
DiagnosticsSession session(bool rawText = true, std::uint64_t scans = 70) {
  DiagnosticsLog log(50);
  log.setIncludeRawText(rawText);
  for (std::uint64_t seq = 1; seq <= scans; ++seq) {
    log.record(scan(seq));
    log.record(frame(seq));
    log.record(LoadLatency{seq, 2, 512.25, 1e-3, 7});
    log.recordLoopGap(250 + static_cast<double>(seq) / 7);
    log.recordRank(-0.0);
  }
  log.recordOneClick("loaded", kOdd);
  return {"0.6.0 (12)", {{"macOS", "14.4"}, {"Mac", "Mac15,3"}}, Date{731365629.75}, std::move(log)};
}

TEST(DiagnosticsSessionText, IsTheTextOfTheWholeValue) {
  struct Case {
    std::string name;
    std::function<void(DiagnosticsSession&)> change;
    bool readsBack = true;
  };
  const Case cases[] = {
      {"an empty log", [](DiagnosticsSession& s) { s.log = DiagnosticsLog(); }},
      {"an ended session whose frame list is present but empty",
       [](DiagnosticsSession& s) {
         s.log = DiagnosticsLog(0);
         s.log.frames.emplace();
         s.endedAt = Date{731368000};
       }},
      {"dropped frames", [](DiagnosticsSession& s) { s.log.framesTruncated = true; }},
      {"screen text left out", [](DiagnosticsSession& s) { s.log.setIncludeRawText(false); }},
      {"odd keys and values in the small members",
       [](DiagnosticsSession& s) {
         s.appVersion = kOdd;
         s.environment = {{kOdd, kNonAscii}, {"a", ""}, {"B", "x"}, {"é", kOdd}, {"", "empty key"}};
         s.log.summary.readings[kNonAscii] = 5;
       }},
      {"invalid UTF-8, replaced alike",
       [](DiagnosticsSession& s) {
         s.environment["bad \xff\xfe key"] = "truncated \xe6\x9d";
         s.log.scans.back().events.push_back("lone continuation \x80");
       },
       false},
  };
  for (const auto& c : cases) {
    auto original = session();
    c.change(original);
    const auto text = original.toJsonText();
    EXPECT_EQ(text, json::write(original.toJson())) << c.name;
    if (c.readsBack) {
      EXPECT_EQ(DiagnosticsSession::fromJson(json::parse(text)), original) << c.name;
    }
  }
}

TEST(DiagnosticsSessionText, RefusesNonFiniteNumbersWherever) {
  const std::function<void(DiagnosticsSession&)> spoil[] = {
      [](DiagnosticsSession& s) { s.startedAt = Date{INFINITY}; },
      [](DiagnosticsSession& s) { s.log.loopGapsMs.back() = NAN; },
      [](DiagnosticsSession& s) {
        auto spoilt = frame(4);
        spoilt.time = -INFINITY;
        s.log.record(spoilt);
      },
  };
  for (const auto& change : spoil) {
    auto s = session(false, 3);
    change(s);
    EXPECT_THROW(json::write(s.toJson()), json::EncodingError);
    EXPECT_THROW(s.toJsonText(), json::EncodingError);
  }
}

// A long log's text runs to megabytes: the string holds it without doubling.
TEST(DiagnosticsSessionText, ReservesCloseToItsSize) {
  auto s = session(true, 0);
  for (std::uint64_t seq = 1; seq <= 3000; ++seq) s.log.record(frame(seq));
  const auto text = s.toJsonText();
  EXPECT_GT(text.size(), 500'000u);
  EXPECT_LT(text.capacity(), text.size() + text.size() / 4);
}

}  // namespace
}  // namespace kesta
