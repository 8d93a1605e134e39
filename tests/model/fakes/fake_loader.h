#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/ports/loader_port.h"

namespace kesta::test {
using namespace kesta::model;

// A loader whose loads wait until the test finishes them: with an attempt
// number, a LoadError or another failure. Undos likewise.
class FakeLoader : public LoaderPort {
 public:
  struct Load {
    Track track;
    int deck = 0;
    LibraryIndex index;
    StillSafe stillSafe;
    std::function<void(LoadOutcome)> done;
  };

  bool isAuthorized() const override {
    ++authorizationChecks;
    return authorized;
  }
  void requestAuthorization() override { ++authorizationRequests; }
  void load(Track track, int deck, LibraryIndex index, StillSafe stillSafe,
            std::function<void(LoadOutcome)> done) override {
    if (throwOnLoad) std::rethrow_exception(throwOnLoad);
    loads.push_back({std::move(track), deck, std::move(index), std::move(stillSafe), std::move(done)});
  }
  void undoLastLoad(std::function<void(std::optional<LoadFailure>)> done) override {
    undos.push_back(std::move(done));
  }

  // Ends the oldest waiting load.
  void succeed(int attempt = 1) { finish(LoadOutcome{attempt, std::nullopt}); }
  void failWith(const LoadError& error) {
    finish(LoadOutcome{0, LoadFailure{error, error.errorDescription()}});
  }
  void failWith(const std::string& description) {
    finish(LoadOutcome{0, LoadFailure{std::nullopt, description}});
  }

  // Runs the oldest waiting load's safety check; the answer is kept in `stillSafeAnswers`.
  void askStillSafe() {
    loads.front().stillSafe(
        [this](std::optional<std::string> answer) { stillSafeAnswers.push_back(answer); });
  }

  // Ends the oldest waiting undo: sent, or failed.
  void finishUndo(std::optional<LoadFailure> failure = std::nullopt) {
    auto done = std::move(undos.front());
    undos.erase(undos.begin());
    done(std::move(failure));
  }

  bool authorized = true;
  // When set, `load` throws it instead of starting.
  std::exception_ptr throwOnLoad;
  mutable int authorizationChecks = 0;
  int authorizationRequests = 0;
  std::vector<Load> loads;
  std::vector<std::function<void(std::optional<LoadFailure>)>> undos;
  std::vector<std::optional<std::string>> stillSafeAnswers;

 private:
  void finish(LoadOutcome outcome) {
    auto done = std::move(loads.front().done);
    loads.erase(loads.begin());
    done(std::move(outcome));
  }
};

}  // namespace kesta::test
