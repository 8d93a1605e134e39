#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/json/json_value.h"

namespace kesta {

// The one latency summary of the diagnostics: nearest-rank percentiles over a
// list of samples, in the samples' unit (milliseconds wherever it is used).
struct Percentiles {
  std::int64_t count = 0;
  double p50 = 0;
  double p95 = 0;
  double max = 0;

  Percentiles() = default;
  Percentiles(std::int64_t count, double p50, double p95, double max)
      : count(count), p50(p50), p95(p95), max(max) {}
  // Non-finite samples have no place in an order and are left out (and not
  // counted).
  explicit Percentiles(std::vector<double> samples);

  // "no samples", or "n=3 p50=12ms p95=40ms max=40ms".
  std::string summary() const;

  json::Value toJson() const;
  static Percentiles fromJson(const json::Value& value);

  friend bool operator==(const Percentiles&, const Percentiles&) = default;
};

}  // namespace kesta
