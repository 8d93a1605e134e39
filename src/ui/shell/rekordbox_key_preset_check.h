#pragma once

#include "model/ports/key_preset_check.h"

namespace kesta::ui {

// Reads rekordbox's active keyboard preset from its settings folder. Main
// thread; never fails (an unreadable preset is `Unknown`).
class RekordboxKeyPresetCheck : public model::KeyPresetCheck {
 public:
  KeyPreset::Result check() override;
};

}  // namespace kesta::ui
