#include "platform/json/json_splice.h"

#include <algorithm>

namespace kesta::json {
namespace {

void appendMember(std::string& out, bool& first, const std::string& key) {
  if (!first) appendGrowing(out, ",");
  first = false;
  appendGrowing(out, write(Value(key)));
  appendGrowing(out, ":");
}

}  // namespace

void appendGrowing(std::string& out, std::string_view piece) {
  const std::size_t needed = out.size() + piece.size();
  if (needed > out.capacity()) {
    // A fresh string takes the capacity asked for; a grown one at least doubles.
    std::string bigger;
    bigger.reserve(needed + std::max<std::size_t>(needed / 8, 256));
    bigger.append(out);
    out.swap(bigger);
  }
  out.append(piece);
}

void appendObject(std::string& out, const Value& members, const Splices& spliced) {
  const auto& object = asObject(members);
  appendGrowing(out, "{");
  bool first = true;
  auto member = object.begin();
  const auto membersEnd = object.end();
  auto splice = spliced.begin();
  while (member != membersEnd || splice != spliced.end()) {
    if (splice == spliced.end() || (member != membersEnd && member.key() < splice->first)) {
      appendMember(out, first, member.key());
      appendGrowing(out, write(member.value()));
      ++member;
    } else {
      appendMember(out, first, splice->first);
      splice->second(out);
      ++splice;
    }
  }
  appendGrowing(out, "}");
}

}  // namespace kesta::json
