#include "platform/json/json_coding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kesta::json {
namespace {

TEST(JsonCoding, WritesSortedCompactAndRefusesNonFiniteNumbers) {
  Value v = Value::object();
  v["zeta"] = 1;
  v["alpha"] = "x/y é";
  v["mid"] = Value::array({1.5, true});
  EXPECT_EQ(write(v), R"({"alpha":"x/y é","mid":[1.5,true],"zeta":1})");

  OrderedValue ordered = OrderedValue::object();
  ordered["zeta"] = 1;
  ordered["alpha"] = 2;
  EXPECT_EQ(write(ordered), R"({"zeta":1,"alpha":2})");

  for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity()}) {
    Value nested = {{"a", Value::array({bad})}};
    EXPECT_THROW(write(nested), EncodingError);
  }
}

TEST(JsonCoding, ReadsKindsStrictly) {
  const Value v =
      parse(R"({"i":3,"f":1.5,"whole":2.0,"s":"1","b":true,"n":null,"big":18446744073709551615,"neg":-1})");
  EXPECT_EQ(integerField(v, "i"), 3);
  EXPECT_EQ(integerField(v, "whole"), 2);
  EXPECT_THROW(integerField(v, "f"), DecodingError);
  EXPECT_THROW(integerField(v, "s"), DecodingError);
  EXPECT_THROW(numberField(v, "s"), DecodingError);
  EXPECT_THROW(boolField(v, "i"), DecodingError);
  EXPECT_THROW(stringField(v, "i"), DecodingError);
  EXPECT_EQ(unsignedField(v, "big"), std::numeric_limits<std::uint64_t>::max());
  EXPECT_THROW(unsignedField(v, "neg"), DecodingError);
  EXPECT_THROW(integerField(v, "big"), DecodingError);
  EXPECT_DOUBLE_EQ(numberField(v, "i"), 3.0);
}

TEST(JsonCoding, MissingAndNullOptionalsAreAbsentButRequiredOnesFail) {
  const Value v = parse(R"({"n":null,"s":"x"})");
  EXPECT_EQ(optionalString(v, "n"), std::nullopt);
  EXPECT_EQ(optionalString(v, "missing"), std::nullopt);
  EXPECT_EQ(optionalString(v, "s"), "x");
  EXPECT_THROW(require(v, "missing"), DecodingError);
  EXPECT_THROW(require(v, "n"), DecodingError);
  EXPECT_THROW(require(parse("[]"), "s"), DecodingError);
  EXPECT_THROW(parse("{"), DecodingError);

  Value out = Value::object();
  putOptional(out, "a", std::optional<int>());
  putOptional(out, "b", std::optional<int>(2));
  EXPECT_EQ(write(out), R"({"b":2})");
}

TEST(JsonCoding, EnumerationsWithPayloadsHoldExactlyOneCase) {
  EXPECT_EQ(write(tagged("track", {{"_0", "42"}})), R"({"track":{"_0":"42"}})");
  EXPECT_EQ(write(tagged("empty")), R"({"empty":{}})");
  EXPECT_EQ(oneKey(parse(R"({"track":{"_0":"1"},"other":1})"), {"empty", "track"}), "track");
  for (const char* bad : {R"({})", R"({"other":{}})", R"({"empty":{},"track":{}})"}) {
    try {
      oneKey(parse(bad), {"empty", "track"});
      ADD_FAILURE() << bad;
    } catch (const DecodingError& e) {
      EXPECT_STREQ(e.what(), "Invalid number of keys found, expected one.");
    }
  }
}

}  // namespace
}  // namespace kesta::json
