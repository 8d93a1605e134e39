#include "model/engine_session.h"

#include <exception>
#include <utility>

#include "reading/capture_error.h"

namespace kesta::model {

EngineSession::EngineSession(std::shared_ptr<LiveEngine> engine, std::shared_ptr<MainQueue> mainQueue)
    : engine_(std::move(engine)), mainQueue_(std::move(mainQueue)), worker_([this] { runCalls(); }) {}

EngineSession::~EngineSession() { shutdown(); }

void EngineSession::enqueue(Call call) {
  {
    const std::lock_guard lock(callsMutex_);
    if (closed_) return;
    calls_.push_back(std::move(call));
  }
  callsChanged_.notify_one();
}

void EngineSession::runCalls() {
  for (;;) {
    Call call;
    {
      std::unique_lock lock(callsMutex_);
      callsChanged_.wait(lock, [this] { return closed_ || !calls_.empty(); });
      // Calls made before the shutdown are still answered: their callers wait for them.
      if (calls_.empty()) return;
      call = std::move(calls_.front());
      calls_.pop_front();
    }
    call(*engine_);
  }
}

template <class Answer, class Work>
void EngineSession::ask(std::function<void(Answer)> answer, Work work) {
  enqueue(
      [queue = mainQueue_, answer = std::move(answer), work = std::move(work)](LiveEngine& engine) mutable {
        queue->post([answer = std::move(answer), value = work(engine)] { answer(value); });
      });
}

void EngineSession::setIncludeRawText(bool include) {
  enqueue([include](LiveEngine& engine) { engine.setIncludeRawText(include); });
}

void EngineSession::start(OnUpdate onUpdate) {
  {
    const std::lock_guard lock(gate_->mutex);
    gate_->open = true;
    gate_->onUpdate = std::move(onUpdate);
  }
  enqueue([gate = gate_, queue = mainQueue_](LiveEngine& engine) {
    // Held while starting, so that a Stop in between cannot be missed.
    const std::lock_guard lock(gate->mutex);
    if (!gate->open) return;
    engine.start([gate, queue](EngineUpdate update) { handOver(gate, *queue, std::move(update)); });
  });
}

void EngineSession::handOver(const std::shared_ptr<Gate>& gate, MainQueue& mainQueue, EngineUpdate update) {
  std::unique_lock lock(gate->mutex);
  if (!gate->open) return;
  gate->pending = true;
  mainQueue.post([gate, update = std::move(update)] {
    OnUpdate onUpdate;
    {
      const std::lock_guard lock(gate->mutex);
      if (gate->open) onUpdate = gate->onUpdate;
    }
    // Applied without the lock: applying may stop the session.
    if (onUpdate) onUpdate(update);
    {
      const std::lock_guard lock(gate->mutex);
      gate->pending = false;
    }
    gate->changed.notify_all();
  });
  gate->changed.wait(lock, [&] { return !gate->pending || !gate->open; });
}

void EngineSession::stop() {
  {
    const std::lock_guard lock(gate_->mutex);
    gate_->open = false;
    gate_->onUpdate = nullptr;
  }
  gate_->changed.notify_all();
  engine_->stop();
}

void EngineSession::shutdown() {
  stop();
  {
    const std::lock_guard lock(callsMutex_);
    closed_ = true;
  }
  callsChanged_.notify_all();
  if (worker_.joinable()) worker_.join();
  engine_->stopAndWait();
}

void EngineSession::chooseDeck(int deck, FocusKind kind, std::function<void(std::optional<Focus>)> answer) {
  ask(std::move(answer), [deck, kind](LiveEngine& engine) { return engine.chooseDeck(deck, kind); });
}

void EngineSession::resolve(int deck, std::string trackID, std::function<void(std::optional<Focus>)> answer) {
  ask(std::move(answer),
      [deck, trackID = std::move(trackID)](LiveEngine& engine) { return engine.resolve(deck, trackID); });
}

void EngineSession::replaceLibrary(LibraryIndex index, SharedSongKeys songKeys) {
  enqueue([index = std::move(index), songKeys = std::move(songKeys)](LiveEngine& engine) mutable {
    engine.replaceLibrary(std::move(index), std::move(songKeys));
  });
}

void EngineSession::confirmStopped(int deck, std::function<void(std::optional<bool>)> answer) {
  ask(std::move(answer), [deck](LiveEngine& engine) { return engine.confirmStopped(deck); });
}

void EngineSession::deckView(std::function<void(DeckViewAnswer)> answer) {
  ask(std::move(answer), [](LiveEngine& engine) {
    try {
      return DeckViewAnswer{engine.deckView(), std::nullopt};
    } catch (const CaptureError& error) {
      return DeckViewAnswer{std::nullopt, error.errorDescription()};
    } catch (const std::exception& error) {
      return DeckViewAnswer{std::nullopt, std::string(error.what())};
    }
  });
}

}  // namespace kesta::model
