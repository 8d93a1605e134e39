#include "model/view_snapshot.h"

#include "model/app_model.h"

namespace kesta::model {

namespace {

void takeConnection(ViewSnapshot& s, const AppModel& model) {
  s.watching = model.watching();
  s.readerProblem = model.readerProblem();
  s.screenPermission = model.screenPermission();
  s.askedForScreenPermission = model.askedForScreenPermission();
  s.oneClickNeedsAccess = model.oneClickNeedsAccess();
  s.oneClickLoad = model.oneClickLoad();
  s.includeRawText = model.includeRawText();
  s.versionLabel = model.versionLabel();
}

void takeLibrary(ViewSnapshot& s, const AppModel& model) {
  const Library& library = model.library();
  s.library = {.empty = library.isEmpty(),
               .fileName = library.sourceFileName,
               .notes = library.report.notes(),
               .totalEntries = library.report.totalEntries,
               .recommendable = library.report.recommendable,
               .playlists = library.report.playlists,
               .legacyNote = model.legacyNote()};
}

void takeDecks(ViewSnapshot& s, const AppModel& model) {
  for (int deck = 1; deck <= kDeckCount; ++deck) {
    const auto index = static_cast<std::size_t>(deck - 1);
    DeckView& view = s.decks[index];
    view.content = index < model.decks().size() ? model.decks()[index] : DeckContent::unknown();
    view.track = index < model.decks().size() ? model.track(deck) : std::nullopt;
    view.candidates = index < model.decks().size() ? model.candidates(deck) : std::vector<Track>{};
    view.checking = model.pendingDecks().contains(deck);
  }
  s.focus = model.focus();
  s.phase = model.phase();
  s.currentTrack = model.currentTrack();
  s.currentRating = s.currentTrack ? model.rating(*s.currentTrack) : 0;
  s.otherLoadedDeck = model.otherLoadedDeck();
}

void takeLanes(ViewSnapshot& s, const AppModel& model) {
  for (const Lane lane : Lane::allCases()) {
    s.lanes[static_cast<std::size_t>(lane)] = {.shown = model.suggestion(lane),
                                               .options = model.alternatives(lane),
                                               .emptyReason = model.emptyReason(lane),
                                               .emptyShort = model.emptyShort(lane)};
  }
  s.ranking = model.ranking();
}

void takePool(ViewSnapshot& s, const AppModel& model) {
  s.poolLabel = model.poolLabel();
  s.poolID = model.poolID();
  s.poolChoices = model.poolChoices();
  s.selectedPlaylistIDs = model.selectedPlaylistIDs();
}

void takeSets(ViewSnapshot& s, const AppModel& model, ChangedFields fields) {
  s.activeSet = model.activeSet();
  s.canReplay = model.canReplay();
  // The archive grows with the DJ's history: copied only when it changed.
  if (touches(fields, Field::archivedSets)) s.archivedSets = model.archivedSets();
}

}  // namespace

void refreshSnapshot(ViewSnapshot& s, const AppModel& model, ChangedFields fields) {
  if (touches(fields, kConnectionFields)) takeConnection(s, model);
  if (touches(fields, kLibraryFields)) takeLibrary(s, model);
  if (touches(fields, kDeckFields)) takeDecks(s, model);
  if (touches(fields, kLaneFields)) takeLanes(s, model);
  if (touches(fields, kLoadFields)) {
    s.loadStatus = model.loadStatus();
    s.dismissalUndoable = model.lastDismissed().has_value();
  }
  if (touches(fields, kPoolFields)) takePool(s, model);
  if (touches(fields, kSetFields)) takeSets(s, model, fields);
  s.statusLine = model.statusLine();
  s.compactStatus = model.compactStatus();
  s.heading = model.cardHeading();
  s.exportAge = model.exportAge();
}

}  // namespace kesta::model
