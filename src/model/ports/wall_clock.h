#pragma once

#include "platform/time/date.h"

namespace kesta::model {

// The calendar date and time: what sets, diagnostics and resume points are
// dated with. Safe from any thread.
class WallClock {
 public:
  virtual ~WallClock() = default;
  virtual Date now() const = 0;
};

}  // namespace kesta::model
