#include "model/card_header.h"

#include "platform/text/unicode_text.h"

namespace kesta::model {

CardHeader cardHeader(const ViewSnapshot& s) {
  const auto& track = s.currentTrack;
  if (!track) return {s.heading.title, s.heading.subtitle, false, ""};
  const int deck = s.focus ? s.focus->deck : 0;
  std::string kept = " · " + track->displayBPM() + " BPM · " + track->displayKey();
  return {track->title,
          "Deck " + std::to_string(deck) + " · " + unicode::isolated(track->displayArtist()) + kept, true,
          kept};
}

CardControl cardControl(const ViewSnapshot& s) {
  if (!s.watching && !s.screenPermission && s.askedForScreenPermission) return CardControl::reopen;
  if (s.watching) return s.readerProblem ? CardControl::problemDot : CardControl::liveDot;
  return s.library.empty ? CardControl::setUp : CardControl::connect;
}

CardMiddle cardMiddle(const ViewSnapshot& s) {
  if (s.phase == TrackerPhase::ambiguousStartup) return CardMiddle::startupQuestion;
  if (s.focus && s.focus->content.is<DeckContent::Ambiguous>()) return CardMiddle::versionPick;
  return CardMiddle::lanes;
}

}  // namespace kesta::model
