#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "library/track.h"
#include "model/notifier.h"
#include "model/ports/wall_clock.h"
#include "store/app_store.h"
#include "store/user_data.h"
#include "suggest/dj_set.h"
#include "suggest/set_ledger.h"

namespace kesta::model {

// The running set, the archive of finished sets and the DJ's ratings and
// learned play pairs. The ledger records as things happen; `activeSet` is
// its published mirror, brought up to date (and saved) by `sync`.
//
// Threads: main thread only. Failures: unreadable stored sets give an empty
// archive and a new set; saves report nothing. While the store holds the
// archive ("sets.json" could not be read and is kept as it is), no set moves
// into it: the running set stays as it is, so that every set stays on disk.
// Units: dates in seconds.
class SetRecord {
 public:
  // Reads the stored sets, rolling over a set idle for 8 hours or more
  // unless the archive is held.
  SetRecord(Notifier& notifier, std::shared_ptr<AppStore> store, std::shared_ptr<WallClock> wallClock);

  // Where the running set is recorded; `sync` publishes what it holds.
  SetLedger& ledger() { return ledger_; }
  const SetLedger& ledger() const { return ledger_; }
  void sync();

  const DJSet& activeSet() const { return activeSet_; }
  const std::vector<DJSet>& archivedSets() const { return archivedSets_; }
  const UserData& userData() const { return userData_; }
  void setUserData(UserData userData);

  // The stars of `track`, 0 without a rating.
  int rating(const Track& track) const;
  bool canReplay() const { return ledger_.set().hasReplayableHistory(); }

  // A screen-only track is not rated. Answers whether the rating was kept.
  bool rate(const Track& track, int stars);
  // One more play of one track after another.
  void countPair(const DJSet::Transition& transition);
  void replay();
  // Archives the running set, if anything happened in it, and starts a new
  // one. Answers false, changing nothing, when the set would go into a held
  // archive.
  bool endSet();
  // Sets of an earlier version, placed among the archived ones by start,
  // each once: a set whose id is there already, or an earlier version's set
  // with the same start, end and events, is left out. Answers how many were
  // added, or none, merging nothing, while the archive is held.
  std::optional<std::size_t> mergeArchived(const std::vector<DJSet>& sets);

 private:
  Notifier& notifier_;
  std::shared_ptr<AppStore> store_;
  std::shared_ptr<WallClock> wallClock_;
  DJSet activeSet_;
  std::vector<DJSet> archivedSets_;
  UserData userData_;
  SetLedger ledger_;
};

}  // namespace kesta::model
