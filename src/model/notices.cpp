#include "model/notices.h"

#include <utility>

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

}  // namespace kesta::model
