#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "live/live_engine.h"
#include "model/ports/engine_port.h"
#include "model/ports/main_queue.h"

namespace kesta::model {

// The real live engine behind the model's engine port.
//
// Threads: the calls are made on the main thread and return at once; one
// worker thread of the session makes them on the engine in order (each may
// wait up to a scan for the engine's lock) and posts the answers to the main
// queue. The engine's loop thread posts each update to the main queue and
// waits until the update has been applied there, or until the session is
// stopped; after `stop` no update reaches the model, and a pending one is
// released unapplied. Every call made before `shutdown` is still made and
// answered (on the stopped engine). The main thread never waits on the
// engine, except in `shutdown` (and so in the destructor), which returns once
// both threads have ended. A session is started once.
class EngineSession : public EnginePort {
 public:
  EngineSession(std::shared_ptr<LiveEngine> engine, std::shared_ptr<MainQueue> mainQueue);
  ~EngineSession() override;
  EngineSession(const EngineSession&) = delete;
  EngineSession& operator=(const EngineSession&) = delete;

  void setIncludeRawText(bool include) override;
  void start(OnUpdate onUpdate) override;
  void stop() override;
  void shutdown() override;
  void chooseDeck(int deck, FocusKind kind, std::function<void(std::optional<Focus>)> answer) override;
  void resolve(int deck, std::string trackID, std::function<void(std::optional<Focus>)> answer) override;
  void replaceLibrary(LibraryIndex index, SharedSongKeys songKeys) override;
  void confirmStopped(int deck, std::function<void(std::optional<bool>)> answer) override;
  void deckView(std::function<void(DeckViewAnswer)> answer) override;

 private:
  // What the loop thread and the posted updates share: whether updates are
  // still wanted, and whether the one handed over has been applied.
  struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;  // between start and stop
    bool pending = false;
    OnUpdate onUpdate;
  };
  using Call = std::function<void(LiveEngine&)>;

  // On the engine's loop thread: hands the update over and waits.
  static void handOver(const std::shared_ptr<Gate>& gate, MainQueue& mainQueue, EngineUpdate update);
  // Answers on the main queue with what `work` gives.
  template <class Answer, class Work>
  void ask(std::function<void(Answer)> answer, Work work);
  void enqueue(Call call);
  void runCalls();

  std::shared_ptr<LiveEngine> engine_;
  std::shared_ptr<MainQueue> mainQueue_;
  std::shared_ptr<Gate> gate_ = std::make_shared<Gate>();

  std::mutex callsMutex_;
  std::condition_variable callsChanged_;
  std::deque<Call> calls_;
  bool closed_ = false;
  std::thread worker_;
};

}  // namespace kesta::model
