#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "library/track.h"
#include "model/model_parts.h"
#include "model/model_ports.h"
#include "model/prepared_pool.h"
#include "suggest/lane.h"
#include "suggest/lane_result.h"
#include "suggest/suggestion.h"

namespace kesta::model {

// A load's way to the screen, kept until the first fresh ranking for the
// focus it produced is published.
struct PendingLatency {
  std::uint64_t seq = 0;   // the focus's
  double evidenceAt = 0;   // monotonic seconds
  double confirmedAt = 0;  // monotonic seconds
};

// The four lanes: the pool they draw from, the ranking of each focused
// track in the background, the option shown in each lane, dismissals with
// their timed undo, and the latency of a load to its lanes.
//
// Uses the library, the live mirror, the set record, the settings, the
// notices and the diagnostics. Threads: main thread only; a ranking runs on
// the background executor and never touches the model, whose result comes
// back on the main queue and is dropped when a newer ranking or another
// focus came first. Units: seconds.
class LaneRanking {
 public:
  LaneRanking(const ModelPorts& ports, ModelParts parts);
  void attach(std::weak_ptr<LaneRanking> self) { self_ = std::move(self); }

  // Ranks the lanes for the focused track; empties them without one.
  void schedule();
  // Empties the lanes (and their cursors, after a focus moved).
  void clear();
  void focusMoved();
  void expectLatency(std::optional<PendingLatency> latency) { pendingLatency_ = latency; }

  const std::string& poolID() const { return poolID_; }
  void setPoolID(std::string poolID);
  std::set<std::string> selectedPlaylistIDs() const;
  void togglePlaylist(const std::string& id);
  std::string poolLabel() const;

  std::optional<Suggestion> suggestion(Lane lane) const;
  int alternatives(Lane lane) const;
  std::optional<std::string> emptyReason(Lane lane) const;
  std::optional<std::string> emptyShort(Lane lane) const;

  void nextOption(Lane lane);
  void dismiss(const Suggestion& suggestion);
  void undoDismiss();

  const std::vector<LaneResult>& lanes() const { return lanes_; }
  bool ranking() const { return ranking_; }
  const std::optional<Track>& lastDismissed() const { return lastDismissed_; }
  const std::optional<PendingLatency>& pendingLatency() const { return pendingLatency_; }

 private:
  friend struct ModelProbe;    // counts the rankings asked for
  friend struct RankingProbe;  // sets the focus without an engine

  // What a ranking was started under, checked again before it publishes.
  struct RankTicket {
    std::uint64_t generation = 0;
    std::uint64_t seq = 0;  // the focus's, 0 without one
    bool focusPresent = false;
  };

  void publish(const RankTicket& ticket, std::vector<LaneResult> lanes, double startedAt, double finishedAt);
  void recordLatency(const RankTicket& ticket, double finishedAt, double publishedAt);

  ModelParts parts_;
  std::shared_ptr<MainQueue> mainQueue_;
  std::shared_ptr<Scheduler> scheduler_;
  std::shared_ptr<BackgroundExecutor> background_;
  std::shared_ptr<MonotonicClock> monotonicClock_;
  std::shared_ptr<WallClock> wallClock_;
  std::weak_ptr<LaneRanking> self_;

  std::string poolID_ = "all";
  std::vector<LaneResult> lanes_;
  std::map<Lane, int> laneCursor_;
  bool ranking_ = false;
  std::optional<Track> lastDismissed_;
  std::optional<PendingLatency> pendingLatency_;
  std::optional<Cancellation> rankTask_;
  std::uint64_t rankGeneration_ = 0;
  PreparedPool preparedPool_;
  // Raised at every dismissal: only the newest one's timer may withdraw its undo.
  std::uint64_t dismissalGeneration_ = 0;
};

}  // namespace kesta::model
