#pragma once

#include <compare>

namespace kesta {

// A calendar date, held as it is stored: seconds since 2001-01-01 00:00:00 UTC.
struct Date {
  static constexpr double kUnixSecondsAtReference = 978307200.0;

  double secondsSinceReference = 0;

  static Date now();
  static Date fromUnixSeconds(double seconds) { return Date{seconds - kUnixSecondsAtReference}; }
  double unixSeconds() const { return secondsSinceReference + kUnixSecondsAtReference; }
  Date adding(double seconds) const { return Date{secondsSinceReference + seconds}; }
  double secondsSince(Date earlier) const { return secondsSinceReference - earlier.secondsSinceReference; }

  friend auto operator<=>(const Date&, const Date&) = default;
};

}  // namespace kesta
