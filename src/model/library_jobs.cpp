#include "model/library_jobs.h"

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "library/library_import_error.h"
#include "library/rekordbox_xml_importer.h"
#include "model/file_date.h"
#include "store/legacy_migration.h"

namespace kesta::model {

std::optional<PreparedLibrary> readStoredLibrary(const AppStore& store) {
  auto stored = store.storedLibrary();
  if (!stored) return std::nullopt;
  return PreparedLibrary::prepare(std::move(stored->library), std::move(stored->xmlPath),
                                  stored->xmlModifiedAt);
}

std::optional<LegacyData> readLegacy(const AppStore& store) {
  auto legacy = store.legacy();
  if (!legacy && !store.preferences().legacyImported) {
    legacy = LegacyMigration::read(LegacyMigration::domains());
    if (legacy) store.saveLegacy(*legacy);
  }
  return legacy;
}

ImportOutcome readExport(const std::filesystem::path& file, Date now, bool withRatingTargets) {
  try {
    Library library = RekordboxXMLImporter::importLibrary(file, now);
    return {PreparedLibrary::prepare(std::move(library), file.string(), fileModificationDate(file),
                                     withRatingTargets),
            {}};
  } catch (const std::exception& error) {
    return {std::nullopt, error.what()};
  }
}

std::optional<LibraryFile::Text> encodeImport(ImportOutcome& outcome, const AppStore& store) {
  if (!outcome.library) return std::nullopt;
  std::string refusal;
  try {
    auto text =
        store.encodeLibrary(*outcome.library->library, outcome.library->xmlPath, outcome.library->modifiedAt);
    if (text.size() <= store.maximumLibraryBytes()) return text;
    refusal = "the library it holds is too large for Kesta to keep";
  } catch (const std::bad_alloc&) {
    refusal = "there is not enough memory to keep the library it holds";
  } catch (const std::exception&) {
    refusal = "the library it holds cannot be kept";
  }
  // Installed but not kept, it would be gone at the next start without a word.
  outcome = {std::nullopt, LibraryImportError::unreadable(refusal).what()};
  return std::nullopt;
}

ResolvedLegacy resolveLegacy(std::shared_ptr<const LegacyData> legacy,
                             const LegacyMigration::RatingTargets* targets, const Library& library,
                             const AppStore& store) {
  try {
    auto updated = std::make_shared<LegacyData>(*legacy);
    UserData moved;
    if (targets) {
      LegacyMigration::resolveRatings(*updated, *targets, moved);
    } else {
      LegacyMigration::resolveRatings(*updated, library, moved);
    }
    if (!moved.ratings.empty() && store.userDataHeld())
      return {std::move(legacy), std::move(moved.ratings), {}};
    ResolvedLegacy resolved{updated, std::move(moved.ratings), std::nullopt};
    try {
      resolved.text = store.encodeLegacy(*updated);
    } catch (const std::exception&) {
      // Kept in memory for this run; the file stays as it was.
    }
    return resolved;
  } catch (const std::exception&) {
    // Memory ran out copying or resolving: the record stays as it was.
    return {};
  }
}

void storeImport(const AppStore& store, ImportGate& gate, std::uint64_t generation,
                 const LibraryFile::Text& text) {
  gate.writeIfNewest(generation, [&] {
    try {
      store.saveLibrary(text);
    } catch (const std::exception&) {
    }
  });
}

}  // namespace kesta::model
