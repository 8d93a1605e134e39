#include "model/library_jobs.h"

#include <exception>
#include <utility>

#include "library/library_import_error.h"
#include "library/rekordbox_xml_importer.h"
#include "model/file_date.h"
#include "store/legacy_migration.h"

namespace kesta::model {

Restored readStored(const AppStore& store) {
  auto stored = store.storedLibrary();
  auto legacy = store.legacy();
  if (!legacy && !store.preferences().legacyImported) {
    legacy = LegacyMigration::read(LegacyMigration::domains());
    if (legacy) store.saveLegacy(*legacy);
  }
  std::optional<PreparedLibrary> prepared;
  if (stored) {
    prepared = PreparedLibrary::prepare(std::move(stored->library), std::move(stored->xmlPath),
                                        stored->xmlModifiedAt, legacy && !legacy->unresolvedRatings.empty());
  }
  return {std::move(prepared), std::move(legacy)};
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

std::optional<LibraryFile::Text> encodeImport(ImportOutcome& outcome, std::uint64_t maximumBytes) {
  if (!outcome.library) return std::nullopt;
  try {
    auto text = LibraryFile::encodeText(*outcome.library->library, outcome.library->xmlPath,
                                        outcome.library->modifiedAt, maximumBytes);
    if (text.size() <= maximumBytes) return text;
    outcome = {std::nullopt,
               LibraryImportError::unreadable("the library it holds is too large for Kesta to keep").what()};
  } catch (const std::exception&) {
  }
  return std::nullopt;
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
