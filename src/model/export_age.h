#pragma once

#include <optional>
#include <string>

#include "platform/time/date.h"

namespace kesta::model {

// How old the collection export is, in local calendar days (the process's
// time zone, as `TZ` sets it): "exported today" for the same day, an
// unknowable day or a date in the future, "exported yesterday" for the day
// before, else "exported <n> days ago". A file written at 23:59 and read at
// 00:01 is a day old.
std::string exportAgeText(Date modifiedAt, Date now);

// Whole local calendar days from the day of `earlier` to the day of `later`;
// absent when either date has no local calendar day.
std::optional<long> localCalendarDaysBetween(Date earlier, Date later);

}  // namespace kesta::model
