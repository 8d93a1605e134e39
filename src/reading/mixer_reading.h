#pragma once

#include "platform/json/json_value.h"

namespace kesta {

// One mixer channel in one scan.
struct MixerReading {
  double fader = 0;  // 0 closed ... 1 fully open, as measured (not clamped)
  bool eqNeutral = false;

  // The channel is open and its EQ untouched: fader at least 0.5, EQ neutral.
  bool isMain() const { return fader >= 0.5 && eqNeutral; }
  // The fader is down: at most 0.05.
  bool isSilent() const { return fader <= 0.05; }

  // {"fader": number, "eqNeutral": bool}, both required.
  json::Value toJson() const;
  static MixerReading fromJson(const json::Value& value);

  // A fader that is not a number equals nothing.
  friend bool operator==(const MixerReading&, const MixerReading&) = default;
};

}  // namespace kesta
