#include "store/app_store.h"

#include <chrono>
#include <cstdlib>
#include <new>
#include <system_error>

#include "platform/defaults/defaults_domain.h"
#include "platform/files/outside_file.h"
#include "platform/json/json_coding.h"
#include "store/atomic_file.h"
#include "store/library_file.h"

namespace kesta {
namespace {

constexpr std::string_view kPreferencesFile = "preferences.json";
constexpr std::string_view kUserDataFile = "userdata.json";
constexpr std::string_view kLibraryFile = "library.json";
constexpr std::string_view kActiveSetFile = "active-set.json";
constexpr std::string_view kArchivedSetsFile = "sets.json";
constexpr std::string_view kLegacyFile = "legacy-import.json";

std::string unixSecondsNow() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::to_string(std::chrono::duration_cast<std::chrono::seconds>(now).count());
}

template <class Record>
Record fromText(std::string_view text) {
  return Record::fromJson(json::parse(text));
}

std::string text(const json::Value& value) { return json::write(value); }
std::string text(std::string encoded) { return encoded; }

std::filesystem::path userDataFolder() {
  // Relative values are to be ignored, as the base-directory convention asks.
  if (const char* xdg = std::getenv("XDG_DATA_HOME");
      xdg && *xdg && std::filesystem::path(xdg).is_absolute()) {
    return xdg;
  }
  return defaults::homeFolder() / ".local" / "share";
}

}  // namespace

std::filesystem::path AppStore::defaultRoot() {
  if (const char* dir = std::getenv("KESTA_DATA_DIR"); dir && *dir) return dir;
  return userDataFolder() / "Kesta Live Beta";
}

AppStore::AppStore(std::filesystem::path root)
    : root_(std::move(root)),
      records_(std::make_unique<RecordWriter>(root_)),
      diagnosticsQueue_(std::make_unique<SerialQueue>("kesta.diagnostics.write")) {
  std::error_code ignored;
  std::filesystem::create_directories(root_, ignored);
  AtomicFile::removeLeftovers(root_);
  AtomicFile::removeLeftovers(diagnosticsFolder());
}

AppStore::~AppStore() { flush(); }

void AppStore::flush() const { records_->flush(); }

template <class T, class Decode>
std::optional<T> AppStore::load(std::string_view name, Decode decode) const {
  // Saves still queued hold the latest content of their files.
  flush();
  const auto file = root_ / name;
  const auto read = files::readRegularFile(file, AtomicFile::maximumFileBytes);
  if (const auto* failure = std::get_if<files::ReadFailure>(&read);
      failure && *failure == files::ReadFailure::tooLarge) {
    AtomicFile::moveAside(file, ".unreadable-" + unixSecondsNow());
    return std::nullopt;
  }
  const auto* bytes = std::get_if<std::string>(&read);
  if (!bytes) return std::nullopt;
  try {
    return decode(std::string_view(*bytes));
  } catch (const std::bad_alloc&) {
    // Not the file's fault: leave it where it is.
    return std::nullopt;
  } catch (const std::exception&) {
    AtomicFile::moveAside(file, ".unreadable-" + unixSecondsNow());
    return std::nullopt;
  }
}

template <class Encode>
void AppStore::save(std::string_view name, Encode encode) const {
  const std::string bytes = text(encode());
  // The folder may have been removed while the app runs; without it every
  // later save would fail.
  std::error_code ignored;
  std::filesystem::create_directories(root_, ignored);
  AtomicFile::write(root_ / name, bytes);
}

template <class Encode>
void AppStore::saveSilently(std::string_view name, Encode encode) const {
  std::string bytes;
  try {
    bytes = text(encode());
  } catch (const std::exception&) {
    // These files are rewritten whole at the next change; the old one stays intact.
    return;
  }
  records_->write(name, std::move(bytes));
}

Preferences AppStore::preferences() const {
  return load<Preferences>(kPreferencesFile, fromText<Preferences>).value_or(Preferences{});
}

void AppStore::savePreferences(const Preferences& preferences) const {
  saveSilently(kPreferencesFile, [&] { return preferences.toJson(); });
}

UserData AppStore::userData() const {
  return load<UserData>(kUserDataFile, fromText<UserData>).value_or(UserData{});
}

void AppStore::saveUserData(const UserData& userData) const {
  saveSilently(kUserDataFile, [&] { return userData.toJson(); });
}

std::optional<StoredLibrary> AppStore::storedLibrary() const {
  return load<StoredLibrary>(kLibraryFile, LibraryFile::decode);
}

void AppStore::saveLibrary(const StoredLibrary& library) const {
  save(kLibraryFile, [&] { return LibraryFile::encode(library); });
}

void AppStore::saveLibrary(const Library& library, const std::string& xmlPath,
                           const std::optional<Date>& xmlModifiedAt) const {
  save(kLibraryFile, [&] { return LibraryFile::encode(library, xmlPath, xmlModifiedAt); });
}

std::optional<DJSet> AppStore::activeSet() const { return load<DJSet>(kActiveSetFile, fromText<DJSet>); }

void AppStore::saveActiveSet(const std::optional<DJSet>& set) const {
  if (set) {
    saveSilently(kActiveSetFile, [&] { return set->toJson(); });
  } else {
    // Queued like a save, so that a write still waiting cannot bring the file back.
    records_->remove(kActiveSetFile);
  }
}

std::vector<DJSet> AppStore::archivedSets() const {
  const auto decode = [](std::string_view text) {
    return json::asList<DJSet>(json::parse(text), DJSet::fromJson);
  };
  return load<std::vector<DJSet>>(kArchivedSetsFile, decode).value_or(std::vector<DJSet>{});
}

void AppStore::saveArchivedSets(const std::vector<DJSet>& sets) const {
  saveSilently(kArchivedSetsFile, [&] {
    json::Value array = json::Value::array();
    for (std::size_t i = 0; i < sets.size() && i < keptArchivedSets; ++i) array.push_back(sets[i].toJson());
    return array;
  });
}

std::optional<LegacyData> AppStore::legacy() const {
  return load<LegacyData>(kLegacyFile, fromText<LegacyData>);
}

void AppStore::saveLegacy(const LegacyData& legacy) const {
  saveSilently(kLegacyFile, [&] { return legacy.toJson(); });
}

}  // namespace kesta
