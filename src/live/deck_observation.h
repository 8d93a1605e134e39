#pragma once

// Deck observations are made by deck reading (the extractor and the mixer
// reader) and live there now; include "reading/deck_observation.h".
#include "reading/deck_observation.h"
