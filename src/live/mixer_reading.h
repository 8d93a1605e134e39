#pragma once

// Deck observations are made by deck reading (the extractor and the mixer
// reader) and live there now; include "reading/mixer_reading.h".
#include "reading/mixer_reading.h"
