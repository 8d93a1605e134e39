#pragma once

namespace kesta::model {

// Seconds since system start (the `Clock` of the library): latencies and
// time-outs are differences of two readings. Safe from any thread.
class MonotonicClock {
 public:
  virtual ~MonotonicClock() = default;
  virtual double now() const = 0;
};

}  // namespace kesta::model
