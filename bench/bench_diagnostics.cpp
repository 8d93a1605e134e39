// What diagnostics cost the app: recording one engine update into a full log
// happens on the main thread four times a second, and every save copies the
// session on the main thread and encodes the copy on the store's writer thread.
// The heap figure is what each kept frame adds to the high-water mark of
// recording and saving, the mark glibc keeps as resident memory.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "heap_counter.h"
#include "live/diagnostics_session.h"

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

// A log of `frames` scans: from 2000 on every list but the frames is at its bound.
kesta::DiagnosticsLog logOf(std::uint64_t frames) {
  kesta::DiagnosticsLog log;
  for (std::uint64_t seq = 1; seq <= frames; ++seq) {
    log.record(scan(seq));
    log.record(frame(seq));
    log.recordLoopGap(250);
    log.recordRank(12);
    log.record(kesta::LoadLatency{seq, 1, 500, 20, 5});
  }
  return log;
}

kesta::DiagnosticsLog fullLog() { return logOf(kesta::DiagnosticsLog::frameCapacity); }

kesta::DiagnosticsSession sessionOf(kesta::DiagnosticsLog log) {
  return {"0.6.0", {{"macOS", "14.4"}}, kesta::Date{733000000}, std::move(log)};
}

std::string encode(const kesta::DiagnosticsSession& session) { return session.toJsonText(); }

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

void BM_CopyFullSession(benchmark::State& state) {
  const auto session = sessionOf(fullLog());
  for (auto _ : state) {
    const auto copy = session;
    benchmark::DoNotOptimize(copy.log.frames);
  }
}
BENCHMARK(BM_CopyFullSession)->Unit(benchmark::kMillisecond);

void BM_EncodeFullSession(benchmark::State& state) {
  const auto session = sessionOf(fullLog());
  for (auto _ : state) benchmark::DoNotOptimize(encode(session));
}
BENCHMARK(BM_EncodeFullSession)->Unit(benchmark::kMillisecond);

// The heap high-water above what was in use before recording `frames` scans
// and saving the session once: the live log, the copy the writer gets and the
// encoding of that copy.
double recordAndSaveHighWater(std::uint64_t frames) {
  using kesta::bench::HeapCounter::inUse;
  const std::size_t before = inUse();
  kesta::bench::HeapCounter::resetPeak();
  {
    const auto session = sessionOf(logOf(frames));
    const auto copy = session;
    benchmark::DoNotOptimize(encode(copy));
  }
  return static_cast<double>(kesta::bench::HeapCounter::peak() - before);
}

// Between 2400 and 6000 kept frames only the frame list grows.
void BM_HeapPerKeptFrame(benchmark::State& state) {
  for (auto _ : state) {
    const double fewer = recordAndSaveHighWater(2400);
    const double full = recordAndSaveHighWater(kesta::DiagnosticsLog::frameCapacity);
    state.counters["peak2400MB"] = fewer / 1e6;
    state.counters["peak6000MB"] = full / 1e6;
    state.counters["bytesPerFrame"] = (full - fewer) / (kesta::DiagnosticsLog::frameCapacity - 2400);
  }
}
BENCHMARK(BM_HeapPerKeptFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
