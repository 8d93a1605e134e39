#pragma once

#include <functional>
#include <memory>

#include "model/ports/engine_port.h"
#include "model/ports/main_queue.h"
#include "platform/ocr/text_recognizer.h"
#include "reading/frame_source.h"

namespace kesta::model {

// Makes a real live engine per Connect, over a fresh frame source and text
// recognizer, behind an EngineSession. Main thread.
class LiveEngineFactory : public EngineFactory {
 public:
  struct Parts {
    std::function<std::unique_ptr<FrameSource>()> makeSource;
    std::function<std::shared_ptr<TextRecognizer>()> makeRecognizer;
    std::shared_ptr<MainQueue> mainQueue;
    LiveEngine::Config config{};
  };

  explicit LiveEngineFactory(Parts parts) : parts_(std::move(parts)) {}

  std::shared_ptr<EnginePort> make(LibraryIndex index, EnginePort::SharedSongKeys songKeys) override;

 private:
  Parts parts_;
};

}  // namespace kesta::model
