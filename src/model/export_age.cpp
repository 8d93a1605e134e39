#include "model/export_age.h"

#include <time.h>

#include <chrono>
#include <cmath>

namespace kesta::model {
namespace {

// About 3,000 years either side of 1970: far inside what time_t and the
// calendar's years can hold.
constexpr double kFarthestSeconds = 1e11;

// The local calendar day that holds `date`, as days since 1970-01-01.
std::optional<std::chrono::sys_days> localDay(Date date) {
  const double seconds = std::floor(date.unixSeconds());
  if (!(std::fabs(seconds) <= kFarthestSeconds)) return std::nullopt;  // NaN included
  const auto time = static_cast<time_t>(seconds);
  tm local{};
  if (localtime_r(&time, &local) == nullptr) return std::nullopt;
  const std::chrono::year_month_day day{std::chrono::year{local.tm_year + 1900},
                                        std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                        std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
  if (!day.ok()) return std::nullopt;
  return std::chrono::sys_days{day};
}

}  // namespace

std::optional<long> localCalendarDaysBetween(Date earlier, Date later) {
  const auto from = localDay(earlier);
  const auto to = localDay(later);
  if (!from || !to) return std::nullopt;
  return static_cast<long>((*to - *from).count());
}

std::string exportAgeText(Date modifiedAt, Date now) {
  const auto days = localCalendarDaysBetween(modifiedAt, now);
  if (!days || *days < 1) return "exported today";
  if (*days == 1) return "exported yesterday";
  return "exported " + std::to_string(*days) + " days ago";
}

}  // namespace kesta::model
