#include "live/percentiles.h"

#include <algorithm>
#include <cmath>

#include "platform/json/json_coding.h"
#include "platform/text/numbers.h"

namespace kesta {

Percentiles::Percentiles(std::vector<double> samples) {
  std::erase_if(samples, [](double sample) { return !std::isfinite(sample); });
  count = static_cast<std::int64_t>(samples.size());
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  const auto pick = [&](double q) {
    const auto rank = static_cast<std::int64_t>(std::ceil(static_cast<double>(count) * q)) - 1;
    return samples[static_cast<std::size_t>(std::clamp<std::int64_t>(rank, 0, count - 1))];
  };
  p50 = pick(0.5);
  p95 = pick(0.95);
  max = samples.back();
}

std::string Percentiles::summary() const {
  if (count == 0) return "no samples";
  return "n=" + std::to_string(count) + " p50=" + numbers::formatFixed(p50, 0) +
         "ms p95=" + numbers::formatFixed(p95, 0) + "ms max=" + numbers::formatFixed(max, 0) + "ms";
}

json::Value Percentiles::toJson() const {
  return {{"count", count}, {"p50", p50}, {"p95", p95}, {"max", max}};
}

Percentiles Percentiles::fromJson(const json::Value& value) {
  return {json::integerField(value, "count"), json::numberField(value, "p50"),
          json::numberField(value, "p95"), json::numberField(value, "max")};
}

}  // namespace kesta
