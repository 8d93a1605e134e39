#pragma once

#include <optional>
#include <span>
#include <string>

#include "live/deck_motion.h"
#include "oneclick/load_decision.h"
#include "reading/mixer_reading.h"

// The rule behind the re-check a running one-click load asks for before it
// touches rekordbox: the load-safety decision taken again against the state
// of the moment, judged for the deck the load is aimed at. Pure; main thread.
namespace kesta::model {

struct SafetyRecheck {
  enum class Kind {
    goOn,           // nothing speaks against the load
    stop,           // `reason` says why the load must stop
    rereadReadout,  // the deck was judged stopped: ask the engine to read its time again
  };
  Kind kind = Kind::goOn;
  std::string reason;

  // `decision` is the fresh decision for the load's suggestion, `deck` the
  // deck the load is aimed at (1 or 2), `confirmed` whether the DJ confirmed
  // loading over that deck; `motion` and `mixer` are per deck, deck 1 first.
  static SafetyRecheck judge(const LoadDecision& decision, int deck, bool confirmed,
                             std::span<const DeckMotion> motion,
                             std::span<const std::optional<MixerReading>> mixer);

  // The reason to stop after the engine re-read the deck's time readout:
  // none when it is still stopped.
  static std::optional<std::string> afterReread(int deck, std::optional<bool> stillStopped);
};

}  // namespace kesta::model
