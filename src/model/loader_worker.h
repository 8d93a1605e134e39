#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

#include "model/ports/loader_port.h"
#include "model/ports/main_queue.h"
#include "oneclick/track_loading.h"

namespace kesta::model {

// The real loader behind the model's loader port: loads and undos run one
// at a time on one long-lived worker thread (text recognition is set up once
// per thread), and their outcomes are posted to the main queue. The safety
// re-check of a running load is asked on the main thread while the worker
// waits for its answer, so the main thread keeps serving its queue (which the
// clipboard needs) throughout.
//
// `isAuthorized` and `requestAuthorization` are answered on the caller's
// thread; the loader allows that during a load. The destructor cancels the
// running load, drops the waiting ones (their outcomes never come) and waits
// for the worker to end.
class LoaderWorker : public LoaderPort {
 public:
  LoaderWorker(std::shared_ptr<TrackLoading> loader, std::shared_ptr<MainQueue> mainQueue);
  ~LoaderWorker() override;
  LoaderWorker(const LoaderWorker&) = delete;
  LoaderWorker& operator=(const LoaderWorker&) = delete;

  bool isAuthorized() const override;
  void requestAuthorization() override;
  void load(Track track, int deck, LibraryIndex index, StillSafe stillSafe,
            std::function<void(LoadOutcome)> done) override;
  void undoLastLoad(std::function<void(std::optional<LoadFailure>)> done) override;

 private:
  using Job = std::function<void(std::stop_token)>;

  void enqueue(Job job);
  void run(std::stop_token stop);
  // Asks the main thread and waits for its answer; "Kesta closed." when the
  // worker is stopped first.
  std::optional<std::string> askMainThread(const StillSafe& stillSafe, std::stop_token stop);
  // The failure of whatever the loader threw; none for a cancelled load.
  static std::optional<LoadFailure> failureOf(std::exception_ptr error);

  std::shared_ptr<TrackLoading> loader_;
  std::shared_ptr<MainQueue> mainQueue_;

  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::deque<Job> jobs_;
  std::jthread worker_;  // last: started once everything above exists
};

}  // namespace kesta::model
