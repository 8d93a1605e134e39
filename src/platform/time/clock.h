#pragma once

// The monotonic time source of the whole system: every stage timing, gap and
// time-out is a difference of two readings. It never follows the wall clock.
namespace kesta::Clock {

// Seconds since system start.
double now();

}  // namespace kesta::Clock
