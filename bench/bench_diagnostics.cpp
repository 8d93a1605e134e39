// What diagnostics cost the app: recording one engine update into a full log
// happens on the main thread four times a second, and a full session is encoded
// for every save.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "live/diagnostics_session.h"
#include "platform/json/json_coding.h"

namespace {

kesta::ScanRecord scan(std::uint64_t seq) {
  kesta::ScanRecord record(seq, kesta::Date{733000000.0 + static_cast<double>(seq) / 4});
  record.captureMs = 9.5;
  record.ocrMs = 38.2;
  record.matchMs = 0.4;
  record.trackerMs = 0.02;
  record.deck1 = "track/exact";
  record.deck2 = "unmatched/no-library-match";
  record.clocksRead = std::vector<int>{1, 2};
  record.mixer = "0.85|0.00eq";
  return record;
}

kesta::Frame frame(std::uint64_t seq) {
  kesta::DeckObservation deck1;
  deck1.reading = kesta::DeckReading::track("12345", kesta::MatchStrength::strong);
  deck1.clockSeconds = static_cast<int>(seq / 4);
  deck1.rule = "exact";
  deck1.mixer = kesta::MixerReading{0.85, true};
  kesta::DeckObservation deck2 = deck1;
  deck2.reading = kesta::DeckReading::unmatched("someunlistedtitle|someartist");
  deck2.rule = "no-library-match";
  return {seq, static_cast<double>(seq) / 4, deck1, deck2};
}

// A log at every bound: 2000 scans, latencies, gaps and ranking times, 6000 frames.
kesta::DiagnosticsLog fullLog() {
  kesta::DiagnosticsLog log;
  for (std::uint64_t seq = 1; seq <= kesta::DiagnosticsLog::frameCapacity; ++seq) {
    log.record(scan(seq));
    log.record(frame(seq));
    log.recordLoopGap(250);
    log.recordRank(12);
    log.record(kesta::LoadLatency{seq, 1, 500, 20, 5});
  }
  return log;
}

void BM_RecordUpdateIntoFullLog(benchmark::State& state) {
  auto log = fullLog();
  std::uint64_t seq = kesta::DiagnosticsLog::frameCapacity;
  const std::vector<kesta::TrackerEvent> events{kesta::TrackerEvent::playEvidence(1, "12345")};
  for (auto _ : state) {
    ++seq;
    log.record(scan(seq));
    log.record(frame(seq));
    log.record(events);
    log.recordLoopGap(250);
  }
  benchmark::DoNotOptimize(log.scans.back());
}
BENCHMARK(BM_RecordUpdateIntoFullLog);

void BM_EncodeFullSession(benchmark::State& state) {
  const kesta::DiagnosticsSession session("0.6.0", {{"macOS", "14.4"}}, kesta::Date{733000000}, fullLog());
  for (auto _ : state) benchmark::DoNotOptimize(kesta::json::write(session.toJson()));
}
BENCHMARK(BM_EncodeFullSession)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
