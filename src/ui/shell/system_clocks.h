#pragma once

#include "model/ports/monotonic_clock.h"
#include "model/ports/wall_clock.h"

namespace kesta::ui {

// The machine's monotonic clock (seconds since system start). Any thread.
class SystemMonotonicClock : public model::MonotonicClock {
 public:
  double now() const override;
};

// The machine's calendar clock. Any thread.
class SystemWallClock : public model::WallClock {
 public:
  Date now() const override;
};

}  // namespace kesta::ui
