#include "reading/deck_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/json/json_coding.h"

namespace kesta {
namespace {

struct Form {
  DeckReading reading;
  std::string kind;
  std::string json;
};

TEST(DeckReading, KindsAndJsonFormsRoundTrip) {
  const std::vector<Form> forms = {
      {DeckReading::track("42", MatchStrength::strong), "track-strong",
       R"({"track":{"id":"42","strength":2}})"},
      {DeckReading::track("7", MatchStrength::normal), "track", R"({"track":{"id":"7","strength":1}})"},
      {DeckReading::ambiguous({"10", "9"}), "ambiguous", R"({"ambiguous":{"ids":["10","9"]}})"},
      {DeckReading::ambiguous({}), "ambiguous", R"({"ambiguous":{"ids":[]}})"},
      {DeckReading::unmatched("sometitle|someartist"), "unmatched",
       R"({"unmatched":{"signature":"sometitle|someartist"}})"},
      {DeckReading::empty(), "empty", R"({"empty":{}})"},
      {DeckReading::noTitle(), "no-title", R"({"noTitle":{}})"},
      {DeckReading::unreadable(), "unreadable", R"({"unreadable":{}})"},
  };
  for (const auto& form : forms) {
    SCOPED_TRACE(form.json);
    EXPECT_EQ(form.reading.kind(), form.kind);
    EXPECT_EQ(json::write(form.reading.toJson()), form.json);
    EXPECT_EQ(DeckReading::fromJson(json::parse(form.json)), form.reading);
  }
}

TEST(DeckReading, EqualityAndOrderOfStrengths) {
  EXPECT_NE(DeckReading::ambiguous({"1", "2"}), DeckReading::ambiguous({"2", "1"}));
  EXPECT_NE(DeckReading::track("1", MatchStrength::normal), DeckReading::track("1", MatchStrength::strong));
  EXPECT_LT(MatchStrength::normal, MatchStrength::strong);
  EXPECT_EQ(DeckReading{}, DeckReading::unreadable());
}

TEST(DeckReading, DecodingIgnoresMembersThatNameNoCase) {
  EXPECT_EQ(DeckReading::fromJson(json::parse(R"({"note":1,"empty":{"extra":true}})")), DeckReading::empty());
}

TEST(DeckReading, DecodingFailures) {
  const std::vector<std::string> bad = {
      R"({})",
      R"({"other":{}})",
      R"({"empty":{},"noTitle":{}})",
      R"({"track":{"id":"1"}})",
      R"({"track":{"id":1,"strength":1}})",
      R"({"track":{"id":"1","strength":3}})",
      R"({"track":{"id":"1","strength":0}})",
      R"({"track":{"id":"1","strength":1.5}})",
      R"({"ambiguous":{"ids":"1"}})",
      R"({"ambiguous":{"ids":["1",2]}})",
      R"({"unmatched":{}})",
      R"({"empty":[]})",
      R"([])",
  };
  for (const auto& text : bad) {
    SCOPED_TRACE(text);
    EXPECT_THROW(DeckReading::fromJson(json::parse(text)), json::DecodingError);
  }
  try {
    DeckReading::fromJson(json::parse(R"({"empty":{},"unreadable":{}})"));
    FAIL();
  } catch (const json::DecodingError& error) {
    EXPECT_EQ(std::string(error.what()), json::kInvalidKeyCount);
  }
}

}  // namespace
}  // namespace kesta
