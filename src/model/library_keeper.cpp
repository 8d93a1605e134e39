#include "model/library_keeper.h"

#include <algorithm>
#include <string>
#include <utility>

#include "model/export_age.h"
#include "model/file_date.h"
#include "model/lane_ranking.h"
#include "model/library_jobs.h"
#include "model/live_mirror.h"
#include "model/model_settings.h"
#include "model/set_record.h"
#include "model/watching.h"
#include "reading/rekordbox_folders.h"
#include "store/legacy_migration.h"

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
  return std::max(tracks, retired.songKeys->size()) >= kLargeLibraryTracks;
}

}  // namespace

LibraryKeeper::LibraryKeeper(const ModelPorts& ports, ModelParts parts)
    : parts_(parts),
      store_(ports.store),
      mainQueue_(ports.mainQueue),
      background_(ports.background),
      wallClock_(ports.wallClock),
      panels_(ports.panels) {}

// The library is handed over before the earlier version's record is read:
// decoding a large record takes as long as reading the library, and the DJ
// may connect and follow the decks meanwhile.
void LibraryKeeper::restore() {
  parts_.notifier.publish(state_, LibraryState::importing("Opening your saved library\u2026"),
                          Field::libraryState);
  background_->run(
      [store = store_, queue = mainQueue_, weak = self_, importsAtRestore = importGate_->newest()] {
        auto stored = readStoredLibrary(*store);
        const bool found = stored.has_value();
        queue->post([weak, stored = std::move(stored), importsAtRestore]() mutable {
          if (const auto self = weak.lock()) self->completeRestore(std::move(stored), importsAtRestore);
        });
        queue->post([weak, legacy = readLegacy(*store), found, importsAtRestore]() mutable {
          if (const auto self = weak.lock()) self->completeLegacy(std::move(legacy), found, importsAtRestore);
        });
      });
}

void LibraryKeeper::finishRestore(std::optional<StoredLibrary> stored, std::optional<LegacyData> legacy) {
  std::optional<PreparedLibrary> prepared;
  if (stored) {
    prepared = PreparedLibrary::prepare(std::move(stored->library), std::move(stored->xmlPath),
                                        stored->xmlModifiedAt);
  }
  const bool found = prepared.has_value();
  completeRestore(std::move(prepared), importGate_->newest());
  completeLegacy(std::move(legacy), found, importGate_->newest());
}

void LibraryKeeper::completeRestore(std::optional<PreparedLibrary> stored, std::uint64_t importsAtRestore) {
  const Notifier::Batch batch(parts_.notifier);
  if (!importGate_->isNewest(importsAtRestore)) {
    if (stored) keepRestoredBesidePick(std::move(*stored));
    return;
  }
  // Without a stored library, the export to read may be the earlier version's.
  if (!stored) return;
  const std::string xmlPath = stored->xmlPath;
  const std::optional<Date> storedDate = stored->modifiedAt;
  installPrepared(std::move(*stored));
  const auto current = fileModificationDate(xmlPath);
  if (!current || (storedDate && sameModificationDate(*current, *storedDate))) return;
  import(xmlPath, true);
}

void LibraryKeeper::completeLegacy(std::optional<LegacyData> legacy, bool libraryFound,
                                   std::uint64_t importsAtRestore) {
  const Notifier::Batch batch(parts_.notifier);
  const Preferences& preferences = parts_.settings.preferences();
  legacy_ = legacy ? std::make_shared<const LegacyData>(std::move(*legacy)) : nullptr;
  ++legacyResolutions_;
  if (legacy_ && !preferences.legacyImported) mergeLegacySets(*legacy_);
  // The library installed before the record came has its ratings resolved now.
  if (legacy_ && !library_->isEmpty()) resolveLegacyRatings(nullptr);
  if (libraryFound || !importGate_->isNewest(importsAtRestore)) return;
  const auto& path = legacy_ && legacy_->xmlPath ? legacy_->xmlPath : preferences.xmlPath;
  if (path && fileExists(*path)) {
    import(*path, false);
  } else {
    parts_.notifier.publish(state_, LibraryState::none(), Field::libraryState);
  }
}

// The user picked an export while the saved library was being opened. Their
// export wins once it is installed; until then, and when it fails, the saved
// library stays the DJ's, and a failure still says why.
void LibraryKeeper::keepRestoredBesidePick(PreparedLibrary stored) {
  if (state_.is<LibraryState::Ready>()) return;
  if (state_.is<LibraryState::Importing>()) {
    restoredBesidePick_ = std::move(stored);
    return;
  }
  const LibraryState failure = state_;
  installPrepared(std::move(stored));
  parts_.notifier.publish(state_, failure, Field::libraryState);
}

void LibraryKeeper::mergeLegacySets(const LegacyData& legacy) {
  // Not done until the sets can land: a later start merges them then.
  const auto added = parts_.sets.mergeArchived(legacy.sets);
  if (!added) return;
  parts_.settings.preferences().legacyImported = true;
  parts_.settings.save();
  // Merged by an earlier start whose settings could not say so: nothing new to tell.
  if (*added == 0 && !legacy.sets.empty()) return;
  parts_.notifier.publish(legacyNote_,
                          "Brought over from Kesta 0.5: " + std::to_string(legacy.sets.size()) +
                              " sets and " + std::to_string(legacy.ratings.size()) +
                              " ratings. Your 0.5 data is untouched.",
                          Field::legacyNote);
}

void LibraryKeeper::chooseFile() {
  const auto file = panels_->chooseFile(choosePanel());
  if (file && !file->empty()) import(*file, false);
}

void LibraryKeeper::refresh() {
  const auto& xmlPath = parts_.settings.preferences().xmlPath;
  if (xmlPath && fileExists(*xmlPath)) {
    import(*xmlPath, false);
  } else {
    chooseFile();
  }
}

void LibraryKeeper::import(const std::filesystem::path& file, bool quiet) {
  if (quiet) {
    if (quietImportRunning_) return;
    quietImportRunning_ = true;
  } else {
    parts_.notifier.publish(state_, LibraryState::importing(readingText(file)), Field::libraryState);
  }
  const std::uint64_t generation = importGate_->begin();
  const bool withRatingTargets = legacy_ && !legacy_->unresolvedRatings.empty();
  background_->run([file, now = wallClock_->now(), store = store_, gate = importGate_, generation,
                    queue = mainQueue_, weak = self_, quiet, withRatingTargets] {
    auto outcome = readExport(file, now, withRatingTargets);
    const auto text = encodeImport(outcome, *store);
    queue->post([weak, outcome = std::move(outcome), quiet, generation]() mutable {
      if (const auto self = weak.lock()) self->finishImport(std::move(outcome), quiet, generation);
    });
    // Written after the hand-over: the install need not wait for the disk.
    if (text) storeImport(*store, *gate, generation, *text);
  });
}

void LibraryKeeper::finishImport(ImportOutcome outcome, bool quiet, std::uint64_t generation) {
  const Notifier::Batch batch(parts_.notifier);
  if (quiet) quietImportRunning_ = false;
  // A newer import has started: its result, not this one, decides.
  if (!importGate_->isNewest(generation)) return;
  std::optional<PreparedLibrary> restored = std::exchange(restoredBesidePick_, std::nullopt);
  if (outcome.library) {
    if (quiet && parts_.watching.watching()) {
      // Stored for the next look, but nothing changes under a running set.
      setExportChangedDuringSet(true);
      return;
    }
    installPrepared(std::move(*outcome.library));
    return;
  }
  if (restored) installPrepared(std::move(*restored));
  parts_.notifier.publish(state_, LibraryState::failed(std::move(outcome.error)), Field::libraryState);
  if (quiet && !library_->isEmpty())
    parts_.notifier.publish(state_, LibraryState::ready(), Field::libraryState);
}

void LibraryKeeper::install(Library library, std::string xmlPath, std::optional<Date> modifiedAt) {
  const Notifier::Batch batch(parts_.notifier);
  installPrepared(PreparedLibrary::prepare(std::move(library), std::move(xmlPath), modifiedAt));
}

void LibraryKeeper::installPrepared(PreparedLibrary prepared) {
  modifiedAt_ = prepared.modifiedAt;
  setExportChangedDuringSet(false);
  // What the new library replaces is let go on a background thread: freeing
  // it takes as long as building it.
  auto retired =
      std::make_shared<PreparedLibrary>(PreparedLibrary{library_, index_, songKeys_, {}, {}, {}, nullptr});
  parts_.notifier.publish(library_, std::move(prepared.library), Field::library);
  index_ = std::move(prepared.index);
  parts_.settings.preferences().xmlPath = std::move(prepared.xmlPath);
  resolveLegacyRatings(std::move(prepared.ratingTargets));
  parts_.notifier.publish(poolChoices_, std::move(prepared.poolChoices), Field::poolChoices);
  choosePool();
  parts_.notifier.publish(state_, LibraryState::ready(), Field::libraryState);
  parts_.live.forgetDecks();
  parts_.lanes.clear();
  songKeys_ = std::move(prepared.songKeys);

  // The engine is looked up when this runs, so one started in between gets the library too.
  // The keys sent along stay held here until a later install retires them,
  // and that one's hand-over runs after this one: this copy is never the last.
  const bool large = isLarge(*retired);
  mainQueue_->post([weak = self_, index = index_, songKeys = songKeys_, retired, large,
                    background = background_]() mutable {
    if (const auto self = weak.lock()) self->parts_.watching.replaceLibrary(index, std::move(songKeys));
    if (large) background->run([doomed = std::move(retired)] {});
  });
}

// Ratings an earlier version kept by file now find their tracks, through
// `targets` when they were made with the library. The record is copied,
// resolved and encoded in the background: it may be a quarter of a gigabyte,
// and the main thread follows the decks meanwhile.
void LibraryKeeper::resolveLegacyRatings(std::shared_ptr<const LegacyMigration::RatingTargets> targets) {
  if (!legacy_) return;
  const std::uint64_t resolution = ++legacyResolutions_;
  background_->run([legacy = legacy_, targets = std::move(targets), library = library_, store = store_,
                    queue = mainQueue_, weak = self_, resolution] {
    queue->post(
        [weak, resolved = resolveLegacy(legacy, targets.get(), *library, *store), resolution]() mutable {
          if (const auto self = weak.lock()) self->keepResolvedLegacy(std::move(resolved), resolution);
        });
  });
}

// The ratings land in the user data before the record that no longer holds
// them. An outcome over an older library or record is dropped whole, so a
// rating is either still unresolved or in the user data; while the user data
// is held, they are shown this run and stay unresolved in the record.
void LibraryKeeper::keepResolvedLegacy(ResolvedLegacy resolved, std::uint64_t resolution) {
  if (resolution != legacyResolutions_ || !resolved.legacy) {
    background_->run([doomed = std::move(resolved)] {});
    return;
  }
  if (!resolved.moved.empty()) {
    UserData userData = parts_.sets.userData();
    for (auto& [key, rating] : resolved.moved) userData.ratings.try_emplace(key, rating);
    parts_.sets.setUserData(std::move(userData));
  }
  // Freeing the record it replaces takes as long as copying it.
  background_->run([doomed = std::exchange(legacy_, std::move(resolved.legacy))] {});
  if (resolved.text) store_->saveLegacyText(std::move(*resolved.text));
}

// The pool last used with this library, when it still exists, else all tracks.
void LibraryKeeper::choosePool() {
  const Preferences& preferences = parts_.settings.preferences();
  const auto saved = preferences.poolByLibrary.find(library_->sourceFileName);
  const std::string pool = saved != preferences.poolByLibrary.end() && library_->isValidPool(saved->second)
                               ? saved->second
                               : "all";
  if (parts_.lanes.poolID() != pool) parts_.lanes.setPoolID(pool);
  parts_.settings.save();
}

std::optional<std::string> LibraryKeeper::exportAge() const {
  if (!modifiedAt_) return std::nullopt;
  return exportAgeText(*modifiedAt_, wallClock_->now());
}

void LibraryKeeper::checkForNewerExport() {
  const auto& xmlPath = parts_.settings.preferences().xmlPath;
  if (library_->isEmpty() || !state_.is<LibraryState::Ready>() || !xmlPath) return;
  const std::filesystem::path file = *xmlPath;
  const auto current = fileModificationDate(file);
  if (!current || (modifiedAt_ && sameModificationDate(*current, *modifiedAt_))) return;
  if (parts_.watching.watching()) {
    setExportChangedDuringSet(true);
  } else {
    import(file, true);
  }
}

bool LibraryKeeper::rekordboxChangedSinceExport() const {
  if (!modifiedAt_) return false;
  const auto changedAt = fileModificationDate(RekordboxFolders::databaseFile());
  return changedAt && changedAt->secondsSince(*modifiedAt_) > kDatabaseGraceSeconds;
}

void LibraryKeeper::setExportChangedDuringSet(bool changed) {
  parts_.notifier.publish(exportChangedDuringSet_, changed, Field::exportChangedDuringSet);
}

}  // namespace kesta::model
