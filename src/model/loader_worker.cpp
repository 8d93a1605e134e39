#include "model/loader_worker.h"

#include <exception>
#include <utility>

namespace kesta::model {

namespace {

// One answer handed from the main thread to the worker.
struct Reply {
  std::mutex mutex;
  std::condition_variable_any given;
  std::optional<std::optional<std::string>> answer;
};

}  // namespace

LoaderWorker::LoaderWorker(std::shared_ptr<TrackLoading> loader, std::shared_ptr<MainQueue> mainQueue)
    : loader_(std::move(loader)),
      mainQueue_(std::move(mainQueue)),
      worker_([this](std::stop_token stop) { run(stop); }) {}

LoaderWorker::~LoaderWorker() {
  worker_.request_stop();
  worker_.join();
}

bool LoaderWorker::isAuthorized() const { return loader_->isAuthorized(); }

void LoaderWorker::requestAuthorization() { loader_->requestAuthorization(); }

void LoaderWorker::enqueue(Job job) {
  {
    const std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  changed_.notify_one();
}

void LoaderWorker::run(std::stop_token stop) {
  while (!stop.stop_requested()) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      if (!changed_.wait(lock, stop, [this] { return !jobs_.empty(); })) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job(stop);
  }
}

std::optional<std::string> LoaderWorker::askMainThread(const StillSafe& stillSafe, std::stop_token stop) {
  auto reply = std::make_shared<Reply>();
  mainQueue_->post([stillSafe, reply] {
    stillSafe([reply](std::optional<std::string> answer) {
      {
        const std::lock_guard lock(reply->mutex);
        if (!reply->answer) reply->answer = std::move(answer);
      }
      reply->given.notify_all();
    });
  });
  std::unique_lock lock(reply->mutex);
  if (!reply->given.wait(lock, stop, [&] { return reply->answer.has_value(); })) {
    return std::string("Kesta closed.");
  }
  return *reply->answer;
}

std::optional<LoadFailure> LoaderWorker::failureOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(std::move(error));
  } catch (const LoadCancelled&) {
    return std::nullopt;
  } catch (const LoadError& loadError) {
    return LoadFailure{loadError, loadError.errorDescription()};
  } catch (const std::exception& other) {
    return LoadFailure{std::nullopt, other.what()};
  } catch (...) {
    return LoadFailure{std::nullopt, "The load failed."};
  }
}

void LoaderWorker::load(Track track, int deck, LibraryIndex index, StillSafe stillSafe,
                        std::function<void(LoadOutcome)> done) {
  enqueue([this, track = std::move(track), deck, index = std::move(index), stillSafe = std::move(stillSafe),
           done = std::move(done)](std::stop_token stop) {
    const StillSafe& check = stillSafe;
    const kesta::StillSafe onWorker = [this, &check, stop] { return askMainThread(check, stop); };
    LoadOutcome outcome;
    try {
      outcome.attempt = loader_->load(track, deck, index, onWorker, stop);
    } catch (...) {
      outcome.failure = failureOf(std::current_exception());
      if (!outcome.failure) return;
    }
    mainQueue_->post([done, outcome = std::move(outcome)] { done(outcome); });
  });
}

void LoaderWorker::undoLastLoad(std::function<void(std::optional<LoadFailure>)> done) {
  enqueue([this, done = std::move(done)](std::stop_token) {
    std::optional<LoadFailure> failure;
    try {
      loader_->undoLastLoad();
    } catch (...) {
      failure = failureOf(std::current_exception());
    }
    mainQueue_->post([done, failure = std::move(failure)] { done(failure); });
  });
}

}  // namespace kesta::model
