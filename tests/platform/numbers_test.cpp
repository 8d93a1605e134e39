#include "platform/text/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kesta::numbers {
namespace {

TEST(Numbers, ParsesDoublesLikeStrtodInTheCLocale) {
  struct Case {
    const char* text;
    std::optional<double> expected;
  };
  const Case cases[] = {
      {"128.5", 128.5},        {"-3", -3.0},
      {"+2.5e2", 250.0},       {"0x10", 16.0},
      {"1e3", 1000.0},         {"128,5", std::nullopt},
      {" 1", std::nullopt},    {"1 ", std::nullopt},
      {"", std::nullopt},      {"abc", std::nullopt},
      {"1.2.3", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parseDouble(c.text), c.expected) << c.text;
  EXPECT_TRUE(std::isinf(*parseDouble("inf")));
  EXPECT_TRUE(std::isnan(*parseDouble("nan")));
  EXPECT_EQ(parseDouble(std::string_view("1\0", 2)), std::nullopt);
}

TEST(Numbers, ParsesWholeNumbersOnly) {
  EXPECT_EQ(parseInteger("42"), 42);
  EXPECT_EQ(parseInteger("-7"), -7);
  EXPECT_EQ(parseInteger("+7"), 7);
  for (const char* bad : {"", "+", "-", "+-1", "1.5", "1e3", " 1", "99999999999999999999"})
    EXPECT_EQ(parseInteger(bad), std::nullopt) << bad;
}

TEST(Numbers, FormatsWithAPointWhateverTheLocale) {
  EXPECT_EQ(formatFixed(128.0, 1), "128.0");
  EXPECT_EQ(formatFixed(2.345, 2), "2.35");
  EXPECT_EQ(formatFixed(-0.5, 0), "-0");
  EXPECT_EQ(formatShortest(0.1), "0.1");
  EXPECT_EQ(formatShortest(1e21), "1e+21");
}

}  // namespace
}  // namespace kesta::numbers
