#include "platform/defaults/defaults_domain.h"

#include <expat.h>
#include <plist/plist.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <set>
#include <unordered_map>
#include <utility>

#include "platform/files/outside_file.h"
#include "platform/text/unicode_text.h"

namespace kesta::defaults {
namespace {

// Preference files are small; anything near libplist's 32-bit length limit is
// not one.
constexpr std::uintmax_t kMaximumFileSize = 64u * 1024u * 1024u;

struct PlistFree {
  void operator()(void* node) const { plist_free(node); }
};
using PlistOwner = std::unique_ptr<void, PlistFree>;

std::optional<Value> convert(plist_t node);

// Text is UTF-8 everywhere in Kesta, and what is read here is saved again as
// JSON; a hand-edited XML property list may hold bytes that are not UTF-8, so
// each ill-formed sequence becomes U+FFFD now rather than on the next save.
std::string wellFormed(std::string_view text) { return unicode::fromScalars(unicode::toScalars(text)); }

Dictionary convertDictionary(plist_t node) {
  Dictionary out;
  plist_dict_iter iter = nullptr;
  plist_dict_new_iter(node, &iter);
  if (!iter) return out;
  for (;;) {
    char* key = nullptr;
    plist_t item = nullptr;
    plist_dict_next_item(node, iter, &key, &item);
    if (!item) {
      std::free(key);
      break;
    }
    if (key) {
      if (auto value = convert(item)) out.insert_or_assign(wellFormed(key), std::move(*value));
      std::free(key);
    }
  }
  std::free(iter);
  return out;
}

// Kinds that only keyed archives use (UIDs) or that cannot stand as values are
// left out.
std::optional<Value> convert(plist_t node) {
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      std::uint8_t flag = 0;
      plist_get_bool_val(node, &flag);
      return Value{flag != 0};
    }
    case PLIST_UINT: {
      // The file holds a signed 8-byte number; libplist hands its bits back unsigned.
      std::uint64_t bits = 0;
      plist_get_uint_val(node, &bits);
      return Value{static_cast<std::int64_t>(bits)};
    }
    case PLIST_REAL: {
      double real = 0;
      plist_get_real_val(node, &real);
      return Value{real};
    }
    case PLIST_STRING: {
      std::uint64_t length = 0;
      const char* text = plist_get_string_ptr(node, &length);
      return Value{wellFormed(std::string_view(text ? text : "", text ? length : 0))};
    }
    case PLIST_DATA: {
      std::uint64_t length = 0;
      const char* bytes = plist_get_data_ptr(node, &length);
      return Value{Data{std::string(bytes ? bytes : "", bytes ? length : 0)}};
    }
    case PLIST_DATE: {
      std::int32_t seconds = 0;
      std::int32_t micro = 0;
      plist_get_date_val(node, &seconds, &micro);
      return Value{Date{seconds + micro / 1e6}};
    }
    case PLIST_ARRAY: {
      Array out;
      const std::uint32_t count = plist_array_get_size(node);
      for (std::uint32_t i = 0; i < count; ++i) {
        if (auto value = convert(plist_array_get_item(node, i))) out.push_back(std::move(*value));
      }
      return Value{std::move(out)};
    }
    case PLIST_DICT:
      return Value{convertDictionary(node)};
    default:
      return std::nullopt;
  }
}

// A domain names one file inside the preferences folder, nothing outside it.
bool isFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

// Big-endian unsigned number of `size` bytes at `at`; absent past the end.
std::optional<std::uint64_t> bigEndian(std::string_view bytes, std::uint64_t at, std::uint64_t size) {
  if (size == 0 || size > 8 || at > bytes.size() || size > bytes.size() - at) return std::nullopt;
  std::uint64_t value = 0;
  for (std::uint64_t i = 0; i < size; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// The element count of the binary object at `at` and where its content starts.
std::optional<std::pair<std::uint64_t, std::uint64_t>> binaryCount(std::string_view bytes, std::uint64_t at) {
  const auto marker = bigEndian(bytes, at, 1);
  if (!marker) return std::nullopt;
  if ((*marker & 0x0f) != 0x0f) return std::pair{*marker & 0x0f, at + 1};
  const auto intMarker = bigEndian(bytes, at + 1, 1);
  if (!intMarker || (*intMarker & 0xf0) != 0x10 || (*intMarker & 0x0f) > 3) return std::nullopt;
  const std::uint64_t size = std::uint64_t{1} << (*intMarker & 0x0f);
  const auto count = bigEndian(bytes, at + 2, size);
  if (!count) return std::nullopt;
  return std::pair{*count, at + 2 + size};
}

// Whether a binary property list has a dictionary key with a NUL character in
// it. libplist stops the whole process with a failed assertion when such a key
// is read, so a file holding one is refused before it is iterated. Anything
// this walk cannot follow is left to libplist's own checks.
bool hasKeyWithNul(std::string_view bytes) {
  if (!bytes.starts_with("bplist") || bytes.size() < 40) return false;
  const std::uint64_t trailer = bytes.size() - 32;
  const auto offsetSize = bigEndian(bytes, trailer + 6, 1);
  const auto refSize = bigEndian(bytes, trailer + 7, 1);
  const auto objectCount = bigEndian(bytes, trailer + 8, 8);
  const auto tableStart = bigEndian(bytes, trailer + 24, 8);
  if (!offsetSize || !refSize || !objectCount || !tableStart) return false;
  const auto objectAt = [&](std::uint64_t index) -> std::optional<std::uint64_t> {
    if (index >= *objectCount) return std::nullopt;
    return bigEndian(bytes, *tableStart + index * *offsetSize, *offsetSize);
  };
  const auto keyHasNul = [&](std::uint64_t index) {
    const auto at = objectAt(index);
    const auto marker = at ? bigEndian(bytes, *at, 1) : std::nullopt;
    const auto count = at ? binaryCount(bytes, *at) : std::nullopt;
    if (!marker || !count) return false;
    const auto [length, start] = *count;
    const std::uint64_t unit = (*marker >> 4) == 0x6 ? 2 : 1;
    if ((*marker >> 4) != 0x5 && unit == 1) return false;
    if (start > bytes.size() || length > (bytes.size() - start) / unit) return false;
    for (std::uint64_t i = 0; i < length; ++i) {
      if (bigEndian(bytes, start + i * unit, unit) == std::uint64_t{0}) return true;
    }
    return false;
  };
  // Every offset-table entry takes at least one byte, so the count is bounded by the file.
  const std::uint64_t objects = std::min<std::uint64_t>(*objectCount, bytes.size());
  std::set<std::uint64_t> dictionaries;
  for (std::uint64_t index = 0; index < objects; ++index) {
    const auto at = objectAt(index);
    const auto marker = at ? bigEndian(bytes, *at, 1) : std::nullopt;
    if (!marker || (*marker >> 4) != 0xd || !dictionaries.insert(*at).second) continue;
    const auto count = binaryCount(bytes, *at);
    if (!count || count->first > bytes.size()) continue;
    for (std::uint64_t k = 0; k < count->first; ++k) {
      const auto key = bigEndian(bytes, count->second + k * *refSize, *refSize);
      if (key && keyHasNul(*key)) return true;
    }
  }
  return false;
}

// The nesting and size a property list would have once read, judged before
// libplist reads it: libplist, and `convert` above, recurse once per level,
// and a binary list may reference one container from many places, so that a
// small file expands to any number of values.
struct Shape {
  std::uint64_t depth = 0;   // containers on the longest path from the root
  std::uint64_t values = 0;  // every value once per place it stands
};

bool isWithinLimits(const Shape& shape) {
  return shape.depth <= Domain::maximumDepth && shape.values <= Domain::maximumValues;
}

// XML: measured with expat, which does not recurse, over the text made
// well-formed UTF-8 first (libplist takes stray bytes, expat does not, and
// the markup is the same either way). A file expat cannot read is refused,
// since the check would not have seen all of it.
struct XmlShape {
  Shape shape;
  std::uint64_t open = 0;

  static bool isContainer(std::string_view element) { return element == "dict" || element == "array"; }
  static void XMLCALL onStart(void* data, const XML_Char* element, const XML_Char**) {
    auto& self = *static_cast<XmlShape*>(data);
    const std::string_view name = element;
    if (name != "key" && name != "plist") ++self.shape.values;
    if (isContainer(name)) self.shape.depth = std::max(self.shape.depth, ++self.open);
  }
  static void XMLCALL onEnd(void* data, const XML_Char* element) {
    auto& self = *static_cast<XmlShape*>(data);
    if (isContainer(element)) --self.open;
  }
};

bool xmlWithinLimits(std::string_view bytes) {
  const std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate(nullptr),
                                                                       &XML_ParserFree);
  if (!parser) return false;
  XmlShape measured;
  XML_SetUserData(parser.get(), &measured);
  XML_SetElementHandler(parser.get(), &XmlShape::onStart, &XmlShape::onEnd);
  const std::string text = wellFormed(bytes);
  // The file is at most kMaximumFileSize, well inside expat's int length.
  if (XML_Parse(parser.get(), text.data(), static_cast<int>(text.size()), XML_TRUE) != XML_STATUS_OK)
    return false;
  return isWithinLimits(measured.shape);
}

// Binary: the object graph walked from the top object without recursion, each
// object measured once. A cycle, or a reference this walk cannot follow, is
// refused: no list written by the system holds one.
class BinaryShape {
 public:
  explicit BinaryShape(std::string_view bytes) : bytes_(bytes) {}
  bool withinLimits();

 private:
  struct Container {
    std::uint64_t refs = 0;   // how many object references follow
    std::uint64_t first = 0;  // where the first one is
  };
  struct Frame {
    std::uint64_t object;
    Container container;
    std::uint64_t next = 0;
    Shape shape;
  };

  std::optional<std::uint64_t> objectAt(std::uint64_t index) const {
    if (index >= objectCount_) return std::nullopt;
    return bigEndian(bytes_, tableStart_ + index * offsetSize_, offsetSize_);
  }
  // Absent for an object that holds no others; throws nothing, answers false
  // through `ok` for what cannot be followed.
  std::optional<Container> containerOf(std::uint64_t index, bool& ok) const;
  bool push(std::uint64_t index);

  std::string_view bytes_;
  std::uint64_t offsetSize_ = 0, refSize_ = 0, objectCount_ = 0, tableStart_ = 0;
  std::vector<Frame> path_;
  std::unordered_map<std::uint64_t, Shape> measured_;
  bool ok_ = true;
};

std::optional<BinaryShape::Container> BinaryShape::containerOf(std::uint64_t index, bool& ok) const {
  const auto at = objectAt(index);
  const auto marker = at ? bigEndian(bytes_, *at, 1) : std::nullopt;
  if (!marker) {
    ok = false;
    return std::nullopt;
  }
  const std::uint64_t kind = *marker >> 4;
  if (kind != 0xa && kind != 0xc && kind != 0xd) return std::nullopt;
  const auto count = binaryCount(bytes_, *at);
  const std::uint64_t perEntry = kind == 0xd ? 2 : 1;
  if (!count || count->second > bytes_.size() ||
      count->first > (bytes_.size() - count->second) / (perEntry * refSize_)) {
    ok = false;
    return std::nullopt;
  }
  return Container{count->first * perEntry, count->second};
}

bool BinaryShape::push(std::uint64_t index) {
  if (path_.size() >= Domain::maximumDepth) return false;
  for (const Frame& frame : path_) {
    if (frame.object == index) return false;
  }
  bool ok = true;
  const auto container = containerOf(index, ok);
  if (!ok) return false;
  if (!container) {
    measured_.emplace(index, Shape{0, 1});
    return true;
  }
  path_.push_back(Frame{index, *container, 0, Shape{1, 1}});
  return true;
}

bool BinaryShape::withinLimits() {
  if (bytes_.size() < 40) return true;  // too short to be read at all
  const std::uint64_t trailer = bytes_.size() - 32;
  const auto offsetSize = bigEndian(bytes_, trailer + 6, 1);
  const auto refSize = bigEndian(bytes_, trailer + 7, 1);
  const auto objectCount = bigEndian(bytes_, trailer + 8, 8);
  const auto top = bigEndian(bytes_, trailer + 16, 8);
  const auto tableStart = bigEndian(bytes_, trailer + 24, 8);
  if (!offsetSize || !refSize || !objectCount || !top || !tableStart || *refSize == 0) return false;
  offsetSize_ = *offsetSize, refSize_ = *refSize, objectCount_ = *objectCount, tableStart_ = *tableStart;

  if (!push(*top)) return false;
  while (!path_.empty()) {
    Frame& frame = path_.back();
    if (frame.next == frame.container.refs) {
      const Frame done = frame;
      path_.pop_back();
      measured_.emplace(done.object, done.shape);
      if (!path_.empty()) {
        Shape& parent = path_.back().shape;
        parent.depth = std::max(parent.depth, done.shape.depth + 1);
        parent.values += done.shape.values;
        if (!isWithinLimits(parent)) return false;
      }
      continue;
    }
    const auto child = bigEndian(bytes_, frame.container.first + frame.next * refSize_, refSize_);
    ++frame.next;
    if (!child) return false;
    if (const auto known = measured_.find(*child); known != measured_.end()) {
      frame.shape.depth = std::max(frame.shape.depth, known->second.depth + 1);
      frame.shape.values += known->second.values;
      if (!isWithinLimits(frame.shape)) return false;
      continue;
    }
    if (!push(*child)) return false;
  }
  return true;
}

}  // namespace

std::optional<Dictionary> Domain::parse(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > kMaximumFileSize) return std::nullopt;
  if (bytes.starts_with("bplist")) {
    if (!BinaryShape(bytes).withinLimits() || hasKeyWithNul(bytes)) return std::nullopt;
  } else if (!xmlWithinLimits(bytes)) {
    return std::nullopt;
  }
  plist_t root = nullptr;
  plist_from_memory(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
  const PlistOwner owner(root);
  if (!root || plist_get_node_type(root) != PLIST_DICT) return std::nullopt;
  try {
    return convertDictionary(root);
  } catch (const std::bad_alloc&) {
    return std::nullopt;  // read as a file that is not a property list
  }
}

std::filesystem::path Domain::fileOf(std::string_view name, const std::filesystem::path& home) {
  return home / "Library" / "Preferences" / (std::string(name) + ".plist");
}

std::optional<Domain> Domain::open(std::string_view name, const std::filesystem::path& home) {
  if (!isFileName(name)) return std::nullopt;
  const auto read = files::readRegularFile(fileOf(name, home), kMaximumFileSize);
  const auto* bytes = std::get_if<std::string>(&read);
  if (!bytes) return std::nullopt;
  auto values = parse(*bytes);
  if (!values) return std::nullopt;
  return Domain(std::move(*values));
}

std::optional<Domain> Domain::open(std::string_view name) { return open(name, homeFolder()); }

const Value* Domain::value(std::string_view key) const {
  const auto found = values_.find(key);
  return found == values_.end() ? nullptr : &found->second;
}

std::optional<std::string> Domain::string(std::string_view key) const {
  const Value* found = value(key);
  if (const std::string* text = found ? found->string() : nullptr) return *text;
  return std::nullopt;
}

std::optional<Dictionary> Domain::dictionary(std::string_view key) const {
  const Value* found = value(key);
  if (const Dictionary* map = found ? found->dictionary() : nullptr) return *map;
  return std::nullopt;
}

std::optional<std::string> Domain::data(std::string_view key) const {
  const Value* found = value(key);
  if (const Data* bytes = found ? found->data() : nullptr) return bytes->bytes;
  return std::nullopt;
}

std::filesystem::path homeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  passwd entry{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir) {
    return found->pw_dir;
  }
  return {};
}

}  // namespace kesta::defaults
