#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "live/deck_content.h"
#include "live/focus.h"
#include "platform/json/json_value.h"
#include "platform/variant/sum_type.h"

namespace kesta {

// One change that a load-tracker step made.
struct TrackerEvent : SumType<TrackerEvent> {
  // A deck's first confirmed content since start (never for an empty deck).
  struct Initial {
    int deck = 1;
    DeckContent content;
    friend bool operator==(const Initial&, const Initial&) = default;
  };
  // A new load: `previous` is what it replaced, `evidenceAt` the time of the
  // first frame of the run that confirmed it.
  struct Load {
    int deck = 1;
    DeckContent content;
    DeckContent previous;
    double evidenceAt = 0;
    friend bool operator==(const Load&, const Load&) = default;
  };
  // The content changed without counting as a new load.
  struct Refined {
    int deck = 1;
    DeckContent content;
    friend bool operator==(const Refined&, const Refined&) = default;
  };
  // The deck was confirmed empty.
  struct Unload {
    int deck = 1;
    DeckContent previous;
    friend bool operator==(const Unload&, const Unload&) = default;
  };
  // The focus was set, or its content or deckUnloaded changed; as it now is.
  struct FocusChange {
    Focus focus;
    friend bool operator==(const FocusChange&, const FocusChange&) = default;
  };
  // Both decks hold media and the tracker cannot tell which one is played.
  struct StartupAmbiguous {
    friend bool operator==(const StartupAmbiguous&, const StartupAmbiguous&) = default;
  };
  // The deck's readout ran in step with real time long enough: the track played.
  struct PlayEvidence {
    int deck = 1;
    std::string trackID;
    friend bool operator==(const PlayEvidence&, const PlayEvidence&) = default;
  };
  // A frame not newer than the last accepted one was ignored.
  struct StaleFrameRejected {
    std::uint64_t seq = 0;
    friend bool operator==(const StaleFrameRejected&, const StaleFrameRejected&) = default;
  };
  // An unresolved reading on a deck that holds a track was refused.
  struct ChangeRejected {
    int deck = 1;
    std::string reason;
    friend bool operator==(const ChangeRejected&, const ChangeRejected&) = default;
  };

  using Case = std::variant<Initial, Load, Refined, Unload, FocusChange, StartupAmbiguous, PlayEvidence,
                            StaleFrameRejected, ChangeRejected>;

  Case value = StartupAmbiguous{};

  static TrackerEvent initial(int deck, DeckContent content) {
    return {{}, Initial{deck, std::move(content)}};
  }
  static TrackerEvent load(int deck, DeckContent content, DeckContent previous, double evidenceAt) {
    return {{}, Load{deck, std::move(content), std::move(previous), evidenceAt}};
  }
  static TrackerEvent refined(int deck, DeckContent content) {
    return {{}, Refined{deck, std::move(content)}};
  }
  static TrackerEvent unload(int deck, DeckContent previous) {
    return {{}, Unload{deck, std::move(previous)}};
  }
  static TrackerEvent focus(const Focus& focus) { return {{}, FocusChange{focus}}; }
  static TrackerEvent startupAmbiguous() { return {{}, StartupAmbiguous{}}; }
  static TrackerEvent playEvidence(int deck, std::string trackID) {
    return {{}, PlayEvidence{deck, std::move(trackID)}};
  }
  static TrackerEvent staleFrameRejected(std::uint64_t seq) { return {{}, StaleFrameRejected{seq}}; }
  static TrackerEvent changeRejected(int deck, std::string reason) {
    return {{}, ChangeRejected{deck, std::move(reason)}};
  }

  // "initial", "load", "refined", "unload", "focus", "startupAmbiguous",
  // "playEvidence", "staleFrameRejected", "changeRejected".
  std::string_view caseName() const;

  // {"<case>": {payload labels}}, the focus under "_0". Every payload key is
  // required on reading; keys that name no case are ignored, and anything but
  // exactly one case key throws json::DecodingError with json::kInvalidKeyCount.
  json::Value toJson() const;
  static TrackerEvent fromJson(const json::Value& value);

  friend bool operator==(const TrackerEvent&, const TrackerEvent&) = default;
};

}  // namespace kesta
