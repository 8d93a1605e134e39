#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "library/library.h"
#include "library/pool_choice.h"
#include "library/track.h"
#include "live/deck_content.h"
#include "live/deck_motion.h"
#include "live/diagnostics_session.h"
#include "live/engine_update.h"
#include "live/focus.h"
#include "live/reader_health.h"
#include "live/tracker_phase.h"
#include "model/changed_fields.h"
#include "model/import_gate.h"
#include "model/library_state.h"
#include "model/load_status.h"
#include "model/model_ports.h"
#include "model/prepared_library.h"
#include "model/prepared_pool.h"
#include "model/status_text.h"
#include "oneclick/load_decision.h"
#include "platform/image/geometry.h"
#include "platform/time/date.h"
#include "reading/library_index.h"
#include "reading/mixer_reading.h"
#include "reading/screen_track.h"
#include "reading/shown_metadata.h"
#include "store/legacy_data.h"
#include "store/preferences.h"
#include "store/resume_point.h"
#include "store/stored_library.h"
#include "store/user_data.h"
#include "suggest/dj_set.h"
#include "suggest/lane.h"
#include "suggest/lane_result.h"
#include "suggest/set_ledger.h"
#include "suggest/suggestion.h"

namespace kesta::model {

// The one object between the DJ and the services below: it holds the state
// the views show, reacts to the user's settings, runs Connect and Stop,
// applies every engine update, records the running set and the learned play
// pairs, ranks the lanes, runs one-click loads and writes the exports.
//
// Threads: main thread only, every call and every read. Work that outlives a
// call (timers, background jobs, engine and loader answers) comes back
// through the ports onto the main thread and holds the model only weakly, so
// a model that is gone simply drops it; stale results are dropped by
// generation counters.
//
// Published properties: each assignment of one tells every listener the
// field it changed (a setting assigned its old value included). Operations
// that only mirror outside state assign a property only when it differs.
//
// Failures: construction cannot fail (unreadable stored files give the
// store's defaults); writes of stored files report nothing.
class AppModel : public std::enable_shared_from_this<AppModel> {
 public:
  using LoadStatus = model::LoadStatus;
  using Listener = std::function<void(ChangedFields)>;
  using ListenerID = std::uint64_t;

  struct PlayingConfirmation {
    std::string trackID;
    int deck = 0;
    Date until;
  };
  struct LastLoad {
    int deck = 0;
    DeckContent content;
  };
  struct PendingLatency {
    std::uint64_t seq = 0;
    double evidenceAt = 0;   // monotonic seconds
    double confirmedAt = 0;  // monotonic seconds
  };
  using CardHeading = model::CardHeading;
  struct ReportSession {
    DiagnosticsSession session;
    bool previous = false;  // an earlier run's session
  };

  // ---- Construction, reactions and notices --------------------------------

  // Reads the stored settings, user data and sets (rolling over a set idle
  // for 8 hours or more), starts the diagnostics session and starts the
  // library restore in the background.
  static std::shared_ptr<AppModel> create(ModelPorts ports);
  ~AppModel();
  AppModel(const AppModel&) = delete;
  AppModel& operator=(const AppModel&) = delete;

  ListenerID addListener(Listener listener);
  void removeListener(ListenerID id);

  // Settings and properties with a change reaction.
  void setPoolID(std::string poolID);
  void setOneClickLoad(bool on);
  void setLoadStatus(LoadStatus status);
  void setIncludeRawText(bool include);
  void setCompact(bool compact);

  // "<short version> (<build>)".
  const std::string& versionLabel() const { return appVersion_; }
  // The hardware model for the diagnostics environment.
  static std::string machineModel();
  // "Screen recording allowed" and "rekordbox running", "yes" or "no" each.
  std::map<std::string, std::string> liveEnvironment() const;

  // Shows a timed notice; it is cleared after `seconds` unless a newer notice
  // or another change of the notice generation came first.
  void show(std::string notice, std::optional<std::string> shortText, double seconds);

  // ---- Watching ----------------------------------------------------------

  void toggleWatching();
  void startWatching();
  void stopWatching();
  void requestScreenPermission();
  // Starts a new instance and quits this one; stays when the start failed.
  void relaunch();
  // Writes this run's diagnostics at once, when anything was recorded.
  void finishDiagnostics();
  // At quit: remembers the focus while watching, writes the diagnostics,
  // waits for the records still queued and stops the engine, returning once
  // its thread has ended.
  void prepareToQuit();

  // ---- Engine updates ----------------------------------------------------

  void follow(int deck, FocusKind kind = FocusKind::userChoice);
  // The DJ names the library track on an ambiguous deck (1 or 2).
  void identify(int deck, const Track& track);
  void rememberFocus();
  void saveDiagnostics();

  // ---- Ranking and lanes -------------------------------------------------

  std::set<std::string> selectedPlaylistIDs() const;
  void togglePlaylist(const std::string& id);
  std::string poolLabel() const;

  std::optional<Suggestion> suggestion(Lane lane) const;
  int alternatives(Lane lane) const;
  std::optional<std::string> emptyReason(Lane lane) const;
  std::optional<std::string> emptyShort(Lane lane) const;
  int rating(const Track& track) const;
  bool canReplay() const;

  void nextOption(Lane lane);
  void dismiss(const Suggestion& suggestion);
  void undoDismiss();
  void rate(const Track& track, int stars);
  void replayTracks();
  void endSet();

  // ---- Library -----------------------------------------------------------

  void restoreLibrary();
  void finishRestore(std::optional<StoredLibrary> stored, std::optional<LegacyData> legacy);
  void chooseLibraryFile();
  void refreshLibrary();
  void importLibrary(const std::filesystem::path& file, bool quiet);
  void install(Library library, std::string xmlPath, std::optional<Date> modifiedAt);
  std::optional<std::string> exportAge() const;
  void checkForNewerExport();
  bool rekordboxChangedSinceExport() const;
  bool exportChangedDuringSet() const { return exportChangedDuringSet_; }
  void setExportChangedDuringSet(bool changed);
  const std::optional<Date>& libraryModifiedAt() const { return libraryModifiedAt_; }
  void setLibraryModifiedAt(std::optional<Date> date);

  // ---- Status texts ------------------------------------------------------

  std::string status(bool compact) const;
  std::string statusLine() const { return status(false); }
  std::string compactStatus() const { return status(true); }
  CardHeading cardHeading() const;
  bool readerProblem() const;
  std::optional<int> otherLoadedDeck() const;
  std::optional<Track> currentTrack() const;
  // The library track on deck 1 or 2.
  std::optional<Track> track(int deck) const;
  // The versions an ambiguous deck (1 or 2) could hold.
  std::vector<Track> candidates(int deck) const;
  void flagWrongTrack();

  // ---- One-click load ----------------------------------------------------

  LoadDecision loadDecision(const Suggestion& suggestion) const;
  bool isLoading() const { return loadStatus_.is<LoadStatus::Loading>(); }
  void load(const Suggestion& suggestion);
  void undoLoad();
  void allowOneClick();
  void dismissLoadStatus();

  // ---- Exports and window positions --------------------------------------

  std::optional<Point> savedTopLeft(const std::string& key) const;
  void saveTopLeft(Point topLeft, const std::string& key);
  std::string diagnosticsReport() const;
  void exportDiagnostics();
  void exportSet(const DJSet& set);
  void saveDeckView();

  // ---- Published state ---------------------------------------------------

  const Library& library() const { return *library_; }
  // The installed library itself, shared with the index, the engine and the ranking.
  const std::shared_ptr<const Library>& sharedLibrary() const { return library_; }
  const LibraryState& libraryState() const { return libraryState_; }
  const std::optional<std::string>& legacyNote() const { return legacyNote_; }
  const std::string& poolID() const { return poolID_; }
  bool watching() const { return watching_; }
  const ReaderHealth& health() const { return health_; }
  const std::vector<DeckContent>& decks() const { return decks_; }
  const std::set<int>& pendingDecks() const { return pendingDecks_; }
  const std::optional<Focus>& focus() const { return focus_; }
  TrackerPhase phase() const { return phase_; }
  bool screenPermission() const { return screenPermission_; }
  bool oneClickLoad() const { return oneClickLoad_; }
  const LoadStatus& loadStatus() const { return loadStatus_; }
  const std::optional<std::string>& notice() const { return notice_; }
  const std::vector<DeckMotion>& motion() const { return motion_; }
  bool oneClickNeedsAccess() const { return oneClickNeedsAccess_; }
  const std::vector<std::optional<MixerReading>>& mixer() const { return mixer_; }
  const std::vector<LaneResult>& lanes() const { return lanes_; }
  const std::map<Lane, int>& laneCursor() const { return laneCursor_; }
  bool ranking() const { return ranking_; }
  const DJSet& activeSet() const { return activeSet_; }
  const std::vector<DJSet>& archivedSets() const { return archivedSets_; }
  const UserData& userData() const { return userData_; }
  bool includeRawText() const { return includeRawText_; }
  bool compact() const { return compact_; }
  const std::map<int, ShownMetadata>& shown() const { return shown_; }
  const std::map<int, ScreenTrack>& screenTracks() const { return screenTracks_; }
  const std::vector<PoolChoice>& poolChoices() const { return poolChoices_; }
  bool askedForScreenPermission() const { return askedForScreenPermission_; }
  const std::optional<Track>& lastDismissed() const { return lastDismissed_; }

  // Unpublished state that views and tests read.
  const LibraryIndex& index() const { return index_; }
  const std::optional<std::string>& loadStatusShort() const { return loadStatusShort_; }
  const std::optional<std::string>& noticeShort() const { return noticeShort_; }
  const Preferences& preferences() const { return preferences_; }
  const DiagnosticsSession& diagnosticsSession() const { return diagnosticsSession_; }
  const std::optional<ResumePoint>& followedAtStop() const { return followedAtStop_; }
  const std::optional<PendingLatency>& pendingLatency() const { return pendingLatency_; }

 private:
  friend struct ModelProbe;  // the tests install a library without an import

  explicit AppModel(ModelPorts ports);

  // ---- Construction, reactions and notices --------------------------------

  void changed(ChangedFields fields);
  // Assigns a published property and tells the listeners.
  template <class T, class V>
  void publish(T& property, V&& value, Field field) {
    property = std::forward<V>(value);
    changed(field);
  }
  // The same, only when the value differs.
  template <class T, class V>
  bool publishIfChanged(T& property, V&& value, Field field) {
    if (property == value) return false;
    publish(property, std::forward<V>(value), field);
    return true;
  }
  void savePreferences() const;
  void rollOverSet();

  // ---- Watching and engine updates ----------------------------------------

  void apply(const EngineUpdate& update);
  // Published mirrors of the update; answers whether the decks, the shown
  // metadata and the screen tracks were all unchanged.
  bool mirror(const EngineUpdate& update);
  void resumeIfRemembered(const EngineUpdate& update);
  // Loads and plays into the set; answers the evidence time of the update's last load.
  std::optional<double> recordEvents(const EngineUpdate& update);
  void followFocus(const EngineUpdate& update, std::optional<double> loadEvidenceAt, bool othersUnchanged);
  void focusMoved(const std::optional<Focus>& focus);
  void syncSet();
  // Stops the current engine, if any, and lets it go off the main thread.
  void retireEngine();
  // The engine an answer will come from, and whether, once it comes, a newer
  // engine has replaced it.
  std::weak_ptr<EnginePort> askedEngine() const;
  bool answersLate(const std::weak_ptr<EnginePort>& asked) const;

  // ---- Ranking and lanes -------------------------------------------------

  // What a ranking was started under, checked again before it publishes.
  struct RankTicket {
    std::uint64_t generation = 0;
    std::uint64_t seq = 0;  // the focus's, 0 without one
    bool focusPresent = false;
  };

  void scheduleRanking();
  void publishRanking(const RankTicket& ticket, std::vector<LaneResult> lanes, double startedAt,
                      double finishedAt);
  void recordLatency(const RankTicket& ticket, double finishedAt, double publishedAt);
  void poolChanged(const std::string& previous);

  // ---- Status texts ------------------------------------------------------

  // The state the status rules read, borrowed from this model for one call.
  StatusInputs statusInputs() const;

  // ---- One-click load ----------------------------------------------------

  // A load's check for its track on the deck, one poll after another.
  struct Verification {
    Track track;
    int deck = 0;
    DeckContent before;                 // what the deck held when the load started
    std::optional<std::string> detail;  // of the "loaded" record
    int poll = 1;                       // the next poll, from 1
  };

  void fail(std::string message, std::optional<std::string> shortText);
  void verifyLoad(const Track& track, int deck, DeckContent before, int tries);
  void recordOneClick(const std::string& code, std::optional<std::string> detail = std::nullopt);
  // Sets the short form of the status just assigned.
  void showLoadStatusShort(std::optional<std::string> shortText);
  // A click on a playing deck: true when it is the confirming second click.
  bool confirmOverPlaying(const Suggestion& suggestion, int deck);
  // The keyboard preset and the permission, checked before rekordbox is touched.
  bool readyToDrive();
  void startLoad(const Suggestion& suggestion, int deck, bool confirmed);
  void finishLoad(const Track& track, int deck, const DeckContent& before, const LoadOutcome& outcome);
  void recheckSafety(const Suggestion& suggestion, int deck, bool confirmed, LoaderPort::Answer answer) const;
  void scheduleLandingPoll(Verification verification);
  void pollLanding(Verification verification);
  void landed(const Verification& verification, DeckContent content);
  void wrongTrackLanded(const Verification& verification, DeckContent content);
  void finishUndo(const std::optional<LoadFailure>& failure);
  // Deck 1 or 2's confirmed content; unknown past the end of `decks`.
  DeckContent deckContent(int deck) const;

  // ---- Exports and window positions --------------------------------------

  ReportSession reportSession() const;
  // The diagnostics report of `session` with the newest `recentScans` scans.
  std::string reportText(const DiagnosticsSession& session, std::size_t recentScans) const;
  // The engine's answer to a deck-view request: asks where to save it.
  void saveDeckView(DeckViewAnswer answer);

  // ---- Stored properties, in the order of the data model ------------------

  std::shared_ptr<const Library> library_ = std::make_shared<const Library>(Library::empty());
  LibraryState libraryState_;
  std::optional<std::string> legacyNote_;
  std::string poolID_ = "all";
  LibraryIndex index_;
  bool watching_ = false;
  ReaderHealth health_ = ReaderHealth::idle();
  std::vector<DeckContent> decks_{DeckContent::unknown(), DeckContent::unknown()};
  std::set<int> pendingDecks_;
  std::optional<Focus> focus_;
  TrackerPhase phase_ = TrackerPhase::waiting;
  bool screenPermission_ = false;
  bool oneClickLoad_ = false;
  LoadStatus loadStatus_;
  std::optional<std::string> loadStatusShort_;
  std::optional<std::string> notice_;
  std::vector<DeckMotion> motion_{DeckMotion::unknown(), DeckMotion::unknown()};
  bool oneClickNeedsAccess_ = false;
  std::vector<std::optional<MixerReading>> mixer_{std::nullopt, std::nullopt};
  std::shared_ptr<LoaderPort> loader_;
  std::shared_ptr<KeyPresetCheck> keyPresetCheck_;
  std::optional<PlayingConfirmation> playingConfirmation_;
  std::optional<LastLoad> lastLoad_;
  std::optional<Cancellation> loadVerification_;
  std::vector<LaneResult> lanes_;
  std::map<Lane, int> laneCursor_;
  bool ranking_ = false;
  DJSet activeSet_;
  std::vector<DJSet> archivedSets_;
  UserData userData_;
  bool includeRawText_ = false;
  bool compact_ = false;
  DiagnosticsSession diagnosticsSession_;
  bool diagnosticsDirty_ = false;
  Date lastDiagnosticsSave_ = distantPast;
  SetLedger ledger_;
  Preferences preferences_;
  std::shared_ptr<AppStore> store_;
  std::shared_ptr<EnginePort> engine_;
  std::optional<Cancellation> rankTask_;
  std::uint64_t rankGeneration_ = 0;
  std::optional<LegacyData> legacy_;
  std::string appVersion_;
  std::shared_ptr<EngineFactory> engines_;
  std::shared_ptr<ScreenAccess> screenAccess_;
  std::map<int, ShownMetadata> shown_;
  std::map<int, ScreenTrack> screenTracks_;
  std::vector<PoolChoice> poolChoices_;
  bool quietImportRunning_ = false;
  // The saved library, opened while a picked export was still being read.
  std::optional<PreparedLibrary> restoredBesidePick_;
  std::optional<Date> libraryModifiedAt_;
  bool exportChangedDuringSet_ = false;
  bool askedForScreenPermission_ = false;
  std::optional<ResumePoint> followedAtStop_;
  // Following resumes from the remembered point; set until the start-up is decided.
  bool resuming_ = false;
  EnginePort::SongKeys songKeys_;
  std::int64_t noticeGeneration_ = 0;
  std::optional<std::string> noticeShort_;
  std::optional<PendingLatency> pendingLatency_;
  std::optional<Track> lastDismissed_;

  // ---- The rest of the ports, and listeners -------------------------------

  static constexpr Date distantPast{-63114076800.0};

  std::shared_ptr<MainQueue> mainQueue_;
  std::shared_ptr<Scheduler> scheduler_;
  std::shared_ptr<BackgroundExecutor> background_;
  std::shared_ptr<MonotonicClock> monotonicClock_;
  std::shared_ptr<WallClock> wallClock_;
  std::shared_ptr<RekordboxApp> rekordbox_;
  std::shared_ptr<UrlOpener> urls_;
  std::shared_ptr<Panels> panels_;
  std::shared_ptr<Relauncher> relauncher_;
  std::shared_ptr<ClickThrough> clickThrough_;

  std::map<ListenerID, Listener> listeners_;
  ListenerID nextListener_ = 1;

  // ---- Watching and engine updates: section state --------------------------

  // Raised at each Connect and Stop: updates of an engine that is no longer
  // the current one are dropped.
  std::uint64_t engineGeneration_ = 0;

  // ---- Ranking and lanes: section state -----------------------------------

  PreparedPool preparedPool_;
  // Raised at every dismissal: only the newest one's timer may withdraw its undo.
  std::uint64_t dismissalGeneration_ = 0;
  friend struct RankingProbe;  // the tests set the decks and the focus without an engine

  // ---- Library: section state ---------------------------------------------

  // `finishRestore` over a library prepared in the background. The stored
  // library is installed only while no import started after the restore
  // began (`importsAtRestore` imports had started then).
  void completeRestore(std::optional<PreparedLibrary> stored, std::optional<LegacyData> legacy,
                       std::uint64_t importsAtRestore);
  void mergeLegacySets(const LegacyData& legacy);
  void installPrepared(PreparedLibrary prepared);
  // Has the store's problems told on the main thread, each as a notice.
  void watchStore();
  void keepRestoredBesidePick(PreparedLibrary stored);
  void finishImport(ImportOutcome outcome, bool quiet, std::uint64_t generation);

  // Shared with the import jobs: only the newest import installs its library
  // and writes "library.json".
  std::shared_ptr<ImportGate> importGate_ = std::make_shared<ImportGate>();

  // ---- Status texts: section state ----------------------------------------

  std::shared_ptr<DayFormatter> dayFormatter_;

  // ---- One-click load: section state --------------------------------------

  // ---- Exports and window positions: section state ------------------------

  std::shared_ptr<ImageEncoder> imageEncoder_;
};

}  // namespace kesta::model
