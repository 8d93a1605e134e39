#pragma once

#include <cstdint>
#include <utility>

#include "model/app_model.h"

namespace kesta::model {

// Installs a library the way a finished import leaves the model, so that the
// tests of watching and updates need no import.
struct ModelProbe {
  static void install(AppModel& model, Library library) {
    model.library_ = std::move(library);
    model.index_ = LibraryIndex(model.library_);
    model.songKeys_.clear();
    for (const auto& track : model.index_.tracks()) model.songKeys_.try_emplace(track.id, track.songKey());
    model.libraryState_ = LibraryState::ready();
  }
  // How many rankings were asked for so far.
  static std::uint64_t rankGeneration(const AppModel& model) { return model.rankGeneration_; }
};

}  // namespace kesta::model
