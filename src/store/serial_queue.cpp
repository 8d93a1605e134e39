#include "store/serial_queue.h"

#include <future>

namespace kesta {

SerialQueue::SerialQueue(std::string label)
    : label_(std::move(label)), worker_([this](std::stop_token stop) { run(stop); }) {}

SerialQueue::~SerialQueue() {
  worker_.request_stop();
  if (worker_.joinable()) worker_.join();
}

void SerialQueue::async(std::function<void()> work) {
  {
    const std::lock_guard lock(mutex_);
    pending_.push_back(std::move(work));
  }
  ready_.notify_one();
}

void SerialQueue::sync(std::function<void()> work) {
  std::promise<void> done;
  auto finished = done.get_future();
  async([&] {
    try {
      work();
    } catch (...) {
      done.set_exception(std::current_exception());
      return;
    }
    done.set_value();
  });
  finished.get();
}

void SerialQueue::run(std::stop_token stop) {
  for (;;) {
    std::function<void()> work;
    {
      std::unique_lock lock(mutex_);
      // Wakes for new work or for the stop request; stops only once drained.
      ready_.wait(lock, stop, [this] { return !pending_.empty(); });
      if (pending_.empty()) return;
      work = std::move(pending_.front());
      pending_.pop_front();
    }
    try {
      work();
    } catch (...) {
      // Queued work reports through its own channel; the queue keeps running.
    }
  }
}

}  // namespace kesta
