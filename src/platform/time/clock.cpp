#include "platform/time/clock.h"

#include <time.h>

namespace kesta::Clock {

double now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const long long nanoseconds = static_cast<long long>(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
  return static_cast<double>(nanoseconds) / 1e9;
}

}  // namespace kesta::Clock
