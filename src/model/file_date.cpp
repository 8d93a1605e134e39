#include "model/file_date.h"

#include <sys/stat.h>

#include <cmath>

namespace kesta::model {
namespace {

constexpr double kMicrosecondsPerSecond = 1e6;

// Seconds since the reference date as a count of microseconds. 2001 as the
// origin keeps the count small enough for a double to carry every microsecond.
long long wholeMicroseconds(Date date) {
  return std::llround(date.secondsSinceReference * kMicrosecondsPerSecond);
}

}  // namespace

std::optional<Date> fileModificationDate(const std::filesystem::path& file) {
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) return std::nullopt;
  const long long seconds =
      static_cast<long long>(status.st_mtim.tv_sec) - static_cast<long long>(Date::kUnixSecondsAtReference);
  const long long micros = (status.st_mtim.tv_nsec + 500) / 1000;
  return Date{(static_cast<double>(seconds) * kMicrosecondsPerSecond + static_cast<double>(micros)) /
              kMicrosecondsPerSecond};
}

bool sameModificationDate(Date a, Date b) { return wholeMicroseconds(a) == wholeMicroseconds(b); }

}  // namespace kesta::model
