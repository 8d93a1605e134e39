#include "platform/json/json_coding.h"

#include <cmath>
#include <limits>

namespace kesta::json {
namespace {

std::string quoted(std::string_view key) { return "\"" + std::string(key) + "\""; }

[[noreturn]] void typeMismatch(std::string_view expected, const Value& found) {
  throw DecodingError("Expected to decode " + std::string(expected) + " but found " +
                      std::string(found.type_name()) + " instead.");
}

template <class Json>
void checkFinite(const Json& value) {
  if (value.is_number_float()) {
    if (!std::isfinite(value.template get<double>()))
      throw EncodingError("Unable to encode a non-finite number directly in JSON.");
  } else if (value.is_structured()) {
    for (const auto& element : value) checkFinite(element);
  }
}

template <class Json>
std::string dump(const Json& value) {
  checkFinite(value);
  return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

Value parse(std::string_view text) {
  try {
    return Value::parse(text.begin(), text.end());
  } catch (const nlohmann::json::exception& e) {
    throw DecodingError(std::string("The given data was not valid JSON. ") + e.what());
  }
}

std::string write(const Value& value) { return dump(value); }
std::string write(const OrderedValue& value) { return dump(value); }

const Value* find(const Value& object, std::string_view key) {
  const auto& members = asObject(object);
  const auto it = members.find(key);
  if (it == members.end() || it->is_null()) return nullptr;
  return &*it;
}

const Value& require(const Value& object, std::string_view key) {
  const auto& members = asObject(object);
  const auto it = members.find(key);
  if (it == members.end()) throw DecodingError("No value associated with key " + quoted(key) + ".");
  if (it->is_null())
    throw DecodingError("Expected a value for key " + quoted(key) + " but found null instead.");
  return *it;
}

std::string asString(const Value& value) {
  if (!value.is_string()) typeMismatch("String", value);
  return value.get<std::string>();
}

double asNumber(const Value& value) {
  if (!value.is_number()) typeMismatch("Double", value);
  return value.get<double>();
}

std::int64_t asInteger(const Value& value) {
  if (value.is_number_integer()) {
    if (value.is_number_unsigned() &&
        value.get<std::uint64_t>() > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
      throw DecodingError("Parsed JSON number does not fit in Int.");
    return value.get<std::int64_t>();
  }
  if (value.is_number_float()) {
    const double d = value.get<double>();
    if (std::trunc(d) == d && std::abs(d) < 9.2e18) return static_cast<std::int64_t>(d);
    throw DecodingError("Parsed JSON number <" + std::to_string(d) + "> does not fit in Int.");
  }
  typeMismatch("Int", value);
}

std::uint64_t asUnsigned(const Value& value) {
  if (value.is_number_unsigned()) return value.get<std::uint64_t>();
  if (value.is_number_integer()) throw DecodingError("Parsed JSON number does not fit in UInt64.");
  if (value.is_number_float()) {
    const double d = value.get<double>();
    if (std::trunc(d) == d && d >= 0 && d < 1.8e19) return static_cast<std::uint64_t>(d);
    throw DecodingError("Parsed JSON number does not fit in UInt64.");
  }
  typeMismatch("UInt64", value);
}

int asInt(const Value& value) {
  const std::int64_t number = asInteger(value);
  if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
    throw DecodingError("Parsed JSON number <" + std::to_string(number) + "> does not fit in Int.");
  return static_cast<int>(number);
}

bool asBool(const Value& value) {
  if (!value.is_boolean()) typeMismatch("Bool", value);
  return value.get<bool>();
}

const Value& asObject(const Value& value) {
  if (!value.is_object()) typeMismatch("Dictionary<String, Any>", value);
  return value;
}

const Value& asArray(const Value& value) {
  if (!value.is_array()) typeMismatch("Array<Any>", value);
  return value;
}

std::vector<std::string> asStringList(const Value& value) { return asList<std::string>(value, asString); }

std::string stringField(const Value& object, std::string_view key) { return asString(require(object, key)); }
double numberField(const Value& object, std::string_view key) { return asNumber(require(object, key)); }
std::int64_t integerField(const Value& object, std::string_view key) {
  return asInteger(require(object, key));
}
std::uint64_t unsignedField(const Value& object, std::string_view key) {
  return asUnsigned(require(object, key));
}
bool boolField(const Value& object, std::string_view key) { return asBool(require(object, key)); }

int intField(const Value& object, std::string_view key) { return asInt(require(object, key)); }

std::optional<std::string> optionalString(const Value& object, std::string_view key) {
  const Value* value = find(object, key);
  return value ? std::optional(asString(*value)) : std::nullopt;
}

std::optional<double> optionalNumber(const Value& object, std::string_view key) {
  const Value* value = find(object, key);
  return value ? std::optional(asNumber(*value)) : std::nullopt;
}

std::optional<std::int64_t> optionalInteger(const Value& object, std::string_view key) {
  const Value* value = find(object, key);
  return value ? std::optional(asInteger(*value)) : std::nullopt;
}

std::optional<bool> optionalBool(const Value& object, std::string_view key) {
  const Value* value = find(object, key);
  return value ? std::optional(asBool(*value)) : std::nullopt;
}

std::optional<int> optionalInt(const Value& object, std::string_view key) {
  const Value* value = find(object, key);
  return value ? std::optional(asInt(*value)) : std::nullopt;
}

std::string oneKey(const Value& value, std::initializer_list<std::string_view> cases) {
  const auto& members = asObject(value);
  const std::string_view* found = nullptr;
  int count = 0;
  for (const auto& name : cases) {
    if (members.contains(name)) {
      found = &name;
      ++count;
    }
  }
  if (count != 1) throw DecodingError(std::string(kInvalidKeyCount));
  return std::string(*found);
}

Value tagged(std::string_view caseName, Value payload) {
  Value object = Value::object();
  object[std::string(caseName)] = std::move(payload);
  return object;
}

OrderedValue taggedOrdered(std::string_view caseName, OrderedValue payload) {
  OrderedValue object = OrderedValue::object();
  object[std::string(caseName)] = std::move(payload);
  return object;
}

}  // namespace kesta::json
