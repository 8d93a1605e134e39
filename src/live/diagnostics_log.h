#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "library/import_report.h"
#include "live/diagnostics_summary.h"
#include "live/frame_list.h"
#include "live/load_latency.h"
#include "live/scan_record.h"
#include "live/tracker_event.h"
#include "platform/json/json_value.h"

namespace kesta {

// The bounded record of one app run's live loop: the last scans, load
// latencies, gaps between scan starts and ranking times, the run's counters
// and, optionally, the frames the tracker saw. Lists drop their oldest entries
// first. Screen text is kept only while the user opts in; otherwise recognised
// lines are dropped and unmatched text in frames is hashed.
class DiagnosticsLog {
 public:
  static constexpr std::int64_t defaultCapacity = 2000;
  static constexpr std::size_t frameCapacity = 6000;

  std::deque<ScanRecord> scans;  // oldest first, like every list here
  std::deque<LoadLatency> latencies;
  std::deque<double> loopGapsMs;
  std::deque<double> rankMs;
  DiagnosticsSummary summary;
  std::optional<FrameList> frames;          // absent until the first kept frame
  std::optional<bool> framesTruncated;      // true once old frames were dropped
  std::int64_t capacity = defaultCapacity;  // bound of scans, latencies, gaps and ranking times

  explicit DiagnosticsLog(std::int64_t capacity = defaultCapacity);

  bool includeRawText() const { return includeRawText_; }
  // The user's choice. Turning it off also drops the recognised lines already
  // kept and hashes the kept frames, so "Screen text included: no" holds for
  // everything the log holds from then on.
  void setIncludeRawText(bool include);

  // The app model records each engine update in this order: the scan record,
  // the frame, the events, then the gap since the previous scan start.
  void record(const ScanRecord& record);
  void record(const Frame& frame);
  void record(std::span<const TrackerEvent> events);
  void record(const LoadLatency& latency);
  void recordLoopGap(double milliseconds);
  void recordRank(double milliseconds);
  void staleResultDiscarded();
  // Counts the flag and notes it on the newest scan record, when there is one.
  void recordDJFlag();
  // Counts the outcome and notes it, with the detail, on the newest scan record.
  void recordOneClick(const std::string& outcome, const std::optional<std::string>& detail = std::nullopt);

  // No scans, latencies or ranking times (gaps, counters and frames aside).
  bool isEmpty() const;

  // The plain-text report, lines joined by "\n" with none after the last.
  std::string report(const std::string& appVersion, const std::map<std::string, std::string>& environment,
                     const std::optional<ImportReport>& library) const;

  // {"scans", "latencies", "loopGapsMs", "rankMs", "summary", "frames"?,
  // "framesTruncated"?, "includeRawText", "capacity"}. Decoding requires every
  // key but the two optional ones and reads a negative capacity as 0.
  json::Value toJson() const;
  // Appends the text json::write(toJson()) gives, without building that
  // Value: each list element is encoded on its own. Reserves room for the
  // whole log first. Throws json::EncodingError on a non-finite number.
  void appendJson(std::string& out) const;
  static DiagnosticsLog fromJson(const json::Value& value);

  friend bool operator==(const DiagnosticsLog&, const DiagnosticsLog&) = default;

 private:
  // `capacity` as a list size; a negative one keeps nothing.
  std::size_t bound() const;

  bool includeRawText_ = false;
};

}  // namespace kesta
