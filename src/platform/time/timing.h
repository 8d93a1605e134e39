#pragma once

#include <functional>
#include <stop_token>

namespace kesta {

// Time as a long-running component sees it: the monotonic clock and a sleep
// that a stop request ends early. Tests replace both to run in virtual time.
struct Timing {
  std::function<double()> now;
  // Sleeps `seconds`, ending early when `stop` is requested.
  std::function<void(std::stop_token stop, double seconds)> sleep;

  // Clock::now and real, cancellable sleeps.
  static Timing real();
};

}  // namespace kesta
