#pragma once

#include <string>

#include "oneclick/rekordbox_keys.h"

namespace kesta {

// A stroke as this platform's user would type it, for texts that name a
// rekordbox shortcut: "Ctrl+Z". The input layer presses Control for Command,
// so both read "Ctrl+"; Shift reads "Shift+". Keys the loader never sends
// read "?". Pure.
std::string strokeText(const RekordboxKeys::Stroke& stroke);

}  // namespace kesta
