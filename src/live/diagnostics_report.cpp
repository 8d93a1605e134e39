#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "live/diagnostics_log.h"
#include "live/percentiles.h"

namespace kesta {

namespace {

// "key=value, key=value", keys in ascending order (std::map compares UTF-8
// bytes, which is the order of Unicode scalars).
template <class Count>
std::string countList(const std::map<std::string, Count>& counts) {
  std::string out;
  for (const auto& [key, count] : counts) {
    if (!out.empty()) out += ", ";
    out += key + "=" + std::to_string(count);
  }
  return out;
}

// Halves round away from zero.
std::string percentage(std::size_t part, std::size_t whole) {
  const double share = static_cast<double>(part) / static_cast<double>(whole) * 100.0;
  return std::to_string(static_cast<std::int64_t>(std::round(share)));
}

template <class Records, class Keep, class Sample>
std::string summaryOf(const Records& records, Keep keep, Sample sample) {
  std::vector<double> samples;
  for (const auto& record : records) {
    if (keep(record)) samples.push_back(sample(record));
  }
  return Percentiles(std::move(samples)).summary();
}

bool isClean(const ScanRecord& scan) { return !scan.failure; }
bool always(const ScanRecord&) { return true; }

bool contains(const std::vector<int>& decks, int deck) {
  return std::find(decks.begin(), decks.end(), deck) != decks.end();
}

bool hasDigit(const std::optional<std::string>& text) {
  return text && std::any_of(text->begin(), text->end(), [](char c) { return c >= '0' && c <= '9'; });
}

// How often a deck's time readout was read, among the clean scans that ran
// text recognition on that deck.
std::string share(const std::deque<ScanRecord>& scans, int deck) {
  std::size_t eligible = 0;
  std::size_t read = 0;
  for (const auto& scan : scans) {
    if (!isClean(scan) || contains(scan.ocrSkipped, deck)) continue;
    ++eligible;
    if (scan.clocksRead && contains(*scan.clocksRead, deck)) ++read;
  }
  if (eligible == 0) return "n/a";
  return percentage(read, eligible) + "% of " + std::to_string(eligible) + " reads";
}

std::string mixerShare(const std::deque<ScanRecord>& scans) {
  std::size_t clean = 0;
  std::size_t read = 0;
  for (const auto& scan : scans) {
    if (!isClean(scan)) continue;
    ++clean;
    if (hasDigit(scan.mixer)) ++read;
  }
  if (clean == 0) return "n/a";
  return percentage(read, clean) + "% of " + std::to_string(clean) + " scans";
}

void appendLibrary(std::vector<std::string>& lines, const ImportReport& library) {
  using std::to_string;
  lines.emplace_back();
  lines.emplace_back("Library (counts only)");
  lines.push_back(
      "  tracks: " + to_string(library.totalEntries) + ", suggestible: " + to_string(library.recommendable) +
      ", missing BPM: " + to_string(library.missingBPM) + ", missing key: " + to_string(library.missingKey));
  lines.push_back("  key notations: " + countList(library.keyNotations));
  lines.push_back("  sources: " + countList(library.sources));
  lines.push_back("  unrecognised locations: " + to_string(library.unrecognisedLocations) +
                  ", energy-tagged: " + to_string(library.energyTagged));
  lines.push_back("  playlists: " + to_string(library.playlists) + ", folders: " +
                  to_string(library.folders) + ", empty: " + to_string(library.emptyPlaylists) +
                  ", repeated names: " + to_string(library.repeatedPlaylistNames) +
                  ", unresolved entries: " + to_string(library.unresolvedPlaylistEntries));
  lines.push_back("  duplicate songs: " + to_string(library.duplicateSongs) +
                  ", duplicate TrackIDs: " + to_string(library.duplicateTrackIDs));
  if (!library.unrecognisedKeyValues.empty()) {
    std::string values;
    const auto shown = std::min<std::size_t>(library.unrecognisedKeyValues.size(), 8);
    for (std::size_t i = 0; i < shown; ++i) {
      if (i > 0) values += ", ";
      values += library.unrecognisedKeyValues[i];
    }
    lines.push_back("  unrecognised key values: " + values);
  }
}

void appendTimings(std::vector<std::string>& lines, const DiagnosticsLog& log) {
  const auto& scans = log.scans;
  lines.emplace_back();
  lines.emplace_back("Stage timings (per scan)");
  lines.push_back("  window capture: " +
                  summaryOf(scans, isClean, [](const ScanRecord& s) { return s.captureMs; }));
  lines.push_back("  text recognition: " + summaryOf(
                                               scans, [](const ScanRecord& s) { return s.ocrMs > 0; },
                                               [](const ScanRecord& s) { return s.ocrMs; }));
  lines.push_back("  matching: " + summaryOf(scans, always, [](const ScanRecord& s) { return s.matchMs; }));
  lines.push_back("  load tracking: " +
                  summaryOf(scans, always, [](const ScanRecord& s) { return s.trackerMs; }));
  lines.push_back("  scan total: " +
                  summaryOf(scans, isClean, [](const ScanRecord& s) { return s.totalMs(); }));
  lines.push_back("  time between scan starts: " +
                  Percentiles({log.loopGapsMs.begin(), log.loopGapsMs.end()}).summary());
  lines.push_back("  ranking suggestions: " + Percentiles({log.rankMs.begin(), log.rankMs.end()}).summary());

  lines.emplace_back();
  lines.emplace_back("New load → recommendations on screen (from first capture showing the load)");
  lines.push_back("  " + summaryOf(
                             log.latencies, [](const LoadLatency&) { return true; },
                             [](const LoadLatency& latency) { return latency.totalMs(); }));
  lines.emplace_back("  add up to one scan interval for the time before that capture started.");
}

void appendCounts(std::vector<std::string>& lines, const DiagnosticsLog& log) {
  using std::to_string;
  const DiagnosticsSummary& summary = log.summary;
  lines.emplace_back();
  lines.emplace_back("Counts");
  lines.push_back("  scans: " + to_string(summary.scans) +
                  ", capture failures: " + to_string(summary.captureFailures));
  lines.push_back("  deck readings: " + countList(summary.readings));
  lines.push_back("  loads: " + to_string(summary.loads) + ", unloads: " + to_string(summary.unloads) +
                  ", refinements: " + to_string(summary.refinements) +
                  ", focus changes: " + to_string(summary.focusChanges));
  lines.push_back("  ambiguous starts: " + to_string(summary.startupAmbiguous) +
                  ", rejected changes: " + to_string(summary.changesRejected) +
                  ", stale frames: " + to_string(summary.staleFramesRejected) +
                  ", stale results discarded: " + to_string(summary.staleResultsDiscarded));
  lines.push_back("  play evidence (deck clock ran 30 s+): " + to_string(summary.playEvidence));
  if (!log.scans.empty()) {
    lines.push_back("  time readout read: deck 1 " + share(log.scans, 1) + ", deck 2 " + share(log.scans, 2) +
                    " (one-click load needs this to know a deck is stopped)");
    lines.push_back("  mixer (faders, EQ) read: " + mixerShare(log.scans));
  }
  if (summary.oneClick && !summary.oneClick->empty()) {
    lines.push_back("  one-click load (experimental): " + countList(*summary.oneClick));
  }
  lines.push_back("  DJ flagged 'wrong track': " + to_string(summary.djFlaggedWrong.value_or(0)) +
                  " (loads followed: " + to_string(summary.loads) + ")");
  lines.emplace_back(
      "  Note: apart from the DJ's flags, these are Kesta's own internal counts, not verified detection "
      "accuracy.");
}

// The stored keys name the Mac's facts; the report says what they hold on any
// machine. Other keys are shown as they are.
std::string environmentLabel(const std::string& key) {
  if (key == "Mac") return "Computer";
  if (key == "macOS") return "System";
  if (key == "Screen recording allowed") return "Screen capture allowed";
  return key;
}

}  // namespace

std::string DiagnosticsLog::report(const std::string& appVersion,
                                   const std::map<std::string, std::string>& environment,
                                   const std::optional<ImportReport>& library) const {
  std::vector<std::string> lines;
  lines.emplace_back("Kesta diagnostics report");
  lines.push_back("App version: " + appVersion);
  for (const auto& [key, value] : environment) {
    // A fact the machine did not give is left out, not shown blank.
    if (value.find_first_not_of(' ') == std::string::npos) continue;
    lines.push_back(environmentLabel(key) + ": " + value);
  }
  appendTimings(lines, *this);
  appendCounts(lines, *this);
  if (library) appendLibrary(lines, *library);

  lines.emplace_back();
  lines.push_back(std::string("Screen text included: ") + (includeRawText_ ? "yes (opted in)" : "no"));

  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

}  // namespace kesta
