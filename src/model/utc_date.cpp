#include "model/utc_date.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace kesta::model {
namespace {

struct CivilTime {
  int year = 2001;
  unsigned month = 1;
  unsigned day = 1;
  std::int64_t secondOfDay = 0;
};

CivilTime civil(Date date) {
  using namespace std::chrono;
  const double unix = date.unixSeconds();
  // Years beyond ±200 000 are outside what any stored date holds and would
  // overflow the calendar arithmetic.
  constexpr double kLimit = 6.0e12;
  if (!std::isfinite(unix) || std::fabs(unix) > kLimit) return {};
  const sys_seconds at{seconds{static_cast<std::int64_t>(std::floor(unix))}};
  const sys_days day = floor<days>(at);
  const year_month_day ymd{day};
  return {static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
          (at - day).count()};
}

std::string formatDay(const CivilTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", time.year, time.month, time.day);
  return text;
}

}  // namespace

std::string utcDay(Date date) { return formatDay(civil(date)); }

std::string utcDateTime(Date date) {
  const CivilTime time = civil(date);
  const auto second = static_cast<int>(time.secondOfDay);
  char clock[32];
  std::snprintf(clock, sizeof clock, "T%02d:%02d:%02dZ", second / 3600, second / 60 % 60, second % 60);
  return formatDay(time) + clock;
}

}  // namespace kesta::model
