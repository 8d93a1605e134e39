#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_main_queue.h"
#include "model/ports/engine_port.h"

namespace kesta::test {
using namespace kesta::model;

// A scripted engine: records every call in order and answers through the
// fake main queue with the answers the test set. The test hands it updates
// with `deliver`, as the scan loop would after each scan.
class FakeEngine : public EnginePort {
 public:
  explicit FakeEngine(FakeMainQueue& queue) : queue_(queue) {}

  void setIncludeRawText(bool include) override {
    calls.push_back(std::string("setIncludeRawText(") + (include ? "true" : "false") + ")");
  }
  void start(OnUpdate onUpdate) override {
    calls.push_back("start");
    onUpdate_ = std::move(onUpdate);
  }
  void stop() override {
    calls.push_back("stop");
    stopped = true;
  }
  void shutdown() override {
    calls.push_back("shutdown");
    stopped = true;
  }
  void chooseDeck(int deck, FocusKind kind, std::function<void(std::optional<Focus>)> answer) override {
    calls.push_back("chooseDeck(" + std::to_string(deck) + "," + std::string(rawValue(kind)) + ")");
    answerLater([answer = std::move(answer), focus = chooseDeckAnswer(deck, kind)] { answer(focus); });
  }
  void resolve(int deck, std::string trackID, std::function<void(std::optional<Focus>)> answer) override {
    calls.push_back("resolve(" + std::to_string(deck) + "," + trackID + ")");
    answerLater([answer = std::move(answer), focus = resolveAnswer(deck, trackID)] { answer(focus); });
  }
  void replaceLibrary(LibraryIndex index, SharedSongKeys songKeys) override {
    calls.push_back("replaceLibrary");
    library = std::move(index);
    keys = std::move(songKeys);
  }
  void confirmStopped(int deck, std::function<void(std::optional<bool>)> answer) override {
    calls.push_back("confirmStopped(" + std::to_string(deck) + ")");
    answerLater([answer = std::move(answer), stopped = confirmStoppedAnswer] { answer(stopped); });
  }
  void deckView(std::function<void(DeckViewAnswer)> answer) override {
    calls.push_back("deckView");
    answerLater([answer = std::move(answer), view = deckViewAnswer] { answer(view); });
  }

  // Hands an update to the model, as a scan would; false before start and after stop.
  bool deliver(const EngineUpdate& update) {
    if (stopped) return false;
    return deliverLate(update);
  }
  // Hands it over even after stop: an update that was on its way when the
  // engine was stopped.
  bool deliverLate(const EngineUpdate& update) {
    if (!onUpdate_) return false;
    const auto onUpdate = onUpdate_;
    onUpdate(update);
    return true;
  }
  bool started() const { return static_cast<bool>(onUpdate_); }

  // Releases the answers held while `holdAnswers` was set.
  void releaseAnswers() {
    for (auto& answer : held_) queue_.post(std::move(answer));
    held_.clear();
  }
  // Lets go of the held answers unsent, as an engine let go mid-call does.
  void dropAnswers() { held_.clear(); }

  std::vector<std::string> calls;
  std::function<std::optional<Focus>(int, FocusKind)> chooseDeckAnswer = [](int, FocusKind) {
    return std::optional<Focus>();
  };
  std::function<std::optional<Focus>(int, const std::string&)> resolveAnswer = [](int, const std::string&) {
    return std::optional<Focus>();
  };
  std::optional<bool> confirmStoppedAnswer = true;
  DeckViewAnswer deckViewAnswer;
  bool holdAnswers = false;
  bool stopped = false;
  LibraryIndex library;
  SharedSongKeys keys = LoadTracker::noSongKeys();

 private:
  void answerLater(std::function<void()> answer) {
    if (holdAnswers) {
      held_.push_back(std::move(answer));
    } else {
      queue_.post(std::move(answer));
    }
  }

  FakeMainQueue& queue_;
  OnUpdate onUpdate_;
  std::vector<std::function<void()>> held_;
};

// Makes fake engines and keeps each one for the test to inspect.
class FakeEngineFactory : public EngineFactory {
 public:
  explicit FakeEngineFactory(FakeMainQueue& queue) : queue_(queue) {}

  std::shared_ptr<EnginePort> make(LibraryIndex index, EnginePort::SharedSongKeys songKeys) override {
    auto engine = std::make_shared<FakeEngine>(queue_);
    engine->library = std::move(index);
    engine->keys = std::move(songKeys);
    made.push_back(engine);
    return engine;
  }

  // The newest engine made; null before the first Connect.
  std::shared_ptr<FakeEngine> last() const { return made.empty() ? nullptr : made.back(); }

  std::vector<std::shared_ptr<FakeEngine>> made;

 private:
  FakeMainQueue& queue_;
};

}  // namespace kesta::test
