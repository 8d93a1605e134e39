#include "model/set_record.h"

#include <algorithm>
#include <utility>

#include "reading/screen_track.h"
#include "suggest/recommendation_request.h"

namespace kesta::model {

namespace {

constexpr double rolloverSeconds = 28800;  // a set idle this long is over

// The date of a set's last activity: its last event, else its start.
Date lastActivity(const DJSet& set) { return set.events.empty() ? set.startedAt : set.events.back().at; }

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

bool SetRecord::mergeArchived(const std::vector<DJSet>& sets) {
  if (store_->archiveHeld()) return false;
  std::vector<DJSet> merged = archivedSets_;
  merged.insert(merged.end(), sets.begin(), sets.end());
  // Stable: a set already here stays ahead of an old one with the same start.
  std::stable_sort(merged.begin(), merged.end(),
                   [](const DJSet& a, const DJSet& b) { return a.startedAt > b.startedAt; });
  notifier_.publish(archivedSets_, std::move(merged), Field::archivedSets);
  store_->saveArchivedSets(archivedSets_);
  return true;
}

}  // namespace kesta::model
