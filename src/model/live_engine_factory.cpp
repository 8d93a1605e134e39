#include "model/live_engine_factory.h"

#include "model/engine_session.h"

namespace kesta::model {

std::shared_ptr<EnginePort> LiveEngineFactory::make(LibraryIndex index, EnginePort::SharedSongKeys songKeys) {
  LiveEngine::Parts parts;
  parts.source = parts_.makeSource();
  parts.recognizer = parts_.makeRecognizer();
  parts.index = std::move(index);
  parts.songKeys = std::move(songKeys);
  parts.config = parts_.config;
  return std::make_shared<EngineSession>(LiveEngine::create(std::move(parts)), parts_.mainQueue);
}

}  // namespace kesta::model
