#include "store/app_store.h"

#include <chrono>
#include <cstdlib>
#include <new>
#include <system_error>

#include "platform/defaults/defaults_domain.h"
#include "platform/json/json_coding.h"
#include "store/atomic_file.h"
#include "store/library_file.h"
#include "store/library_file_reader.h"

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

AppStore::AppStore(std::filesystem::path root, std::shared_ptr<const StoreFiles> files,
                   std::uint64_t maximumLibraryBytes)
    : root_(std::move(root)),
      files_(std::move(files)),
      problems_(std::make_shared<StoreProblems>()),
      maximumLibraryBytes_(maximumLibraryBytes),
      records_(std::make_unique<RecordWriter>(root_, files_, problems_,
                                              [this](std::string_view name) { return release(name); })),
      diagnosticsQueue_(std::make_unique<SerialQueue>("kesta.diagnostics.write")) {
  std::error_code ignored;
  std::filesystem::create_directories(root_, ignored);
  AtomicFile::removeLeftovers(root_);
  AtomicFile::removeLeftovers(diagnosticsFolder());
}

AppStore::~AppStore() { flush(); }

void AppStore::flush() const { records_->flush(); }

void AppStore::listen(StoreProblems::Listener listener) const { problems_->listen(std::move(listener)); }

template <class T, class Decode>
std::optional<T> AppStore::load(std::string_view name, std::uint64_t maxBytes, Decode decode) const {
  // Saves still queued hold the latest content of their files.
  flush();
  const auto read = files_->read(root_ / name, maxBytes);
  const auto* failure = std::get_if<files::ReadFailure>(&read);
  return decoded<T>(name, failure ? std::optional(*failure) : std::nullopt,
                    [&] { return decode(std::string_view(std::get<std::string>(read))); });
}

template <class T, class Decode>
std::optional<T> AppStore::decoded(std::string_view name, std::optional<files::ReadFailure> failure,
                                   Decode decode) const {
  if (failure) {
    switch (*failure) {
      case files::ReadFailure::missing:
        break;
      case files::ReadFailure::notRegularFile:
        // Nothing of the DJ's to move; it only must not be replaced.
        problems_->hold(name, StoreProblem::Hold::notAFile);
        break;
      case files::ReadFailure::noResources:
        // Not the file's fault: it is likely whole, and stays for the next start.
        problems_->hold(name, StoreProblem::Hold::noResources);
        break;
      case files::ReadFailure::tooLarge:
      case files::ReadFailure::unreadable:
        setAside(name);
        break;
    }
    return std::nullopt;
  }
  try {
    return decode();
  } catch (const std::bad_alloc&) {
    // Not the file's fault: it is likely whole, and stays for the next start.
    problems_->hold(name, StoreProblem::Hold::noResources);
    return std::nullopt;
  } catch (const std::exception&) {
    setAside(name);
    return std::nullopt;
  }
}

void AppStore::setAside(std::string_view name) const {
  if (!moveAside(name)) problems_->hold(name, StoreProblem::Hold::unreadable);
}

bool AppStore::release(std::string_view name) const {
  std::error_code error;
  const auto kind = std::filesystem::status(root_ / name, error).type();
  // A folder, FIFO or device is never moved: the record waits until it has
  // gone. Nor is a record the system lacked the resources to read: it holds
  // the DJ's history or ratings, which a record begun empty this session
  // would hide. The library is only a copy of the export.
  const bool mayMove = kind == std::filesystem::file_type::regular &&
                       (problems_->holdOf(name) != StoreProblem::Hold::noResources || name == kLibraryFile);
  const bool free = kind == std::filesystem::file_type::not_found || (mayMove && moveAside(name));
  if (free) problems_->release(name);
  return free;
}

bool AppStore::moveAside(std::string_view name) const {
  const auto moved = files_->moveAside(root_ / name, ".unreadable-" + unixSecondsNow());
  if (!moved) return false;
  if (name != kLibraryFile) return true;
  // Rebuilt from the export at every start that sets it aside, so only the
  // newest copy is worth keeping.
  const std::string prefix = std::string(kLibraryFile) + ".unreadable-";
  std::error_code error;
  for (std::filesystem::directory_iterator it(root_, error), end; !error && it != end; it.increment(error)) {
    const auto path = it->path();
    if (path != *moved && path.filename().string().starts_with(prefix)) {
      try {
        files_->remove(path);
      } catch (const std::system_error&) {
      }
    }
  }
  return true;
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
  return load<Preferences>(kPreferencesFile, AtomicFile::maximumFileBytes, fromText<Preferences>)
      .value_or(Preferences{});
}

void AppStore::savePreferences(const Preferences& preferences) const {
  saveSilently(kPreferencesFile, [&] { return preferences.toJson(); });
}

UserData AppStore::userData() const {
  return load<UserData>(kUserDataFile, AtomicFile::maximumFileBytes, fromText<UserData>).value_or(UserData{});
}

void AppStore::saveUserData(const UserData& userData) const {
  saveSilently(kUserDataFile, [&] { return userData.toJson(); });
}

std::optional<StoredLibrary> AppStore::storedLibrary() const {
  flush();
  // Read in blocks, so that the file is never held whole: a long id a
  // playlist lists thousands of times is kept once.
  LibraryFile::Reader reader;
  std::optional<files::ReadFailure> failure;
  try {
    failure = files_->readInBlocks(root_ / kLibraryFile, maximumLibraryBytes_,
                                   [&](std::string_view block) { reader.add(block); });
  } catch (const std::bad_alloc&) {
    failure = files::ReadFailure::noResources;
  }
  return decoded<StoredLibrary>(kLibraryFile, failure, [&] { return std::move(reader).decode(); });
}

void AppStore::saveLibrary(const StoredLibrary& library) const {
  saveLibrary(library.library, library.xmlPath, library.xmlModifiedAt);
}

void AppStore::saveLibrary(const Library& library, const std::string& xmlPath,
                           const std::optional<Date>& xmlModifiedAt) const {
  saveLibrary(encodeLibrary(library, xmlPath, xmlModifiedAt));
}

LibraryFile::Text AppStore::encodeLibrary(const Library& library, const std::string& xmlPath,
                                          const std::optional<Date>& xmlModifiedAt) const {
  return files_->encodeLibrary(library, xmlPath, xmlModifiedAt, maximumLibraryBytes_);
}

void AppStore::saveLibrary(const LibraryFile::Text& text) const {
  const auto file = root_ / kLibraryFile;
  if (problems_->isHeld(kLibraryFile) && !release(kLibraryFile))
    throw std::system_error(std::make_error_code(std::errc::permission_denied),
                            "kept as it is, as it could not be read: " + file.string());
  // Never a file that the next start could not read back.
  if (text.size() > maximumLibraryBytes_)
    throw std::system_error(std::make_error_code(std::errc::file_too_large), file.string());
  // The folder may have been removed while the app runs; without it every
  // later save would fail.
  std::error_code ignored;
  std::filesystem::create_directories(root_, ignored);
  const auto pieces = text.views();
  try {
    files_->write(file, pieces);
  } catch (const std::system_error& error) {
    problems_->saveFailed(kLibraryFile, error.code(), false);
    throw;
  }
  problems_->saveLanded();
}

std::optional<DJSet> AppStore::activeSet() const {
  return load<DJSet>(kActiveSetFile, AtomicFile::maximumFileBytes, fromText<DJSet>);
}

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
  return load<std::vector<DJSet>>(kArchivedSetsFile, AtomicFile::maximumFileBytes, decode)
      .value_or(std::vector<DJSet>{});
}

void AppStore::saveArchivedSets(const std::vector<DJSet>& sets) const {
  saveSilently(kArchivedSetsFile, [&] {
    json::Value array = json::Value::array();
    for (std::size_t i = 0; i < sets.size() && i < keptArchivedSets; ++i) array.push_back(sets[i].toJson());
    return array;
  });
}

bool AppStore::archiveHeld() const { return !records_->writable(kArchivedSetsFile); }

bool AppStore::userDataHeld() const { return !records_->writable(kUserDataFile); }

std::optional<LegacyData> AppStore::legacy() const {
  return load<LegacyData>(kLegacyFile, AtomicFile::maximumFileBytes, fromText<LegacyData>);
}

void AppStore::saveLegacy(const LegacyData& legacy) const {
  saveSilently(kLegacyFile, [&] { return legacy.toJson(); });
}

std::string AppStore::encodeLegacy(const LegacyData& legacy) const { return text(legacy.toJson()); }

void AppStore::saveLegacyText(std::string text) const { records_->write(kLegacyFile, std::move(text)); }

}  // namespace kesta
