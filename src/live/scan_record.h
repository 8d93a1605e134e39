#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/json/json_value.h"
#include "platform/time/date.h"

namespace kesta {

// One scan of the live loop as kept for diagnostics. The scan loop makes it
// with `seq` and `at` and fills the rest as the scan proceeds.
struct ScanRecord {
  std::uint64_t seq = 0;
  Date at;
  double captureMs = 0;
  double ocrMs = 0;  // 0 when text recognition did not run
  double matchMs = 0;
  double trackerMs = 0;
  std::string deck1;  // the reading's kind, then "/" and the rule when there is one
  std::string deck2;
  std::vector<int> ocrSkipped;                      // decks whose text recognition was skipped
  std::optional<std::vector<int>> clocksRead;       // decks whose time readout was read
  std::optional<std::string> failure;               // why the window could not be captured
  std::vector<std::string> events;                  // tracker event lines and notes (see ScanNote)
  std::optional<std::string> mixer;                 // per channel "0.85", "0.85eq" or "-", joined by "|"
  std::optional<std::vector<std::string>> rawText;  // recognised lines, only when opted in

  ScanRecord() = default;
  ScanRecord(std::uint64_t seq, Date at) : seq(seq), at(at) {}

  double totalMs() const { return captureMs + ocrMs + matchMs + trackerMs; }

  // Object of the field names; absent optionals are left out. Decoding
  // requires every other key and ignores unknown ones.
  json::Value toJson() const;
  static ScanRecord fromJson(const json::Value& value);

  friend bool operator==(const ScanRecord&, const ScanRecord&) = default;
};

}  // namespace kesta
