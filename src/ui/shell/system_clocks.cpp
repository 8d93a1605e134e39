#include "ui/shell/system_clocks.h"

#include "platform/time/clock.h"

namespace kesta::ui {

double SystemMonotonicClock::now() const { return Clock::now(); }

Date SystemWallClock::now() const { return Date::now(); }

}  // namespace kesta::ui
