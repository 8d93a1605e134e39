#pragma once

#include <optional>
#include <vector>

#include "platform/image/geometry.h"
#include "reading/deck_observation.h"
#include "reading/fingerprint.h"
#include "reading/recognized_line.h"

namespace kesta {

// The result of reading one deck area in one scan.
struct DeckExtraction {
  DeckObservation observation;
  // The lines recognised in this call, in reading order; empty when recognition did not run.
  std::vector<RecognizedLine> lines;
  bool ocrRan = false;
  // Where the matched title sits, as fractions of the deck crop; only an
  // accurate reading finds one.
  std::optional<Rect> titleRegion;
  // The anchor region's fingerprint in this image, when one was taken.
  std::optional<Fingerprint> fingerprint;
  double ocrMs = 0;
  double matchMs = 0;
};

}  // namespace kesta
