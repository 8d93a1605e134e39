#include "platform/json/json_splice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kesta::json {
namespace {

// Keys that sort by byte: capitals before small letters, a prefix before its
// longer forms, anything past ASCII last.
TEST(JsonSplice, MergesSplicedMembersInKeyOrder) {
  struct Case {
    std::vector<std::string> members;
    std::vector<std::string> spliced;
  };
  const Case cases[] = {
      {{}, {}},
      {{}, {"b", "a"}},
      {{"a", "B", "ab", "é"}, {"A", "b", "aa", "z", ""}},
      {{"zz", "z\""}, {"z", "zz!"}},
  };
  for (const auto& c : cases) {
    Value members = Value::object();
    Value whole = Value::object();
    for (const auto& key : c.members) members[key] = whole[key] = key.size();
    Splices spliced;
    for (const auto& key : c.spliced) {
      whole[key] = Value::array({key, 1.5});
      spliced.emplace(key, [key](std::string& out) {
        appendArray(out, std::vector<Value>{key, 1.5}, std::identity());
      });
    }
    std::string out;
    appendObject(out, members, spliced);
    EXPECT_EQ(out, write(whole)) << testing::PrintToString(c.members) << testing::PrintToString(c.spliced);
  }
}

}  // namespace
}  // namespace kesta::json
