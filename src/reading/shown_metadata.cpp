#include "reading/shown_metadata.h"

namespace kesta {

Track filling(const Track& track, const ShownMetadata& shown) {
  if (shown.trackID != track.id) return track;
  const bool wantsKey = !track.musicalKey && shown.keyText;
  const bool wantsBPM = !track.hasBPM() && shown.bpm;
  if (!wantsKey && !wantsBPM) return track;
  Track filled = track;
  if (!track.musicalKey) filled.keyText = shown.keyText;
  if (!track.hasBPM()) filled.bpm = shown.bpm;
  filled.musicalKey = filled.keyText ? MusicalKey::parsing(*filled.keyText) : std::nullopt;
  return filled;
}

}  // namespace kesta
