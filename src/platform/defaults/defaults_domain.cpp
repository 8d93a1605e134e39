#include "platform/defaults/defaults_domain.h"

#include <plist/plist.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>

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
      if (auto value = convert(item)) out.insert_or_assign(key, std::move(*value));
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
      return Value{std::string(text ? text : "", text ? length : 0)};
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

}  // namespace

std::optional<Dictionary> Domain::parse(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > kMaximumFileSize) return std::nullopt;
  plist_t root = nullptr;
  plist_from_memory(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
  const PlistOwner owner(root);
  if (!root || plist_get_node_type(root) != PLIST_DICT) return std::nullopt;
  return convertDictionary(root);
}

std::filesystem::path Domain::fileOf(std::string_view name, const std::filesystem::path& home) {
  return home / "Library" / "Preferences" / (std::string(name) + ".plist");
}

std::optional<Domain> Domain::open(std::string_view name, const std::filesystem::path& home) {
  if (!isFileName(name)) return std::nullopt;
  const auto path = fileOf(name, home);
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kMaximumFileSize) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  auto values = parse(bytes);
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
