#include "platform/time/timing.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/time/clock.h"

namespace kesta {

Timing Timing::real() {
  return Timing{
      .now = Clock::now,
      .sleep =
          [](std::stop_token stop, double seconds) {
            if (!(seconds > 0)) return;
            std::mutex mutex;
            std::condition_variable_any wake;
            std::unique_lock lock(mutex);
            const auto nanoseconds = std::chrono::nanoseconds(static_cast<std::uint64_t>(seconds * 1e9));
            wake.wait_for(lock, stop, nanoseconds, [] { return false; });
          },
  };
}

}  // namespace kesta
