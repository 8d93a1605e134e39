#pragma once

#include <array>
#include <chrono>
#include <cmath>
#include <string>

#include "model/ports/day_formatter.h"

namespace kesta::model::testing {

// English month abbreviations on the UTC day: the same text on every machine.
class FakeDayFormatter : public DayFormatter {
 public:
  std::string monthDay(Date date) const override {
    using namespace std::chrono;
    static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const sys_days day =
        floor<days>(sys_seconds{seconds{static_cast<long long>(std::floor(date.unixSeconds()))}});
    const year_month_day ymd{day};
    return std::string(kMonths[static_cast<unsigned>(ymd.month()) - 1]) + " " +
           std::to_string(static_cast<unsigned>(ymd.day()));
  }
};

}  // namespace kesta::model::testing
