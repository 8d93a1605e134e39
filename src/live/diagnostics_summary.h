#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/json/json_value.h"

namespace kesta {

// The counters of one app run, raised by the recording operations of
// DiagnosticsLog. `readings` counts scans by their deck texts.
struct DiagnosticsSummary {
  std::int64_t scans = 0;
  std::int64_t captureFailures = 0;
  std::map<std::string, std::int64_t> readings;
  std::int64_t loads = 0;
  std::int64_t unloads = 0;
  std::int64_t refinements = 0;
  std::int64_t focusChanges = 0;
  std::int64_t startupAmbiguous = 0;
  std::int64_t staleFramesRejected = 0;
  std::int64_t changesRejected = 0;
  std::int64_t staleResultsDiscarded = 0;
  std::int64_t playEvidence = 0;
  std::optional<std::int64_t> djFlaggedWrong;                   // absent until the first flag
  std::optional<std::map<std::string, std::int64_t>> oneClick;  // by outcome, absent until the first

  // Object of the field names; "djFlaggedWrong" and "oneClick" only when present.
  json::Value toJson() const;
  static DiagnosticsSummary fromJson(const json::Value& value);

  friend bool operator==(const DiagnosticsSummary&, const DiagnosticsSummary&) = default;
};

}  // namespace kesta
