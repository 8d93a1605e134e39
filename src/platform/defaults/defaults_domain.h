#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/time/date.h"

// Another application's user defaults, read from the property-list file that
// holds its domain: <home>/Library/Preferences/<domain>.plist, binary or XML.
// Read only: nothing here ever writes or removes such a file.
namespace kesta::defaults {

struct Value;
using Array = std::vector<Value>;
using Dictionary = std::map<std::string, Value, std::less<>>;

// Raw bytes of a data value.
struct Data {
  std::string bytes;
  friend bool operator==(const Data&, const Data&) = default;
};

// One property-list value. Integers are signed 64-bit, as the application that
// wrote them sees them; a value above the signed range reads as its two's
// complement.
struct Value {
  std::variant<bool, std::int64_t, double, std::string, Data, Date, Array, Dictionary> content;

  const bool* boolean() const { return std::get_if<bool>(&content); }
  const std::int64_t* integer() const { return std::get_if<std::int64_t>(&content); }
  const double* real() const { return std::get_if<double>(&content); }
  const std::string* string() const { return std::get_if<std::string>(&content); }
  const Data* data() const { return std::get_if<Data>(&content); }
  const Dictionary* dictionary() const { return std::get_if<Dictionary>(&content); }

  friend bool operator==(const Value&, const Value&) = default;
};

// One domain's values, read once when the domain is opened.
class Domain {
 public:
  // A property list that nests arrays and dictionaries deeper than this, or
  // would hold more values than this once read (a binary list may use one
  // container in many places), is not read at all. Settings nest a few levels.
  static constexpr std::uint64_t maximumDepth = 100;
  static constexpr std::uint64_t maximumValues = std::uint64_t{1} << 21;

  explicit Domain(Dictionary values) : values_(std::move(values)) {}

  // The domain's file under `home`; absent when the name cannot name a file in
  // the preferences folder, or the file is missing, not a regular file,
  // unreadable, not a property list (or beyond the limits above) or not a
  // dictionary at its root.
  static std::optional<Domain> open(std::string_view name, const std::filesystem::path& home);
  // The same under the user's home folder.
  static std::optional<Domain> open(std::string_view name);

  // A property list in either form whose root is a dictionary, within the
  // limits above.
  static std::optional<Dictionary> parse(std::string_view bytes);

  static std::filesystem::path fileOf(std::string_view name, const std::filesystem::path& home);

  // The three typed lookups: absent when the key is missing or holds another kind.
  std::optional<std::string> string(std::string_view key) const;
  std::optional<Dictionary> dictionary(std::string_view key) const;
  std::optional<std::string> data(std::string_view key) const;

  const Value* value(std::string_view key) const;
  const Dictionary& values() const { return values_; }

 private:
  Dictionary values_;
};

// The user's home folder: $HOME, else the password database's entry.
std::filesystem::path homeFolder();

}  // namespace kesta::defaults
