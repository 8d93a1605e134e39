#pragma once

#include <string>

#include "model/ports/day_formatter.h"

namespace kesta::ui {

// The day in the user's language as ICU's best pattern for an abbreviated
// month and a day number ("Mar 14", "14. März"), in the machine's time zone.
// The language is the environment's (LC_ALL, LC_TIME, LANG); the process's C
// locale is never touched. Any thread.
class IcuDayFormatter : public model::DayFormatter {
 public:
  std::string monthDay(Date date) const override;
};

}  // namespace kesta::ui
