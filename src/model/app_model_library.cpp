// The library section of the app model: the restore at launch, the imports
// of the collection export, the install of a library and the freshness of
// the export on disk.
#include <algorithm>
#include <exception>
#include <string>
#include <system_error>
#include <utility>

#include "library/library_import_error.h"
#include "library/rekordbox_xml_importer.h"
#include "model/app_model.h"
#include "model/export_age.h"
#include "model/file_date.h"
#include "reading/rekordbox_folders.h"
#include "store/legacy_migration.h"
#include "store/library_file.h"

namespace kesta::model {
namespace {

constexpr double kDatabaseGraceSeconds = 3600;  // rekordbox writes its database on its own now and then
// Freeing a library this large takes the main thread milliseconds; a smaller
// one is freed where it is let go.
constexpr std::size_t kLargeLibraryTracks = 10'000;

const OpenPanelRequest& choosePanel() {
  static const OpenPanelRequest request{
      "Choose your rekordbox XML export",
      "In rekordbox: File \u203A Export Collection in xml format. Then choose that file here.",
      {"xml"}};
  return request;
}

std::string readingText(const std::filesystem::path& file) {
  return "Reading " + file.filename().string() + "\u2026";
}

bool fileExists(const std::filesystem::path& file) {
  std::error_code error;
  return std::filesystem::is_regular_file(file, error);
}

bool isLarge(const PreparedLibrary& retired) {
  const std::size_t tracks = retired.library ? retired.library->tracks.size() : 0;
  return std::max({tracks, retired.songKeys.size(), retired.engineSongKeys.size()}) >= kLargeLibraryTracks;
}

// The background half of an import: read the export and prepare its install.
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

// The text of "library.json" for an import, made before the install: a
// library too large to be read back at the next start is refused as the
// importer refuses an export, and the DJ keeps the one they have. None when
// the library cannot be encoded; it is then installed but not kept.
std::optional<LibraryFile::Text> encodeImport(ImportOutcome& outcome, std::uint64_t maximumBytes) {
  if (!outcome.library) return std::nullopt;
  try {
    auto text = LibraryFile::encodeText(*outcome.library->library, outcome.library->xmlPath,
                                        outcome.library->modifiedAt);
    if (text.size() <= maximumBytes) return text;
    outcome = {std::nullopt,
               LibraryImportError::unreadable("the library it holds is too large for Kesta to keep").what()};
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

// Keeps an import in "library.json" unless a newer import has started. A
// failed write leaves the library usable for this run (the store tells the
// DJ); the next launch reopens whatever the file still holds.
void storeImport(const AppStore& store, ImportGate& gate, std::uint64_t generation,
                 const LibraryFile::Text& text) {
  gate.writeIfNewest(generation, [&] {
    try {
      store.saveLibrary(text);
    } catch (const std::exception&) {
    }
  });
}

}  // namespace

void AppModel::restoreLibrary() {
  publish(libraryState_, LibraryState::importing("Opening your saved library\u2026"), Field::libraryState);
  background_->run([store = store_, queue = mainQueue_, weak = weak_from_this(),
                    importsAtRestore = importGate_->newest()] {
    auto stored = store->storedLibrary();
    auto legacy = store->legacy();
    if (!legacy && !store->preferences().legacyImported) {
      legacy = LegacyMigration::read(LegacyMigration::domains());
      if (legacy) store->saveLegacy(*legacy);
    }
    std::optional<PreparedLibrary> prepared;
    if (stored) {
      prepared =
          PreparedLibrary::prepare(std::move(stored->library), std::move(stored->xmlPath),
                                   stored->xmlModifiedAt, legacy && !legacy->unresolvedRatings.empty());
    }
    queue->post(
        [weak, prepared = std::move(prepared), legacy = std::move(legacy), importsAtRestore]() mutable {
          if (const auto model = weak.lock()) {
            model->completeRestore(std::move(prepared), std::move(legacy), importsAtRestore);
          }
        });
  });
}

void AppModel::finishRestore(std::optional<StoredLibrary> stored, std::optional<LegacyData> legacy) {
  std::optional<PreparedLibrary> prepared;
  if (stored) {
    prepared = PreparedLibrary::prepare(std::move(stored->library), std::move(stored->xmlPath),
                                        stored->xmlModifiedAt);
  }
  completeRestore(std::move(prepared), std::move(legacy), importGate_->newest());
}

void AppModel::completeRestore(std::optional<PreparedLibrary> stored, std::optional<LegacyData> legacy,
                               std::uint64_t importsAtRestore) {
  legacy_ = std::move(legacy);
  if (legacy_ && !preferences_.legacyImported) mergeLegacySets(*legacy_);
  if (!importGate_->isNewest(importsAtRestore)) {
    if (stored) keepRestoredBesidePick(std::move(*stored));
    return;
  }

  if (stored) {
    const std::string xmlPath = stored->xmlPath;
    const std::optional<Date> storedDate = stored->modifiedAt;
    installPrepared(std::move(*stored));
    const auto current = fileModificationDate(xmlPath);
    if (!current || (storedDate && sameModificationDate(*current, *storedDate))) return;
    importLibrary(xmlPath, true);
    return;
  }
  const auto& path = legacy_ && legacy_->xmlPath ? legacy_->xmlPath : preferences_.xmlPath;
  if (path && fileExists(*path)) {
    importLibrary(*path, false);
  } else {
    publish(libraryState_, LibraryState::none(), Field::libraryState);
  }
}

// The user picked an export while the saved library was being opened. Their
// export wins once it is installed; until then, and when it fails, the saved
// library stays the DJ's, and a failure still says why.
void AppModel::keepRestoredBesidePick(PreparedLibrary stored) {
  if (libraryState_.is<LibraryState::Ready>()) return;
  if (libraryState_.is<LibraryState::Importing>()) {
    restoredBesidePick_ = std::move(stored);
    return;
  }
  const LibraryState failure = libraryState_;
  installPrepared(std::move(stored));
  publish(libraryState_, failure, Field::libraryState);
}

void AppModel::mergeLegacySets(const LegacyData& legacy) {
  std::vector<DJSet> sets = archivedSets_;
  sets.insert(sets.end(), legacy.sets.begin(), legacy.sets.end());
  // Stable: a set already here stays ahead of an old one with the same start.
  std::stable_sort(sets.begin(), sets.end(),
                   [](const DJSet& a, const DJSet& b) { return a.startedAt > b.startedAt; });
  publish(archivedSets_, std::move(sets), Field::archivedSets);
  store_->saveArchivedSets(archivedSets_);
  preferences_.legacyImported = true;
  savePreferences();
  publish(legacyNote_,
          "Brought over from Kesta 0.5: " + std::to_string(legacy.sets.size()) + " sets and " +
              std::to_string(legacy.ratings.size()) + " ratings. Your 0.5 data is untouched.",
          Field::legacyNote);
}

void AppModel::chooseLibraryFile() {
  const auto file = panels_->chooseFile(choosePanel());
  if (file && !file->empty()) importLibrary(*file, false);
}

void AppModel::refreshLibrary() {
  if (preferences_.xmlPath && fileExists(*preferences_.xmlPath)) {
    importLibrary(*preferences_.xmlPath, false);
  } else {
    chooseLibraryFile();
  }
}

void AppModel::importLibrary(const std::filesystem::path& file, bool quiet) {
  if (quiet) {
    if (quietImportRunning_) return;
    quietImportRunning_ = true;
  } else {
    publish(libraryState_, LibraryState::importing(readingText(file)), Field::libraryState);
  }
  const std::uint64_t generation = importGate_->begin();
  const bool withRatingTargets = legacy_ && !legacy_->unresolvedRatings.empty();
  background_->run([file, now = wallClock_->now(), store = store_, gate = importGate_, generation,
                    queue = mainQueue_, weak = weak_from_this(), quiet, withRatingTargets] {
    auto outcome = readExport(file, now, withRatingTargets);
    const auto text = encodeImport(outcome, store->maximumLibraryBytes());
    queue->post([weak, outcome = std::move(outcome), quiet, generation]() mutable {
      if (const auto model = weak.lock()) model->finishImport(std::move(outcome), quiet, generation);
    });
    // Written after the hand-over: the install need not wait for the disk.
    if (text) storeImport(*store, *gate, generation, *text);
  });
}

void AppModel::finishImport(ImportOutcome outcome, bool quiet, std::uint64_t generation) {
  if (quiet) quietImportRunning_ = false;
  // A newer import has started: its result, not this one, decides.
  if (!importGate_->isNewest(generation)) return;
  std::optional<PreparedLibrary> restored = std::exchange(restoredBesidePick_, std::nullopt);
  if (outcome.library) {
    if (quiet && watching_) {
      // Stored for the next look, but nothing changes under a running set.
      setExportChangedDuringSet(true);
      return;
    }
    installPrepared(std::move(*outcome.library));
    return;
  }
  if (restored) installPrepared(std::move(*restored));
  publish(libraryState_, LibraryState::failed(std::move(outcome.error)), Field::libraryState);
  if (quiet && !library_->isEmpty()) publish(libraryState_, LibraryState::ready(), Field::libraryState);
}

void AppModel::install(Library library, std::string xmlPath, std::optional<Date> modifiedAt) {
  installPrepared(PreparedLibrary::prepare(std::move(library), std::move(xmlPath), modifiedAt));
}

void AppModel::installPrepared(PreparedLibrary prepared) {
  libraryModifiedAt_ = prepared.modifiedAt;
  setExportChangedDuringSet(false);
  // What the new library replaces is let go on a background thread: freeing
  // it takes as long as building it.
  auto retired =
      std::make_shared<PreparedLibrary>(PreparedLibrary{library_, index_, {}, {}, {}, {}, {}, nullptr});
  publish(library_, std::move(prepared.library), Field::library);
  index_ = std::move(prepared.index);
  preferences_.xmlPath = std::move(prepared.xmlPath);

  if (legacy_) {
    LegacyData legacy = *legacy_;
    UserData userData = userData_;
    if (!legacy.unresolvedRatings.empty()) {
      // Made with the library when it was prepared, unless the record came in between.
      const auto targets = prepared.ratingTargets
                               ? std::move(prepared.ratingTargets)
                               : std::make_shared<const LegacyMigration::RatingTargets>(*library_);
      retired->ratingTargets = targets;
      if (LegacyMigration::resolveRatings(legacy, *targets, userData) > 0) {
        publish(userData_, std::move(userData), Field::userData);
        store_->saveUserData(userData_);
      }
    }
    legacy_ = std::move(legacy);
    store_->saveLegacy(*legacy_);
  }

  const auto saved = preferences_.poolByLibrary.find(library_->sourceFileName);
  publish(poolChoices_, std::move(prepared.poolChoices), Field::poolChoices);
  const std::string pool = saved != preferences_.poolByLibrary.end() && library_->isValidPool(saved->second)
                               ? saved->second
                               : "all";
  if (poolID_ != pool) setPoolID(pool);
  savePreferences();

  publish(libraryState_, LibraryState::ready(), Field::libraryState);
  publish(focus_, std::nullopt, Field::focus);
  publish(decks_, std::vector<DeckContent>{DeckContent::unknown(), DeckContent::unknown()}, Field::decks);
  publish(lanes_, std::vector<LaneResult>{}, Field::lanes);
  retired->songKeys = std::exchange(songKeys_, std::move(prepared.songKeys));
  retired->engineSongKeys = std::move(prepared.engineSongKeys);

  // The engine is looked up when this runs, so one started in between gets the library too.
  const bool large = isLarge(*retired);
  mainQueue_->post(
      [weak = weak_from_this(), index = index_, retired, large, background = background_]() mutable {
        const auto model = weak.lock();
        if (model && model->engine_)
          model->engine_->replaceLibrary(index, std::move(retired->engineSongKeys));
        if (large) background->run([doomed = std::move(retired)] {});
      });
}

std::optional<std::string> AppModel::exportAge() const {
  if (!libraryModifiedAt_) return std::nullopt;
  return exportAgeText(*libraryModifiedAt_, wallClock_->now());
}

void AppModel::checkForNewerExport() {
  if (library_->isEmpty() || !libraryState_.is<LibraryState::Ready>() || !preferences_.xmlPath) return;
  const std::filesystem::path file = *preferences_.xmlPath;
  const auto current = fileModificationDate(file);
  if (!current || (libraryModifiedAt_ && sameModificationDate(*current, *libraryModifiedAt_))) return;
  if (watching_) {
    setExportChangedDuringSet(true);
  } else {
    importLibrary(file, true);
  }
}

bool AppModel::rekordboxChangedSinceExport() const {
  if (!libraryModifiedAt_) return false;
  const auto changedAt = fileModificationDate(RekordboxFolders::databaseFile());
  return changedAt && changedAt->secondsSince(*libraryModifiedAt_) > kDatabaseGraceSeconds;
}

void AppModel::setExportChangedDuringSet(bool changed) {
  publish(exportChangedDuringSet_, changed, Field::exportChangedDuringSet);
}

void AppModel::setLibraryModifiedAt(std::optional<Date> date) { libraryModifiedAt_ = date; }

}  // namespace kesta::model
