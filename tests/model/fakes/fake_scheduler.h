#pragma once

#include <functional>
#include <map>
#include <utility>

#include "fakes/fake_clocks.h"
#include "model/ports/scheduler.h"

namespace kesta::test {
using namespace kesta::model;

// Virtual time: timed work runs only when the test advances the time, in the
// order of its due times (then of scheduling). Advancing moves the fake
// clocks along when they are attached.
class FakeScheduler : public Scheduler {
 public:
  FakeScheduler(FakeMonotonicClock* monotonic = nullptr, FakeWallClock* wall = nullptr)
      : monotonic_(monotonic), wall_(wall) {}

  Cancellation after(double seconds, std::function<void()> task) override {
    Cancellation handle;
    timers_.emplace(std::pair{now_ + seconds, nextOrder_++}, Timer{handle, std::move(task)});
    return handle;
  }

  // Moves virtual time on by `seconds`, running every timer that falls due.
  // Steps that add up to a due time reach it despite rounding.
  void advance(double seconds) {
    const double end = now_ + seconds;
    while (!timers_.empty() && timers_.begin()->first.first <= end + 1e-9) {
      auto node = timers_.extract(timers_.begin());
      moveTo(node.key().first);
      if (!node.mapped().handle.cancelled()) node.mapped().task();
    }
    moveTo(end);
  }

  double now() const { return now_; }
  // Timers not yet run and not cancelled.
  int pending() const {
    int count = 0;
    for (const auto& [due, timer] : timers_) count += timer.handle.cancelled() ? 0 : 1;
    return count;
  }

 private:
  struct Timer {
    Cancellation handle;
    std::function<void()> task;
  };

  void moveTo(double time) {
    const double step = time - now_;
    now_ = time;
    if (monotonic_) monotonic_->seconds += step;
    if (wall_) wall_->date = wall_->date.adding(step);
  }

  FakeMonotonicClock* monotonic_;
  FakeWallClock* wall_;
  double now_ = 0;
  long nextOrder_ = 0;
  std::multimap<std::pair<double, long>, Timer> timers_;
};

}  // namespace kesta::test
