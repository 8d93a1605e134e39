#pragma once

#include "oneclick/key_preset.h"

namespace kesta::model {

// Reads rekordbox's active keyboard preset and compares it with the keys
// one-click load presses. Synchronous, on the main thread; never fails.
class KeyPresetCheck {
 public:
  virtual ~KeyPresetCheck() = default;
  virtual KeyPreset::Result check() = 0;
};

}  // namespace kesta::model
