#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/changed_fields.h"
#include "model/diagnostics_record.h"
#include "model/engine_updates.h"
#include "model/exports.h"
#include "model/lane_ranking.h"
#include "model/library_keeper.h"
#include "model/live_mirror.h"
#include "model/model_parts.h"
#include "model/model_ports.h"
#include "model/model_settings.h"
#include "model/model_status.h"
#include "model/notices.h"
#include "model/notifier.h"
#include "model/one_click_load.h"
#include "model/set_record.h"
#include "model/watching.h"

namespace kesta::model {

// The one object between the DJ and the services below, a facade over the
// parts that each own one feature's state and operations: the settings and
// notices, the diagnostics, the set record, the library, watching and the
// engine's updates, the lanes, one-click load, the status texts and the
// exports. It holds no state of its own beyond them.
//
// Threads: main thread only, every call and every read. Work that outlives a
// call (timers, background jobs, engine and loader answers) comes back
// through the ports onto the main thread and holds the model only weakly, so
// a model that is gone simply drops it; stale results are dropped by
// generation counters.
//
// Published properties: every operation (a user action, an engine update
// applied, a ranking published, a background result or a timer) tells the
// listeners once, when it ends, every field it assigned (a setting assigned
// its old value included). Operations that only mirror outside state assign
// a property only when it differs.
//
// Failures: construction cannot fail (unreadable stored files give the
// store's defaults); writes of stored files report nothing.
class AppModel : public std::enable_shared_from_this<AppModel> {
 public:
  using Listener = Notifier::Listener;
  using ListenerID = Notifier::ListenerID;
  using LoadStatus = model::LoadStatus;
  using PendingLatency = model::PendingLatency;
  using CardHeading = model::CardHeading;

  // ---- Construction, listeners, settings and notices ---------------------

  // Reads the stored settings, user data and sets (rolling over a set idle
  // for 8 hours or more), starts the diagnostics session and starts the
  // library restore in the background.
  static std::shared_ptr<AppModel> create(ModelPorts ports);
  ~AppModel();
  AppModel(const AppModel&) = delete;
  AppModel& operator=(const AppModel&) = delete;

  ListenerID addListener(Listener listener) { return notifier_.addListener(std::move(listener)); }
  void removeListener(ListenerID id) { notifier_.removeListener(id); }

  void setPoolID(std::string poolID) { lanes_.setPoolID(std::move(poolID)); }
  void setOneClickLoad(bool on) { oneClick_.setOneClickLoad(on); }
  void setLoadStatus(LoadStatus status) { oneClick_.setLoadStatus(std::move(status)); }
  void setIncludeRawText(bool include);
  void setCompact(bool compact) { settings_.setCompact(compact); }
  std::optional<Point> savedTopLeft(const std::string& key) const { return settings_.savedTopLeft(key); }
  void saveTopLeft(Point topLeft, const std::string& key) { settings_.saveTopLeft(topLeft, key); }

  // "<short version> (<build>)".
  const std::string& versionLabel() const { return appVersion_; }

  // Shows a timed notice; it is cleared after `seconds` unless a newer notice
  // or another change of the notice generation came first.
  void show(std::string notice, std::optional<std::string> shortText, double seconds) {
    notices_.show(std::move(notice), std::move(shortText), seconds);
  }

  // ---- Watching and engine updates ---------------------------------------

  void toggleWatching() { watching_.toggle(); }
  void startWatching() { watching_.start(); }
  void stopWatching() { watching_.stop(); }
  void requestScreenPermission() { watching_.requestScreenPermission(); }
  void relaunch() { watching_.relaunch(); }
  void finishDiagnostics() { diagnostics_.finish(); }
  void prepareToQuit() { watching_.prepareToQuit(); }
  void follow(int deck, FocusKind kind = FocusKind::userChoice) { watching_.follow(deck, kind); }
  void identify(int deck, const Track& track) { watching_.identify(deck, track); }
  void rememberFocus() { watching_.rememberFocus(); }
  void saveDiagnostics() { diagnostics_.save(); }

  // ---- Ranking, lanes and the set ------------------------------------------

  std::set<std::string> selectedPlaylistIDs() const { return lanes_.selectedPlaylistIDs(); }
  void togglePlaylist(const std::string& id) { lanes_.togglePlaylist(id); }
  std::string poolLabel() const { return lanes_.poolLabel(); }
  std::optional<Suggestion> suggestion(Lane lane) const { return lanes_.suggestion(lane); }
  int alternatives(Lane lane) const { return lanes_.alternatives(lane); }
  std::optional<std::string> emptyReason(Lane lane) const { return lanes_.emptyReason(lane); }
  std::optional<std::string> emptyShort(Lane lane) const { return lanes_.emptyShort(lane); }
  int rating(const Track& track) const { return sets_.rating(track); }
  bool canReplay() const { return sets_.canReplay(); }
  void nextOption(Lane lane) { lanes_.nextOption(lane); }
  void dismiss(const Suggestion& suggestion) { lanes_.dismiss(suggestion); }
  void undoDismiss() { lanes_.undoDismiss(); }
  void rate(const Track& track, int stars);
  void replayTracks();
  // Archives the running set and starts a new one; while the past sets are
  // held, the set keeps running and a notice says why.
  void endSet();

  // ---- Library -----------------------------------------------------------

  void restoreLibrary() { library_.restore(); }
  void finishRestore(std::optional<StoredLibrary> stored, std::optional<LegacyData> legacy) {
    library_.finishRestore(std::move(stored), std::move(legacy));
  }
  void chooseLibraryFile() { library_.chooseFile(); }
  void refreshLibrary() { library_.refresh(); }
  void install(Library library, std::string xmlPath, std::optional<Date> modifiedAt) {
    library_.install(std::move(library), std::move(xmlPath), modifiedAt);
  }
  std::optional<std::string> exportAge() const { return library_.exportAge(); }
  void checkForNewerExport() { library_.checkForNewerExport(); }
  bool rekordboxChangedSinceExport() const { return library_.rekordboxChangedSinceExport(); }
  bool exportChangedDuringSet() const { return library_.exportChangedDuringSet(); }
  const std::optional<Date>& libraryModifiedAt() const { return library_.modifiedAt(); }
  void setLibraryModifiedAt(std::optional<Date> date) { library_.setModifiedAt(date); }

  // ---- Status texts and the decks ----------------------------------------

  std::string status(bool compact) const { return status_.status(compact); }
  std::string statusLine() const { return status(false); }
  std::string compactStatus() const { return status(true); }
  CardHeading cardHeading() const { return status_.cardHeading(); }
  bool readerProblem() const { return live_.readerProblem(); }
  std::optional<int> otherLoadedDeck() const { return live_.otherLoadedDeck(); }
  std::optional<Track> currentTrack() const { return live_.currentTrack(); }
  // The library track on deck 1 or 2.
  std::optional<Track> track(int deck) const { return live_.track(deck); }
  // The versions an ambiguous deck (1 or 2) could hold.
  std::vector<Track> candidates(int deck) const { return live_.candidates(deck); }
  void flagWrongTrack() { status_.flagWrongTrack(); }

  // ---- One-click load ----------------------------------------------------

  LoadDecision loadDecision(const Suggestion& suggestion) const { return oneClick_.loadDecision(suggestion); }
  bool isLoading() const { return oneClick_.isLoading(); }
  void load(const Suggestion& suggestion) { oneClick_.load(suggestion); }
  void undoLoad() { oneClick_.undoLoad(); }
  void allowOneClick() { oneClick_.allowOneClick(); }
  void dismissLoadStatus() { oneClick_.dismissLoadStatus(); }

  // ---- Exports -----------------------------------------------------------

  // "Screen recording allowed" and "rekordbox running", "yes" or "no" each.
  std::map<std::string, std::string> liveEnvironment() const { return exports_.liveEnvironment(); }
  std::string diagnosticsReport() const { return exports_.diagnosticsReport(); }
  void exportDiagnostics() { exports_.exportDiagnostics(); }
  void exportSet(const DJSet& set) { exports_.exportSet(set); }
  void saveDeckView() { exports_.saveDeckView(); }

  // ---- Published state ---------------------------------------------------

  const Library& library() const { return library_.library(); }
  // The installed library itself, shared with the index, the engine and the ranking.
  const std::shared_ptr<const Library>& sharedLibrary() const { return library_.sharedLibrary(); }
  const LibraryState& libraryState() const { return library_.state(); }
  const std::optional<std::string>& legacyNote() const { return library_.legacyNote(); }
  const std::string& poolID() const { return lanes_.poolID(); }
  bool watching() const { return watching_.watching(); }
  const ReaderHealth& health() const { return live_.health(); }
  const std::vector<DeckContent>& decks() const { return live_.decks(); }
  const std::set<int>& pendingDecks() const { return live_.pendingDecks(); }
  const std::optional<Focus>& focus() const { return live_.focus(); }
  TrackerPhase phase() const { return live_.phase(); }
  bool screenPermission() const { return watching_.screenPermission(); }
  bool oneClickLoad() const { return oneClick_.oneClickLoad(); }
  const LoadStatus& loadStatus() const { return oneClick_.loadStatus(); }
  const std::optional<std::string>& notice() const { return notices_.notice(); }
  const std::vector<DeckMotion>& motion() const { return live_.motion(); }
  bool oneClickNeedsAccess() const { return live_.oneClickNeedsAccess(); }
  const std::vector<std::optional<MixerReading>>& mixer() const { return live_.mixer(); }
  const std::vector<LaneResult>& lanes() const { return lanes_.lanes(); }
  bool ranking() const { return lanes_.ranking(); }
  const DJSet& activeSet() const { return sets_.activeSet(); }
  const std::vector<DJSet>& archivedSets() const { return sets_.archivedSets(); }
  const UserData& userData() const { return sets_.userData(); }
  bool includeRawText() const { return settings_.includeRawText(); }
  bool compact() const { return settings_.compact(); }
  const std::vector<PoolChoice>& poolChoices() const { return library_.poolChoices(); }
  bool askedForScreenPermission() const { return watching_.askedForScreenPermission(); }
  const std::optional<Track>& lastDismissed() const { return lanes_.lastDismissed(); }

  // Unpublished state that views and tests read.
  const LibraryIndex& index() const { return library_.index(); }
  const std::optional<std::string>& loadStatusShort() const { return oneClick_.loadStatusShort(); }
  const std::optional<std::string>& noticeShort() const { return notices_.noticeShort(); }
  const Preferences& preferences() const { return settings_.preferences(); }
  const DiagnosticsSession& diagnosticsSession() const { return diagnostics_.session(); }
  const std::optional<ResumePoint>& followedAtStop() const { return watching_.followedAtStop(); }
  const std::optional<PendingLatency>& pendingLatency() const { return lanes_.pendingLatency(); }

 private:
  friend struct ModelProbe;    // the tests install a library without an import
  friend struct RankingProbe;  // the tests set the decks and the focus without an engine

  explicit AppModel(const ModelPorts& ports);
  // Hands each part with work that outlives a call its weak handle.
  void attach(const std::shared_ptr<AppModel>& self);
  ModelParts parts();

  // In the order they are built: a part's constructor may read those above it.
  std::string appVersion_;
  Notifier notifier_;
  ModelSettings settings_;
  Notices notices_;
  DiagnosticsRecord diagnostics_;
  SetRecord sets_;
  LibraryKeeper library_;
  LiveMirror live_;
  Watching watching_;
  EngineUpdates updates_;
  LaneRanking lanes_;
  OneClickLoad oneClick_;
  ModelStatus status_;
  Exports exports_;
};

}  // namespace kesta::model
