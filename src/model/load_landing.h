#pragma once

#include "library/track.h"
#include "live/deck_content.h"
#include "reading/library_index.h"

// What one look at the target deck says about a load that rekordbox accepted.
// A pure rule over the deck's confirmed content; the app model polls it a few
// times a second after the loader returns. Main thread, no failures.
namespace kesta::model {

enum class LoadLanding {
  landed,           // the track, or another library entry of the same song
  landedAmbiguous,  // an ambiguous reading whose candidates include the track
  wrongTrack,       // another track replaced what the deck held before
  notYet,           // anything else: the old content, unreadable, empty, unmatched
};

// Judges `current`, the deck's content now, for a load of `requested` onto a
// deck that held `before`; `index` tells which song another entry is.
LoadLanding judgeLanding(const DeckContent& current, const Track& requested, const DeckContent& before,
                         const LibraryIndex& index);

}  // namespace kesta::model
