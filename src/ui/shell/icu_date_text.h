#pragma once

#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <string>

#include "platform/time/date.h"

namespace kesta::ui {

// Dates and times as the user's language writes them, through ICU, so the
// set history reads like the rest of the desktop. The language is the
// environment's for times: LC_ALL, then LC_TIME, then LANG, the first that is
// set and not empty; "C" and "POSIX" read as ICU's en_US_POSIX, which writes
// plain English. The process's C locale is never touched. Any thread.

// The language named by the three variables, as `timeLocale()` picks it.
icu::Locale timeLocale(const char* lcAll, const char* lcTime, const char* lang);
// The language of this process's environment.
icu::Locale timeLocale();

// An abbreviated date with a short time: "Dec 7, 2026, 3:41 PM",
// "07.12.2026, 15:41". In `zone`, or the machine's time zone when null.
std::string mediumDateShortTime(Date date, const icu::Locale& locale = timeLocale(),
                                const icu::TimeZone* zone = nullptr);
// The short time alone: "3:41 PM", "15:41".
std::string shortTime(Date date, const icu::Locale& locale = timeLocale(),
                      const icu::TimeZone* zone = nullptr);

}  // namespace kesta::ui
