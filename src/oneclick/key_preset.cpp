#include "oneclick/key_preset.h"

#include <expat.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>

#include "platform/files/outside_file.h"
#include "platform/text/regex.h"
#include "platform/text/unicode_text.h"
#include "reading/rekordbox_folders.h"

namespace kesta::KeyPreset {

namespace {

constexpr std::string_view kNoActivePreset = "no active preset in rekordbox settings";
constexpr std::string_view kPresetMissing = "preset file missing";
constexpr std::string_view kPresetUnreadable = "preset file unreadable";
constexpr std::string_view kNonePreset = "None (Preset)";
constexpr std::string_view kUnnamedPreset = "unnamed preset";
// rekordbox writes these files in kilobytes; anything far larger is not one.
constexpr std::uint64_t kMaximumFileBytes = 16u << 20;

std::string lowercased(std::string_view text) {
  std::string out;
  icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())))
      .toLower(icu::Locale::getRoot())
      .toUTF8String(out);
  return out;
}

bool isUtf8(std::string_view bytes) {
  if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) return false;
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  return status != U_INVALID_CHAR_FOUND && status != U_ILLEGAL_ARGUMENT_ERROR;
}

// The whole file, or nothing when it cannot be read to its end, is not a
// regular file or is larger than kMaximumFileBytes.
std::optional<std::string> readFile(const std::filesystem::path& path) {
  auto read = files::readRegularFile(path, kMaximumFileBytes);
  if (auto* bytes = std::get_if<std::string>(&read)) return std::move(*bytes);
  return std::nullopt;
}

// What one parse of a mapping file collects.
struct MappingReader {
  std::optional<std::string> name;
  std::map<std::string, std::vector<std::string>> keys;  // by lower-cased command id
  bool sawMappingList = false;

  static const char* attribute(const XML_Char** attributes, std::string_view wanted) {
    for (const XML_Char** a = attributes; a[0] != nullptr; a += 2) {
      if (wanted == a[0]) return a[1];
    }
    return nullptr;
  }

  static void onStart(void* userData, const XML_Char* element, const XML_Char** attributes) {
    auto& reader = *static_cast<MappingReader*>(userData);
    const std::string_view elementName = element;
    if (elementName == "VALUE") {
      const char* name = attribute(attributes, "name");
      if (name != nullptr && std::string_view(name) == "keyMappingName") {
        const char* value = attribute(attributes, "val");
        reader.name = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
      }
    } else if (elementName == "KEYMAPPINGS") {
      reader.sawMappingList = true;
    } else if (elementName == "MAPPING") {
      if (const char* command = attribute(attributes, "commandId")) {
        const char* key = attribute(attributes, "key");
        reader.keys[lowercased(command)].emplace_back(key != nullptr ? key : "");
      }
    }
  }

  // False when the bytes are not well-formed XML.
  bool parse(std::string_view bytes) {
    const std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate(nullptr),
                                                                         &XML_ParserFree);
    if (!parser) return false;
    XML_SetUserData(parser.get(), this);
    XML_SetStartElementHandler(parser.get(), &MappingReader::onStart);
    constexpr std::size_t kChunk = 1 << 20;
    do {
      const std::size_t size = std::min(bytes.size(), kChunk);
      const bool last = size == bytes.size();
      if (XML_Parse(parser.get(), bytes.data(), static_cast<int>(size), last) != XML_STATUS_OK) {
        return false;
      }
      bytes.remove_prefix(size);
    } while (!bytes.empty());
    return true;
  }
};

// The check itself; `check` adds the guard against running out of memory.
Result checkFiles(const std::filesystem::path& folder) {
  const auto settings = readFile(folder / "rekordbox3.settings");
  if (!settings || !isUtf8(*settings)) return Unknown{std::string(kNoActivePreset)};
  const auto number = activePresetID(*settings);
  if (!number) return Unknown{std::string(kNoActivePreset)};
  const auto mappings = readFile(folder / "KeyMappings" / ("rekordbox_" + *number + ".mappings"));
  if (!mappings) return Unknown{std::string(kPresetMissing)};
  return evaluate(*mappings);
}

}  // namespace

std::filesystem::path settingsFolder() { return RekordboxFolders::settingsFolder(); }

Result check(const std::filesystem::path& folder) {
  try {
    return checkFiles(folder);
  } catch (const std::bad_alloc&) {
    return Unknown{std::string(kPresetUnreadable)};
  }
}

std::optional<std::string> activePresetID(std::string_view settings) {
  static const Regex pattern(R"re(name="performaceKeyMapping"\s+val="([0-9]+)")re");
  const auto match = pattern.firstMatch(settings);
  if (!match || match->groups.empty() || !match->groups[0]) return std::nullopt;
  std::vector<std::string_view> pieces;
  const std::string_view matched = *match->groups[0];
  std::size_t start = 0;
  while (start <= matched.size()) {
    const std::size_t end = std::min(matched.find('"', start), matched.size());
    if (end > start) pieces.push_back(matched.substr(start, end - start));
    start = end + 1;
  }
  if (pieces.size() < 4) return std::nullopt;
  return std::string(pieces[3]);
}

Result evaluate(std::string_view mappingsXML) {
  MappingReader reader;
  if (!reader.parse(mappingsXML)) return Unknown{std::string(kPresetUnreadable)};
  const std::string name = reader.name.value_or(std::string(kUnnamedPreset));

  if (reader.sawMappingList) {
    std::vector<std::string> missing;
    for (const Command& command : required) {
      const std::set<std::string> wanted = normalized(command.keys);
      const auto found = reader.keys.find(std::string(command.commandID));
      bool satisfied = false;
      if (found != reader.keys.end()) {
        for (const std::string& keys : found->second) satisfied = satisfied || normalized(keys) == wanted;
      }
      if (!satisfied) missing.emplace_back(command.name);
    }
    if (missing.empty()) return Matches{name};
    return Differs{name, std::move(missing)};
  }
  if (name == kNonePreset) {
    std::vector<std::string> all;
    for (const Command& command : required) all.emplace_back(command.name);
    return Differs{name, std::move(all)};
  }
  return Unknown{name + " keys not recorded"};
}

std::set<std::string> normalized(std::string_view keys) {
  const std::string lower = lowercased(keys);
  std::set<std::string> parts;
  std::size_t start = 0;
  while (start <= lower.size()) {
    const std::size_t end = std::min(lower.find('+', start), lower.size());
    std::string part =
        unicode::trimmed(std::string_view(lower).substr(start, end - start), &unicode::isWhitespace);
    if (!part.empty()) parts.insert(std::move(part));
    start = end + 1;
  }
  return parts;
}

}  // namespace kesta::KeyPreset
