#pragma once

#include <cstddef>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

#include "platform/json/json_coding.h"

// Compact JSON written in pieces, for records whose long lists would make a
// whole Value several times the size of its text. The bytes are those `write`
// gives for the record built as one Value: each list element is written on its
// own and spliced in, objects keep the key order a Value has. Writing throws
// what `write` throws (EncodingError for a non-finite number); `out` then holds
// a partial text.
namespace kesta::json {

// Appends the compact text of one complete value to `out`.
using Splice = std::function<void(std::string& out)>;
using Splices = std::map<std::string, Splice, std::less<>>;

// Appends `piece`. Past the reserve the string grows by an eighth (at least
// 256 bytes) rather than doubling, so that a close estimate never leaves half
// the text unused.
void appendGrowing(std::string& out, std::string_view piece);

// Appends an object of the members of `members` (an object) and of `spliced`,
// whose keys it must not hold, all in key order.
void appendObject(std::string& out, const Value& members, const Splices& spliced);

// Appends the array of `encode(element)` for each element.
template <class Range, class Encode>
void appendArray(std::string& out, const Range& elements, Encode encode) {
  appendGrowing(out, "[");
  bool first = true;
  for (const auto& element : elements) {
    if (!first) appendGrowing(out, ",");
    first = false;
    appendGrowing(out, write(Value(encode(element))));
  }
  appendGrowing(out, "]");
}

// The text size of that array, judged from up to eight elements spread over it.
template <class Range, class Encode>
std::size_t estimatedArraySize(const Range& elements, Encode encode) {
  constexpr std::size_t samples = 8;
  const auto count = static_cast<std::size_t>(std::ranges::distance(elements));
  if (count == 0) return 2;
  const std::size_t step = count > samples ? count / samples : 1;
  std::size_t sampled = 0;
  std::size_t bytes = 0;
  auto it = std::ranges::begin(elements);
  for (std::size_t index = 0; index < count; index += step) {
    bytes += write(Value(encode(*it))).size() + 1;  // and its comma
    ++sampled;
    if (index + step < count) std::ranges::advance(it, static_cast<std::ptrdiff_t>(step));
  }
  return 2 + bytes * count / sampled;
}

}  // namespace kesta::json
