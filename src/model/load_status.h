#pragma once

#include <string>
#include <utility>
#include <variant>

#include "platform/variant/sum_type.h"

namespace kesta::model {

// The state of one-click load shown by the load button, the undo chip and the
// status line. Equal when the case and every payload are equal.
struct LoadStatus : SumType<LoadStatus> {
  // A load of the track with this id onto this deck (1 or 2) is under way.
  struct Loading {
    std::string trackID;
    int deck = 0;
    friend bool operator==(const Loading&, const Loading&) = default;
  };
  // The load (or an undo) finished; `canUndo` offers the undo chip.
  struct Done {
    std::string text;
    bool canUndo = false;
    friend bool operator==(const Done&, const Done&) = default;
  };
  // The load, its verification or the undo failed, or was refused.
  struct Failed {
    std::string text;
    friend bool operator==(const Failed&, const Failed&) = default;
  };
  struct Idle {
    friend bool operator==(const Idle&, const Idle&) = default;
  };

  std::variant<Loading, Done, Failed, Idle> value = Idle{};

  static LoadStatus loading(std::string trackID, int deck) { return {{}, Loading{std::move(trackID), deck}}; }
  static LoadStatus done(std::string text, bool canUndo) { return {{}, Done{std::move(text), canUndo}}; }
  static LoadStatus failed(std::string text) { return {{}, Failed{std::move(text)}}; }
  static LoadStatus idle() { return {{}, Idle{}}; }

  friend bool operator==(const LoadStatus&, const LoadStatus&) = default;
};

}  // namespace kesta::model
