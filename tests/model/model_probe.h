#pragma once

#include <cstdint>
#include <utility>

#include "model/app_model.h"

namespace kesta::model {

// Installs a library the way a finished import leaves the model, so that the
// tests of watching and updates need no import.
struct ModelProbe {
  static void install(AppModel& model, Library library) {
    LibraryKeeper& keeper = model.library_;
    keeper.library_ = std::make_shared<const Library>(std::move(library));
    keeper.index_ = LibraryIndex(keeper.library_);
    keeper.songKeys_ = LiveEngine::songKeysOf(keeper.index_);
    keeper.state_ = LibraryState::ready();
  }
  // The library's song keys, as the keeper holds them.
  static const EnginePort::SharedSongKeys& songKeys(const AppModel& model) {
    return model.library_.songKeys();
  }
  // How many rankings were asked for so far.
  static std::uint64_t rankGeneration(const AppModel& model) { return model.lanes_.rankGeneration_; }
};

}  // namespace kesta::model
