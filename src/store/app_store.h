#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "live/diagnostics_session.h"
#include "store/legacy_data.h"
#include "store/library_file.h"
#include "store/preferences.h"
#include "store/record_writer.h"
#include "store/serial_queue.h"
#include "store/store_files.h"
#include "store/store_problem.h"
#include "store/stored_library.h"
#include "store/user_data.h"
#include "suggest/dj_set.h"

namespace kesta {

// The single owner of the data folder: every file that lasts from one run to
// the next is read and written here, whole, with no cache. A record file that
// is there but cannot be used (no permission, an input/output error, not
// decodable, larger than AtomicFile::maximumFileBytes, or than
// `maximumLibraryBytes` for "library.json") is moved aside under
// "<name>.unreadable-<seconds since 1970>" and the read yields defaults or
// nothing. "library.json" is never written larger than it is read. A save
// never replaces such a file. When it cannot be moved (the folder forbids
// it), or memory or file handles ran out reading it, it is held: it stays
// where it is, and this run's saves of that record are kept in memory until
// it can be set aside, and land then. A folder, FIFO or device in a record's
// place is never moved: the record's saves wait until it has gone. Of
// "library.json", which is only ever a copy of the export, just the newest
// set-aside copy is kept. Every write is atomic and durable; what could not be
// kept is told to the listener (StoreProblems).
//
// Threads: callable from any thread. Reads and the library save run on the
// caller's thread. The record saves (preferences, user data, active set,
// archive, legacy record) are encoded on the caller's thread and written by
// one serial writer ("kesta.records.write", see RecordWriter), so the caller
// never waits for the disk; every read waits for the records queued before
// it, so it sees the latest save. Diagnostics session files go through
// another serial writer ("kesta.diagnostics.write").
class AppStore final {
 public:
  static constexpr std::size_t keptDiagnosticsSessions = 20;
  static constexpr std::size_t keptArchivedSets = 100;

  // "KESTA_DATA_DIR" when set and not empty, taken as it stands; else
  // "Kesta Live Beta" in the user's data folder ($XDG_DATA_HOME, by default
  // ~/.local/share). Worked out anew on every call.
  static std::filesystem::path defaultRoot();

  // Creates the folder and its parents, and removes the temporary files of
  // saves that a crash or a kill interrupted; a failure shows only as failed
  // saves.
  // `maximumLibraryBytes` is the largest "library.json" read, and so written.
  explicit AppStore(std::filesystem::path root = defaultRoot(),
                    std::shared_ptr<const StoreFiles> files = std::make_shared<StoreFiles>(),
                    std::uint64_t maximumLibraryBytes = LibraryFile::maximumBytes);
  AppStore(const AppStore&) = delete;
  AppStore& operator=(const AppStore&) = delete;
  // Waits for the record and diagnostics writes already queued.
  ~AppStore();

  const std::filesystem::path& root() const { return root_; }
  std::uint64_t maximumLibraryBytes() const { return maximumLibraryBytes_; }

  // Returns once every record save queued before the call is on the disk.
  void flush() const;

  // Who hears of saves that fail and records that are held, from any thread.
  void listen(StoreProblems::Listener listener) const;

  // "preferences.json"; the defaults when absent or unreadable. Saving is silent.
  Preferences preferences() const;
  void savePreferences(const Preferences& preferences) const;

  // "userdata.json"; empty maps when absent or unreadable. Saving is silent.
  UserData userData() const;
  void saveUserData(const UserData& userData) const;
  // Whether "userdata.json" is held, as `archiveHeld` tells of "sets.json".
  bool userDataHeld() const;

  // "library.json". Saving throws json::EncodingError or std::system_error
  // (file_too_large for a text over maximumLibraryBytes(), which could not
  // be read back; permission_denied for a held file that still cannot be set
  // aside); the earlier file then stays whole.
  std::optional<StoredLibrary> storedLibrary() const;
  void saveLibrary(const StoredLibrary& library) const;
  // The same for a library shared with others, written without a copy.
  void saveLibrary(const Library& library, const std::string& xmlPath,
                   const std::optional<Date>& xmlModifiedAt) const;
  // The same for a text already encoded.
  void saveLibrary(const LibraryFile::Text& text) const;
  // The text of "library.json" for a library; a library over the size the
  // store reads back comes without pieces, only its size. Throws
  // json::EncodingError, or std::bad_alloc when memory runs out.
  LibraryFile::Text encodeLibrary(const Library& library, const std::string& xmlPath,
                                  const std::optional<Date>& xmlModifiedAt) const;

  // "active-set.json", the running set; saving none removes the file. Silent.
  std::optional<DJSet> activeSet() const;
  void saveActiveSet(const std::optional<DJSet>& set) const;

  // "sets.json", the archive, newest first; only the first 100 are written. Silent.
  std::vector<DJSet> archivedSets() const;
  void saveArchivedSets(const std::vector<DJSet>& sets) const;
  // Whether "sets.json" is held, after trying to free it as its next save
  // would: a set moved into the archive now would be kept only in memory
  // until then, and lost when Kesta quits first.
  bool archiveHeld() const;

  // "legacy-import.json", the earlier version's data once brought over. Silent.
  std::optional<LegacyData> legacy() const;
  void saveLegacy(const LegacyData& legacy) const;
  // The record's text, for a caller that encodes it on a thread of its own:
  // its size follows the file's. Throws json::EncodingError, or
  // std::bad_alloc when memory runs out.
  std::string encodeLegacy(const LegacyData& legacy) const;
  // Queues a text made by `encodeLegacy`, as `saveLegacy` does.
  void saveLegacyText(std::string text) const;

  // The "diagnostics" folder: one file per session, the newest 20 kept.
  std::filesystem::path diagnosticsFolder() const;
  // Queues a copy of the session and returns at once.
  void saveDiagnostics(const DiagnosticsSession& session) const;
  // The same write, returning once it and every write queued before it are done.
  void saveDiagnosticsNow(const DiagnosticsSession& session) const;
  // The newest readable session whose id is not `excluding`, after every write
  // queued before the call has finished.
  std::optional<DiagnosticsSession> latestDiagnostics(const std::optional<std::string>& excluding) const;

 private:
  template <class T, class Decode>
  std::optional<T> load(std::string_view name, std::uint64_t maxBytes, Decode decode) const;
  // What `decode()` makes of a record read without `failure`; a record that
  // could not be read or decoded is held or set aside.
  template <class T, class Decode>
  std::optional<T> decoded(std::string_view name, std::optional<files::ReadFailure> failure,
                           Decode decode) const;
  // Moves a record that is there but cannot be used out of the way, or holds it.
  void setAside(std::string_view name) const;
  // Whether the record's file was moved aside.
  bool moveAside(std::string_view name) const;
  // Frees a held record's name when what stands there is gone or could be
  // moved aside; answers whether it may be written now.
  bool release(std::string_view name) const;
  // Queues the record for the writer; an encoding error drops the save: the
  // callers of these files are not told.
  template <class Encode>
  void saveSilently(std::string_view name, Encode encode) const;

  std::filesystem::path diagnosticsFile(const DiagnosticsSession& session) const;
  void writeDiagnostics(const DiagnosticsSession& session) const;
  std::vector<std::filesystem::path> diagnosticsFiles() const;

  std::filesystem::path root_;
  std::shared_ptr<const StoreFiles> files_;
  std::shared_ptr<StoreProblems> problems_;
  std::uint64_t maximumLibraryBytes_;
  // Behind pointers so that a const store can still queue work.
  std::unique_ptr<RecordWriter> records_;
  std::unique_ptr<SerialQueue> diagnosticsQueue_;
};

}  // namespace kesta
