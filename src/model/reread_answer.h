#pragma once

#include <memory>
#include <optional>

#include "model/ports/loader_port.h"
#include "model/ports/main_queue.h"

namespace kesta::model {

// The engine's answer to a re-read of a deck's readout, passed on to the
// loader's safety re-check. An engine let go before it answered (the DJ
// pressed Stop) drops the call; the re-check is then answered as for an
// unreadable readout rather than never, which would leave the load waiting
// with Kesta's windows letting clicks through.
//
// Threads: called on the main thread; may be destroyed on the thread that
// let the engine go, and then answers through the main queue.
class RereadAnswer {
 public:
  RereadAnswer(int deck, LoaderPort::Answer answer, std::shared_ptr<MainQueue> mainQueue)
      : deck_(deck), answer_(std::move(answer)), mainQueue_(std::move(mainQueue)) {}
  RereadAnswer(const RereadAnswer&) = delete;
  RereadAnswer& operator=(const RereadAnswer&) = delete;
  ~RereadAnswer();

  void operator()(std::optional<bool> stillStopped);

 private:
  int deck_;
  LoaderPort::Answer answer_;
  std::shared_ptr<MainQueue> mainQueue_;
};

}  // namespace kesta::model
