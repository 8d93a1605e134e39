#pragma once

#include "model/ports/monotonic_clock.h"
#include "model/ports/wall_clock.h"

namespace kesta::test {
using namespace kesta::model;

class FakeMonotonicClock : public MonotonicClock {
 public:
  double now() const override { return seconds; }
  double seconds = 1000;
};

class FakeWallClock : public WallClock {
 public:
  Date now() const override { return date; }
  Date date = Date::fromUnixSeconds(1'780'000'000);  // a fixed day in 2026
};

}  // namespace kesta::test
