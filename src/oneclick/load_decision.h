#pragma once

#include <string>
#include <utility>
#include <variant>

#include "platform/variant/sum_type.h"

namespace kesta {

// The load-safety rule's answer for one requested load.
struct LoadDecision : SumType<LoadDecision> {
  // The track may go onto this deck (1 or 2) now, without asking.
  struct Allowed {
    int deck = 0;
    friend bool operator==(const Allowed&, const Allowed&) = default;
  };
  // The target deck is playing and may be audible: load only once the DJ confirms.
  struct NeedsConfirmation {
    int deck = 0;
    friend bool operator==(const NeedsConfirmation&, const NeedsConfirmation&) = default;
  };
  // No load now; the reason is shown to the DJ.
  struct Refused {
    std::string reason;
    friend bool operator==(const Refused&, const Refused&) = default;
  };

  using Case = std::variant<Allowed, NeedsConfirmation, Refused>;

  Case value;

  static LoadDecision allowed(int deck) { return {{}, Allowed{deck}}; }
  static LoadDecision needsConfirmation(int deck) { return {{}, NeedsConfirmation{deck}}; }
  static LoadDecision refused(std::string reason) { return {{}, Refused{std::move(reason)}}; }

  friend bool operator==(const LoadDecision&, const LoadDecision&) = default;
};

}  // namespace kesta
