#pragma once

#include <map>
#include <optional>
#include <vector>

#include "live/deck_motion.h"
#include "reading/library_index.h"
#include "reading/mixer_reading.h"
#include "reading/shown_metadata.h"

namespace kesta::model {

// The comparisons that decide whether a new engine reading changes anything
// the views show, so that an unchanged one is not published again.
// Pure functions; any thread.

// Both absent, or both present with the same silent and main flags: the
// fader's exact position is not shown.
bool sameForViews(const std::optional<MixerReading>& a, const std::optional<MixerReading>& b);
// The same for every deck.
bool sameForViews(const std::vector<std::optional<MixerReading>>& a,
                  const std::vector<std::optional<MixerReading>>& b);
// Every deck in the same motion category.
bool sameForViews(const std::vector<DeckMotion>& a, const std::vector<DeckMotion>& b);
// What the screen adds to the library tracks on the decks is the same: the
// key and the whole BPM of each where the library has none.
bool sameFilling(const std::map<int, ShownMetadata>& a, const std::map<int, ShownMetadata>& b,
                 const LibraryIndex& index);
// The same decks and the same filling.
bool sameForViews(const std::map<int, ShownMetadata>& a, const std::map<int, ShownMetadata>& b,
                  const LibraryIndex& index);

}  // namespace kesta::model
