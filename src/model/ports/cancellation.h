#pragma once

#include <atomic>
#include <memory>

namespace kesta::model {

// A cancellable piece of work's shared flag: every copy sees the same state.
// Cancelling is a request; the work notices it at its next check. Safe from
// any thread.
class Cancellation {
 public:
  Cancellation() : flag_(std::make_shared<std::atomic<bool>>(false)) {}

  void cancel() const { flag_->store(true, std::memory_order_release); }
  bool cancelled() const { return flag_->load(std::memory_order_acquire); }

  // Whether two handles are copies of one flag.
  friend bool operator==(const Cancellation& a, const Cancellation& b) { return a.flag_ == b.flag_; }

 private:
  std::shared_ptr<std::atomic<bool>> flag_;
};

}  // namespace kesta::model
