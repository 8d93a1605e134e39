#include "model/notices.h"

#include <utility>

#include "model/store_notice.h"

namespace kesta::model {

void Notices::show(std::string notice, std::optional<std::string> shortText, double seconds) {
  // The short form is in place before anyone hears of the new notice.
  noticeShort_ = std::move(shortText);
  notifier_.publish(notice_, std::move(notice), Field::notice);
  const std::int64_t generation = ++generation_;
  scheduler_->after(seconds, [weak = self_, generation] {
    const auto notices = weak.lock();
    if (notices && notices->generation_ == generation) {
      notices->notifier_.publish(notices->notice_, std::nullopt, Field::notice);
    }
  });
}

void Notices::clear() {
  ++generation_;
  notifier_.publish(notice_, std::nullopt, Field::notice);
}

void Notices::tellStoreProblems(const AppStore& store, std::shared_ptr<MainQueue> mainQueue) {
  // Told on the writer's thread, or the one that read the file.
  store.listen([queue = std::move(mainQueue), weak = self_](const StoreProblem& problem) {
    queue->post([weak, problem] {
      if (const auto notices = weak.lock()) {
        const StoreNotice notice = storeNotice(problem);
        notices->show(notice.text, notice.shortText, notice.seconds);
      }
    });
  });
}

}  // namespace kesta::model
