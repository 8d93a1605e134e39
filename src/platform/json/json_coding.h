#pragma once

#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/json/json_value.h"

// The stored JSON form shared by every record: objects with sorted keys (or, for
// diagnostics session files, the order the fields are written in), enumerations
// with payloads as one-key objects, optional keys left out, strict kinds on
// reading and no non-finite numbers.
namespace kesta::json {

// A stored text that cannot be read as the record; what() is the description.
class DecodingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A record that cannot be written (a non-finite number).
class EncodingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr std::string_view kInvalidKeyCount = "Invalid number of keys found, expected one.";

// Parsing and writing; the text is compact, UTF-8, nothing escaped that JSON
// does not require.
Value parse(std::string_view text);
std::string write(const Value& value);
std::string write(const OrderedValue& value);

// Members of an object. `require` fails when the key is missing or null;
// `find` gives nullptr for a missing or null key. Both fail when `object` is
// not an object.
const Value& require(const Value& object, std::string_view key);
const Value* find(const Value& object, std::string_view key);

// Strict kinds: an integer refuses 1.5 and "1"; a number refuses a text;
// unsigned 64-bit integers are kept exact.
std::string asString(const Value& value);
double asNumber(const Value& value);
std::int64_t asInteger(const Value& value);
std::uint64_t asUnsigned(const Value& value);
bool asBool(const Value& value);
// An integer that must fit an `int` (deck numbers, counts, readouts).
int asInt(const Value& value);
const Value& asObject(const Value& value);
const Value& asArray(const Value& value);

template <class T, class Decode>
std::vector<T> asList(const Value& value, Decode decode) {
  std::vector<T> out;
  for (const auto& element : asArray(value)) out.push_back(decode(element));
  return out;
}
std::vector<std::string> asStringList(const Value& value);

// Shorthand for required and optional members of an object.
std::string stringField(const Value& object, std::string_view key);
double numberField(const Value& object, std::string_view key);
std::int64_t integerField(const Value& object, std::string_view key);
std::uint64_t unsignedField(const Value& object, std::string_view key);
bool boolField(const Value& object, std::string_view key);
int intField(const Value& object, std::string_view key);
std::optional<std::string> optionalString(const Value& object, std::string_view key);
std::optional<double> optionalNumber(const Value& object, std::string_view key);
std::optional<std::int64_t> optionalInteger(const Value& object, std::string_view key);
std::optional<bool> optionalBool(const Value& object, std::string_view key);
std::optional<int> optionalInt(const Value& object, std::string_view key);

// Writes `value` under `key` only when present.
template <class Json, class T>
void putOptional(Json& object, std::string_view key, const std::optional<T>& value) {
  if (value) object[std::string(key)] = *value;
}

// Enumerations with payloads: {"caseName": {payload labels...}}, "_0" for an
// unlabelled payload, {} for a case without one. `oneKey` gives the one known
// case present, and fails with kInvalidKeyCount when there are none or several;
// keys that are not cases are ignored.
std::string oneKey(const Value& value, std::initializer_list<std::string_view> cases);
Value tagged(std::string_view caseName, Value payload = Value::object());
OrderedValue taggedOrdered(std::string_view caseName, OrderedValue payload = OrderedValue::object());

}  // namespace kesta::json
