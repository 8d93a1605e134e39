#pragma once

#include <string>

#include "platform/time/date.h"

namespace kesta::model {

// The one date the status line writes in the user's language: a day as the
// abbreviated month name and the day number ("Mar 14", "14. März"), in the
// machine's time zone. Main thread.
class DayFormatter {
 public:
  virtual ~DayFormatter() = default;
  virtual std::string monthDay(Date date) const = 0;
};

}  // namespace kesta::model
