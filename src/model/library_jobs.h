#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "model/import_gate.h"
#include "model/prepared_library.h"
#include "platform/time/date.h"
#include "store/app_store.h"
#include "store/legacy_data.h"
#include "store/legacy_migration.h"
#include "store/library_file.h"

namespace kesta::model {

// The library's work off the main thread: reading and preparing the stored
// library and an export, and keeping an import in "library.json". Each runs
// on a background thread and touches no model state. Failures: an export
// that cannot be read, or a library that cannot be kept, is an outcome with
// its error; a failed write leaves the file as it was.

// The background halves of the restore: the stored library prepared, and the
// earlier version's data, read from where it kept it the first time.
std::optional<PreparedLibrary> readStoredLibrary(const AppStore& store);
std::optional<LegacyData> readLegacy(const AppStore& store);

// The background half of an import: read the export and prepare its install.
ImportOutcome readExport(const std::filesystem::path& file, Date now, bool withRatingTargets);

// The text of "library.json" for an import, made before the install: a
// library that cannot be kept (too large to be read back at the next start,
// or memory ran out encoding it) is refused as the importer refuses an
// export, and the DJ keeps the one they have. None for a refused or failed
// import.
std::optional<LibraryFile::Text> encodeImport(ImportOutcome& outcome, const AppStore& store);

// The background half of resolving the old ratings after an install: the
// record with the ratings that found a track taken out, those ratings by
// track key, and the record's text to keep (none when it could not be
// encoded). Copying, resolving and encoding grow with the record, up to a
// quarter of a gigabyte, so none of it is the main thread's. Resolves against
// `targets` when given, else against `library`. No record when memory ran out
// before it was resolved. While the store holds "userdata.json", ratings
// taken into it would be in no file after this run: the record is `legacy`
// itself then, keeping them unresolved, and there is no text.
struct ResolvedLegacy {
  std::shared_ptr<const LegacyData> legacy;
  std::map<std::string, int> moved;
  std::optional<std::string> text;
};
ResolvedLegacy resolveLegacy(std::shared_ptr<const LegacyData> legacy,
                             const LegacyMigration::RatingTargets* targets, const Library& library,
                             const AppStore& store);

// Keeps an import in "library.json" unless a newer import has started. A
// failed write leaves the library usable for this run (the store tells the
// DJ); the next launch reopens whatever the file still holds.
void storeImport(const AppStore& store, ImportGate& gate, std::uint64_t generation,
                 const LibraryFile::Text& text);

}  // namespace kesta::model
