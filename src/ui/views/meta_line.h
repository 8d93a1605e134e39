#pragma once

#include <QString>

#include "library/track.h"

namespace kesta::ui {

// A track's tempo and key on one line, "<bpm> BPM · <key>", with an em dash
// for a missing BPM or key.
QString metaLine(const Track& track);

}  // namespace kesta::ui
