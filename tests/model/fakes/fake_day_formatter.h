#pragma once

#include <string>

#include "model/ports/day_formatter.h"
#include "model/utc_date.h"

namespace kesta::test {
using namespace kesta::model;

// "day 2026-03-14": the same text on every machine and in every time zone.
class FakeDayFormatter : public DayFormatter {
 public:
  std::string monthDay(Date date) const override { return "day " + utcDay(date); }
};

}  // namespace kesta::test
