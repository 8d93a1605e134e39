#include "model/now_playing_text.h"

#include <algorithm>

#include "platform/text/unicode_text.h"

namespace kesta::model {

namespace {

using Kind = NowPlayingText::Kind;

std::string whyNothing(const ViewSnapshot& s) {
  if (s.phase == TrackerPhase::ambiguousStartup) return "Which deck are you mixing from?";
  if (s.focus && s.focus->content.is<DeckContent::Unmatched>()) {
    return "Deck " + std::to_string(s.focus->deck) + ": not in your library";
  }
  return s.watching ? "Waiting for a load…" : "Not connected";
}

}  // namespace

NowPlayingText nowPlayingText(const ViewSnapshot& s) {
  NowPlayingText out;
  out.deck = s.focus ? s.focus->deck : 0;
  if (const auto& track = s.currentTrack) {
    out.kind = Kind::track;
    out.headline = track->title;
    out.readoutKept = " · " + track->displayBPM() + " BPM · " + track->displayKey();
    if (s.focus) out.readoutKept += " · Deck " + std::to_string(out.deck);
    out.readout = unicode::isolated(track->displayArtist()) + out.readoutKept;
    return out;
  }
  if (s.focus && s.focus->content.is<DeckContent::Ambiguous>()) {
    out.kind = Kind::versions;
    out.headline = "Which version is on Deck " + std::to_string(out.deck) + "?";
    const std::vector<Track>& all = s.deck(out.deck).candidates;
    out.versions.assign(all.begin(), all.begin() + std::ptrdiff_t(std::min(all.size(), kShownVersions)));
    return out;
  }
  out.headline = whyNothing(s);
  out.readout = " ";
  return out;
}

}  // namespace kesta::model
