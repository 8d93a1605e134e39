#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/library.h"
#include "library/pool_choice.h"
#include "model/import_gate.h"
#include "model/library_jobs.h"
#include "model/library_state.h"
#include "model/model_parts.h"
#include "model/model_ports.h"
#include "model/prepared_library.h"
#include "platform/time/date.h"
#include "reading/library_index.h"
#include "store/legacy_data.h"
#include "store/legacy_migration.h"
#include "store/stored_library.h"

namespace kesta::model {

// The DJ's library: the restore at launch (with the data of an earlier
// version brought over once), the imports of the collection export, the
// install of a library everywhere it is read, and the freshness of the
// export on disk.
//
// Uses the settings, the set record, the watching session, the live mirror
// and the lanes. Threads: main thread only; reading and preparing a library
// runs on the background executor and hands its result back on the main
// queue, and so do reading the earlier version's record, after the stored
// library, and resolving its ratings after each install. Only the newest
// import installs and writes "library.json"; only the newest resolution is
// kept.
// Ownership: the library, its index and its song keys are built once, while
// preparing, and shared, never copied: the engine reads the same ones. A
// large library let go is freed on the background executor.
// Failures: an import that fails leaves the library in use and says why.
class LibraryKeeper {
 public:
  LibraryKeeper(const ModelPorts& ports, ModelParts parts);
  void attach(std::weak_ptr<LibraryKeeper> self) { self_ = std::move(self); }

  // Opens the stored library in the background.
  void restore();
  void finishRestore(std::optional<StoredLibrary> stored, std::optional<LegacyData> legacy);
  void chooseFile();
  void refresh();
  void import(const std::filesystem::path& file, bool quiet);
  void install(Library library, std::string xmlPath, std::optional<Date> modifiedAt);

  // "Exported …" of the installed export, none without its date.
  std::optional<std::string> exportAge() const;
  // Imports a newer export quietly while stopped; marks it while watching.
  void checkForNewerExport();
  bool rekordboxChangedSinceExport() const;
  bool exportChangedDuringSet() const { return exportChangedDuringSet_; }
  void setExportChangedDuringSet(bool changed);
  const std::optional<Date>& modifiedAt() const { return modifiedAt_; }
  void setModifiedAt(std::optional<Date> date) { modifiedAt_ = date; }

  const Library& library() const { return *library_; }
  const std::shared_ptr<const Library>& sharedLibrary() const { return library_; }
  const LibraryState& state() const { return state_; }
  const std::optional<std::string>& legacyNote() const { return legacyNote_; }
  const LibraryIndex& index() const { return index_; }
  // Never null; shared with the engine, which reads the same map.
  const EnginePort::SharedSongKeys& songKeys() const { return songKeys_; }
  const std::vector<PoolChoice>& poolChoices() const { return poolChoices_; }

 private:
  friend struct ModelProbe;    // installs a library without an import
  friend struct RankingProbe;  // the same, for the ranking

  // `finishRestore` in two halves, each over what the restore job read: the
  // stored library, installed only while no import started after the restore
  // began (`importsAtRestore` imports had started then); then the earlier
  // version's record, merged, and naming the export to read when no library
  // was found.
  void completeRestore(std::optional<PreparedLibrary> stored, std::uint64_t importsAtRestore);
  void completeLegacy(std::optional<LegacyData> legacy, bool libraryFound, std::uint64_t importsAtRestore);
  void keepRestoredBesidePick(PreparedLibrary stored);
  void mergeLegacySets(const LegacyData& legacy);
  void installPrepared(PreparedLibrary prepared);
  void resolveLegacyRatings(std::shared_ptr<const LegacyMigration::RatingTargets> targets);
  void keepResolvedLegacy(ResolvedLegacy resolved, std::uint64_t resolution);
  void choosePool();
  void finishImport(ImportOutcome outcome, bool quiet, std::uint64_t generation);

  ModelParts parts_;
  std::shared_ptr<AppStore> store_;
  std::shared_ptr<MainQueue> mainQueue_;
  std::shared_ptr<BackgroundExecutor> background_;
  std::shared_ptr<WallClock> wallClock_;
  std::shared_ptr<Panels> panels_;
  std::weak_ptr<LibraryKeeper> self_;

  std::shared_ptr<const Library> library_ = std::make_shared<const Library>(Library::empty());
  LibraryState state_;
  std::optional<std::string> legacyNote_;
  LibraryIndex index_;
  EnginePort::SharedSongKeys songKeys_ = LoadTracker::noSongKeys();
  std::vector<PoolChoice> poolChoices_;
  // Shared with the job that resolves its ratings; replaced, never changed.
  std::shared_ptr<const LegacyData> legacy_;
  // The newest resolution started: only its outcome is kept.
  std::uint64_t legacyResolutions_ = 0;
  // Shared with the import jobs: only the newest import installs its library
  // and writes "library.json".
  std::shared_ptr<ImportGate> importGate_ = std::make_shared<ImportGate>();
  bool quietImportRunning_ = false;
  // The saved library, opened while a picked export was still being read.
  std::optional<PreparedLibrary> restoredBesidePick_;
  std::optional<Date> modifiedAt_;
  bool exportChangedDuringSet_ = false;
};

}  // namespace kesta::model
