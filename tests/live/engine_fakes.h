#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "live/live_engine.h"
#include "reading/capture_error.h"
#include "reading/deck_layout.h"
#include "support/fakes/fake_text_recognizer.h"

namespace kesta::test {

// Virtual time for the engine: sleeping moves the clock on at once. Held in a
// shared_ptr: a stopped loop may still finish its pass after the test ends.
class VirtualClock : public std::enable_shared_from_this<VirtualClock> {
 public:
  double now() const {
    const std::lock_guard lock(mutex_);
    return now_;
  }
  void advance(double seconds) {
    const std::lock_guard lock(mutex_);
    now_ += seconds;
  }
  LiveEngine::Timing timing() {
    auto self = shared_from_this();
    return {.now = [self] { return self->now(); },
            .sleep =
                [self](std::stop_token stop, double seconds) {
                  if (!stop.stop_requested()) self->advance(seconds);
                }};
  }

 private:
  mutable std::mutex mutex_;
  double now_ = 1000.0;
};

// What the fake rekordbox window shows: the lines of each deck area. Deck
// areas are painted in their own colours so that the recogniser can tell them
// apart in the crops it is given.
struct FakeScreen {
  std::vector<std::string> deck1;
  std::vector<std::string> deck2;
};

inline constexpr Rgba kDeck1Colour{10, 20, 30, 255};
inline constexpr Rgba kDeck2Colour{30, 20, 10, 255};

class FakeFrameSource : public FrameSource {
 public:
  struct Shared {
    std::mutex mutex;
    std::function<void()> onConnect;  // may throw
    std::function<void()> onCapture;  // may throw
    int connects = 0;
    int captures = 0;
  };

  explicit FakeFrameSource(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

  std::string connect() override {
    std::function<void()> hook;
    {
      const std::lock_guard lock(shared_->mutex);
      ++shared_->connects;
      hook = shared_->onConnect;
    }
    if (hook) hook();
    return "rekordbox";
  }

  Image capture() override {
    std::function<void()> hook;
    {
      const std::lock_guard lock(shared_->mutex);
      ++shared_->captures;
      hook = shared_->onCapture;
    }
    if (hook) hook();
    Image window(800, 500, Rgba{0, 0, 0, 255});
    const DeckLayout layout;
    window.fill(layout.deck1.scaledTo(window.size()), kDeck1Colour);
    window.fill(layout.deck2.scaledTo(window.size()), kDeck2Colour);
    return window;
  }

 private:
  std::shared_ptr<Shared> shared_;
};

// A recogniser that reads the fake screen: deck crops by their colour, nothing
// in the mixer strip.
inline std::shared_ptr<FakeTextRecognizer> screenReader(std::shared_ptr<FakeScreen> screen,
                                                        std::shared_ptr<std::mutex> mutex) {
  return std::make_shared<FakeTextRecognizer>([screen, mutex](const Image& image, const RecognitionRequest&) {
    std::vector<TextObservation> out;
    if (image.isEmpty()) return out;
    const Rgba corner = image.pixel(0, 0);
    const std::lock_guard lock(*mutex);
    const auto* lines = corner == kDeck1Colour   ? &screen->deck1
                        : corner == kDeck2Colour ? &screen->deck2
                                                 : nullptr;
    if (!lines) return out;
    double y = 0.9;
    for (const auto& text : *lines) {
      out.push_back({text, Rect{0.05, y - 0.1, 0.6, 0.1}});
      y -= 0.15;
    }
    return out;
  });
}

}  // namespace kesta::test
