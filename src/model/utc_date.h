#pragma once

#include <string>

#include "platform/time/date.h"

// Calendar forms of a date in UTC, independent of the machine's time zone and
// locale. Fractions of a second are dropped (rounded towards the past). A date
// that is not a finite number, or lies further than 190 000 years from now, is
// written as the reference date, 2001-01-01T00:00:00Z.
namespace kesta::model {

// "2026-03-15": year, month and day with dashes.
std::string utcDay(Date date);

// "2026-03-15T04:30:09Z": ISO 8601 extended form without fractional seconds.
std::string utcDateTime(Date date);

}  // namespace kesta::model
