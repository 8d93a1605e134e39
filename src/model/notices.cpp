#include "model/notices.h"

#include <algorithm>
#include <utility>

#include "model/store_notice.h"

namespace kesta::model {

void Notices::show(std::string notice, std::optional<std::string> shortText, double seconds) {
  storeProblemShown_ = false;
  present(std::move(notice), std::move(shortText), seconds);
}

void Notices::present(std::string notice, std::optional<std::string> shortText, double seconds) {
  // The short form is in place before anyone hears of the new notice.
  noticeShort_ = std::move(shortText);
  notifier_.publish(notice_, std::move(notice), Field::notice);
  const std::int64_t generation = ++generation_;
  scheduler_->after(seconds, [weak = self_, generation] {
    if (const auto notices = weak.lock()) notices->timeUp(generation);
  });
}

// Every notice shown has its timer, so a store problem still waiting is
// always shown by one of them.
void Notices::timeUp(std::int64_t generation) {
  if (generation_ == generation) {
    storeProblemShown_ = false;
    notifier_.publish(notice_, std::nullopt, Field::notice);
  }
  if (notice_ || waiting_.empty()) return;
  const StoreProblem next = std::move(waiting_.front());
  waiting_.pop_front();
  showStoreProblem(next);
}

void Notices::clear() {
  ++generation_;
  storeProblemShown_ = false;
  notifier_.publish(notice_, std::nullopt, Field::notice);
}

void Notices::tellStoreProblems(const AppStore& store, std::shared_ptr<MainQueue> mainQueue) {
  // Told on the writer's thread, or the one that read the file.
  store.listen([queue = std::move(mainQueue), weak = self_](const StoreProblem& problem) {
    queue->post([weak, problem] {
      if (const auto notices = weak.lock()) notices->tell(problem);
    });
  });
}

void Notices::tell(const StoreProblem& problem) {
  if (!storeProblemShown_ || !notice_) {
    showStoreProblem(problem);
    return;
  }
  // A disk that fails, works and fails again says the same once.
  if (std::find(waiting_.begin(), waiting_.end(), problem) != waiting_.end()) return;
  // A held record is the graver news: it goes ahead of the failed saves waiting.
  const bool held = problem.kind == StoreProblem::Kind::recordHeld;
  const auto place = held ? std::find_if(waiting_.begin(), waiting_.end(),
                                         [](const StoreProblem& waiting) {
                                           return waiting.kind != StoreProblem::Kind::recordHeld;
                                         })
                          : waiting_.end();
  waiting_.insert(place, problem);
}

void Notices::showStoreProblem(const StoreProblem& problem) {
  StoreNotice notice = storeNotice(problem);
  present(std::move(notice.text), std::move(notice.shortText), notice.seconds);
  storeProblemShown_ = true;
}

}  // namespace kesta::model
