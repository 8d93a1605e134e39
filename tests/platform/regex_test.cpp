#include "platform/text/regex.h"

#include <gtest/gtest.h>

namespace kesta {
namespace {

TEST(Regex, SpeaksIcuSyntax) {
  const Regex lookBehind(R"((?<=key=)\p{L}+)");
  const auto match = lookBehind.firstMatch("a key=Äbc1");
  ASSERT_TRUE(match);
  EXPECT_EQ(match->groups[0], "Äbc");
  EXPECT_TRUE(Regex("deck", true).search("DECK 1"));
  EXPECT_EQ(Regex(R"((\d)(x)?)").allMatches("1 2x").size(), 2u);
  EXPECT_FALSE(Regex(R"((\d)(x)?)").firstMatch("1")->groups[2].has_value());
  EXPECT_EQ(Regex(R"(\s+)").replaceAll("a  b\tc", " "), "a b c");
  EXPECT_THROW(Regex("("), std::invalid_argument);
}

}  // namespace
}  // namespace kesta
