#include "model/set_record.h"

#include <algorithm>
#include <map>
#include <string>
#include <unordered_set>
#include <utility>

#include "reading/screen_track.h"
#include "suggest/recommendation_request.h"

namespace kesta::model {

namespace {

constexpr double rolloverSeconds = 28800;  // a set idle this long is over

// The date of a set's last activity: its last event, else its start.
Date lastActivity(const DJSet& set) { return set.events.empty() ? set.startedAt : set.events.back().at; }

// The sets already kept, by id and, for those of the earlier version, by
// what they hold: reading that version's data again gives its sets new ids.
// Points into sets that outlive it.
class KnownSets {
 public:
  void add(const DJSet& set) {
    ids_.insert(set.id);
    if (set.legacy) earlier_.emplace(set.startedAt, &set);
  }
  bool contains(const DJSet& set) const {
    if (ids_.contains(set.id)) return true;
    const auto [from, to] = earlier_.equal_range(set.startedAt);
    return set.legacy && std::any_of(from, to, [&](const auto& kept) {
             return kept.second->endedAt == set.endedAt && kept.second->events == set.events;
           });
  }

 private:
  std::unordered_set<std::string> ids_;
  std::multimap<Date, const DJSet*> earlier_;
};

}  // namespace

SetRecord::SetRecord(Notifier& notifier, std::shared_ptr<AppStore> store,
                     std::shared_ptr<WallClock> wallClock)
    : notifier_(notifier),
      store_(std::move(store)),
      wallClock_(std::move(wallClock)),
      userData_(store_->userData()),
      ledger_(DJSet{}) {
  const Date now = wallClock_->now();
  std::vector<DJSet> archived = store_->archivedSets();
  DJSet active = DJSet::started(now);
  if (auto stored = store_->activeSet()) {
    const Date last = lastActivity(*stored);
    // Rolled over into a held archive, the set would be kept only in memory.
    const bool stays =
        now.secondsSince(last) < rolloverSeconds || (!stored->events.empty() && store_->archiveHeld());
    if (stays) {
      active = std::move(*stored);
    } else if (!stored->events.empty()) {
      stored->endedAt = last;
      archived.insert(archived.begin(), std::move(*stored));
      store_->saveArchivedSets(archived);
      store_->saveActiveSet(active);
    }
  }
  archivedSets_ = std::move(archived);
  activeSet_ = std::move(active);
  ledger_ = SetLedger(activeSet_);
}

void SetRecord::sync() {
  if (activeSet_ == ledger_.set()) return;
  notifier_.publish(activeSet_, ledger_.set(), Field::activeSet);
  store_->saveActiveSet(activeSet_);
}

void SetRecord::setUserData(UserData userData) {
  notifier_.publish(userData_, std::move(userData), Field::userData);
  store_->saveUserData(userData_);
}

int SetRecord::rating(const Track& track) const {
  const auto found = userData_.ratings.find(track.key.raw);
  return found == userData_.ratings.end() ? 0 : found->second;
}

bool SetRecord::rate(const Track& track, int stars) {
  if (ScreenTrack::isScreenTrack(track)) return false;
  UserData userData = userData_;
  userData.ratings[track.key.raw] = stars;
  setUserData(std::move(userData));
  return true;
}

void SetRecord::countPair(const DJSet::Transition& transition) {
  ++userData_.playedPairs[RecommendationRequest::pairKey(transition.from, transition.to)];
  notifier_.changed(Field::userData);
  store_->saveUserData(userData_);
}

void SetRecord::replay() {
  ledger_.replay(wallClock_->now());
  sync();
}

bool SetRecord::endSet() {
  const Date now = wallClock_->now();
  DJSet finished = ledger_.set();
  if (!finished.events.empty()) {
    // Saved as the running set, it is safe; in a held archive it would not be.
    if (store_->archiveHeld()) return false;
    finished.endedAt = now;
    std::vector<DJSet> archived = archivedSets_;
    archived.insert(archived.begin(), std::move(finished));
    notifier_.publish(archivedSets_, std::move(archived), Field::archivedSets);
    store_->saveArchivedSets(archivedSets_);
  }
  ledger_ = SetLedger(DJSet::started(now));
  sync();
  return true;
}

std::optional<std::size_t> SetRecord::mergeArchived(const std::vector<DJSet>& sets) {
  if (store_->archiveHeld()) return std::nullopt;
  // A start after one whose record of the merge could not be saved brings
  // the same sets again.
  KnownSets known;
  for (const DJSet& set : archivedSets_) known.add(set);
  std::vector<DJSet> merged = archivedSets_;
  for (const DJSet& set : sets) {
    if (known.contains(set)) continue;
    known.add(set);
    merged.push_back(set);
  }
  const std::size_t added = merged.size() - archivedSets_.size();
  if (added == 0) return 0;
  // Stable: a set already here stays ahead of an old one with the same start.
  std::stable_sort(merged.begin(), merged.end(),
                   [](const DJSet& a, const DJSet& b) { return a.startedAt > b.startedAt; });
  notifier_.publish(archivedSets_, std::move(merged), Field::archivedSets);
  store_->saveArchivedSets(archivedSets_);
  return added;
}

}  // namespace kesta::model
