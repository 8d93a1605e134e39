#include "platform/time/date.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kesta {
namespace {

double unixNow() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

TEST(Date, CountsFromTheStartOf2001) {
  EXPECT_DOUBLE_EQ(Date::fromUnixSeconds(978307200.0).secondsSinceReference, 0.0);
  EXPECT_DOUBLE_EQ(Date{86400.5}.unixSeconds(), 978393600.5);
  // Now is the wall clock's now, whatever day the machine thinks it is.
  const double before = unixNow();
  const Date now = Date::now();
  const double after = unixNow();
  EXPECT_GE(now.unixSeconds(), before - 1e-3);
  EXPECT_LE(now.unixSeconds(), after + 1e-3);
  EXPECT_LT(Date{1}, Date{2});
}

}  // namespace
}  // namespace kesta
