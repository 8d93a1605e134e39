#include "store/store_problem.h"

#include <utility>

namespace kesta {

void StoreProblems::listen(Listener listener) {
  std::unique_lock lock(mutex_);
  listener_ = std::move(listener);
  const auto untold = std::exchange(untold_, {});
  const Listener current = listener_;
  lock.unlock();
  if (current) {
    for (const auto& problem : untold) current(problem);
  }
}

void StoreProblems::hold(std::string_view file, StoreProblem::Hold why) {
  std::unique_lock lock(mutex_);
  if (!held_.emplace(file, why).second) return;
  tell(StoreProblem{StoreProblem::Kind::recordHeld, std::string(file), {}, why}, lock);
}

bool StoreProblems::isHeld(std::string_view file) const {
  const std::lock_guard lock(mutex_);
  return held_.contains(file);
}

std::optional<StoreProblem::Hold> StoreProblems::holdOf(std::string_view file) const {
  const std::lock_guard lock(mutex_);
  const auto found = held_.find(file);
  if (found == held_.end()) return std::nullopt;
  return found->second;
}

void StoreProblems::release(std::string_view file) {
  const std::lock_guard lock(mutex_);
  if (const auto found = held_.find(file); found != held_.end()) held_.erase(found);
}

void StoreProblems::saveFailed(std::string_view file, std::error_code error, bool kept) {
  std::unique_lock lock(mutex_);
  if (kept && std::exchange(failing_, true)) return;
  tell(StoreProblem{StoreProblem::Kind::saveFailed, std::string(file), error}, lock);
}

void StoreProblems::saveLanded() {
  const std::lock_guard lock(mutex_);
  failing_ = false;
}

void StoreProblems::tell(StoreProblem problem, std::unique_lock<std::mutex>& lock) {
  if (!listener_) {
    untold_.push_back(std::move(problem));
    return;
  }
  const Listener listener = listener_;
  lock.unlock();
  listener(problem);
}

}  // namespace kesta
