#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "model/notifier.h"
#include "model/ports/main_queue.h"
#include "model/ports/scheduler.h"
#include "store/app_store.h"

namespace kesta::model {

// The timed notice under the lanes and its short form for the corner card.
// A notice is cleared after its time unless a newer notice, or any other
// change of the notice generation (a load's outcome, an undo), came first.
// The store's problems (a record it cannot read or keep) are notices too; one
// never hides another: while one is shown, the next waits (a held record's
// ahead of a failed save's) until the notice under the lanes is cleared.
//
// Threads: main thread only; the clearing timer holds the notices weakly,
// and the store's problems come from its threads through the main queue.
// Units: seconds.
class Notices {
 public:
  Notices(Notifier& notifier, std::shared_ptr<Scheduler> scheduler)
      : notifier_(notifier), scheduler_(std::move(scheduler)) {}
  void attach(std::weak_ptr<Notices> self) { self_ = std::move(self); }

  void show(std::string notice, std::optional<std::string> shortText, double seconds);
  // Clears the notice now and withdraws the pending timed clear.
  void clear();
  // Shows each problem the store meets from now on.
  void tellStoreProblems(const AppStore& store, std::shared_ptr<MainQueue> mainQueue);

  const std::optional<std::string>& notice() const { return notice_; }
  const std::optional<std::string>& noticeShort() const { return noticeShort_; }

 private:
  void present(std::string notice, std::optional<std::string> shortText, double seconds);
  void timeUp(std::int64_t generation);
  void tell(const StoreProblem& problem);
  void showStoreProblem(const StoreProblem& problem);

  Notifier& notifier_;
  std::shared_ptr<Scheduler> scheduler_;
  std::weak_ptr<Notices> self_;
  std::optional<std::string> notice_;
  std::optional<std::string> noticeShort_;
  std::int64_t generation_ = 0;
  bool storeProblemShown_ = false;  // the notice shown is the store's
  std::deque<StoreProblem> waiting_;
};

}  // namespace kesta::model
