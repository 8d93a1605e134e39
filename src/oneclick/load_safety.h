#pragma once

#include <optional>
#include <set>
#include <span>
#include <string>
#include <unordered_map>

#include "library/track.h"
#include "live/deck_content.h"
#include "live/deck_motion.h"
#include "live/focus.h"
#include "oneclick/load_decision.h"
#include "reading/mixer_reading.h"

// Whether a suggested track may be loaded now, onto the deck the DJ is not
// mixing from, and whether the DJ must confirm first. A pure rule over the live
// state the app model mirrors from the engine.
namespace kesta::LoadSafety {

// `decks`, `motion` and `mixer` are per deck, deck 1 first. A deck missing
// from `decks` or `motion` counts as unread (content or motion unknown), one
// missing from `mixer` as an absent reading. `pending` holds the numbers of
// the decks whose content is changing; `songKeys` maps track id to song key.
LoadDecision decide(const Track& requested, const std::optional<Focus>& focus,
                    std::span<const DeckContent> decks, std::span<const DeckMotion> motion,
                    const std::set<int>& pending,
                    const std::unordered_map<std::string, std::string>& songKeys,
                    std::span<const std::optional<MixerReading>> mixer = {});

}  // namespace kesta::LoadSafety
