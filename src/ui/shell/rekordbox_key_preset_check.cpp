#include "ui/shell/rekordbox_key_preset_check.h"

namespace kesta::ui {

KeyPreset::Result RekordboxKeyPresetCheck::check() { return KeyPreset::check(); }

}  // namespace kesta::ui
