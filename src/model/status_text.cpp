#include "model/status_text.h"

#include <string_view>
#include <utility>

#include "model/one_click_texts.h"
#include "platform/text/unicode_text.h"

namespace kesta::model {
namespace {

// A rule's text in both forms; an absent short form is the full one.
struct Texts {
  std::string full;
  std::optional<std::string> shortText;

  std::string pick(bool compact) && { return compact && shortText ? std::move(*shortText) : std::move(full); }
};

Texts same(std::string text) { return {std::move(text), std::nullopt}; }

bool showsTrackList(const ScanRecord* scan) {
  return scan != nullptr && (scan->deck1.ends_with("track-list") || scan->deck2.ends_with("track-list"));
}

template <class T>
const T* deckEntry(const std::vector<T>& list, int deck) {
  const auto index = static_cast<std::size_t>(deck - 1);
  return deck >= 1 && index < list.size() ? &list[index] : nullptr;
}

// Before anything about reading: the load in progress, notices, load results
// and the library.
std::optional<Texts> beforeReading(const StatusInputs& s) {
  if (const auto* loading = s.loadStatus.as<LoadStatus::Loading>()) {
    const Track* track = s.index != nullptr ? s.index->track(loading->trackID) : nullptr;
    const std::string deck = std::to_string(loading->deck);
    return Texts{"Loading " + (track != nullptr ? unicode::isolated(track->title) : std::string("track")) +
                     " onto Deck " + deck + "… hands off the keyboard for a second.",
                 "Loading onto Deck " + deck + "… hands off for a second."};
  }
  if (s.notice) return Texts{*s.notice, s.noticeShort};
  if (const auto* done = s.loadStatus.as<LoadStatus::Done>()) return Texts{done->text, s.loadStatusShort};
  if (const auto* failed = s.loadStatus.as<LoadStatus::Failed>())
    return Texts{failed->text, s.loadStatusShort};
  if (const auto* importing = s.libraryState.as<LibraryState::Importing>()) return same(importing->text);
  if (const auto* failed = s.libraryState.as<LibraryState::Failed>()) return same(failed->text);
  if (s.libraryEmpty) return same("Add your rekordbox library to begin.");
  return std::nullopt;
}

// Not watching: ready, or the screen recording permission is missing.
Texts notWatching(const StatusInputs& s) {
  if (s.screenPermission) return same("Ready. Press Connect when rekordbox is open.");
  if (s.askedForScreenPermission)
    return {
        "Turn on Kesta Live Beta in System Settings (if it already looks on, turn it off and on again), then "
        "press Reopen Kesta.",
        "Turned it on? Press Reopen so it takes effect."};
  return same("Allow screen recording so Kesta can read rekordbox's decks.");
}

// Watching: reading health, one-click access, a changed export and the
// time before a focus.
std::optional<Texts> watchingWithoutFocus(const StatusInputs& s) {
  if (const auto* blind = s.health.as<ReaderHealth::CannotSeeDecks>()) {
    if (showsTrackList(s.newestScan))
      return Texts{
          "Kesta sees a track list where it expects the deck titles. Switch rekordbox to its 2-deck view "
          "with the deck titles at the top.",
          "Switch rekordbox to its 2-deck view."};
    const std::string seconds = std::to_string(blind->seconds);
    return Texts{
        "Can't read the deck titles for " + seconds +
            "s. Is rekordbox covered, minimized or in another layout? Still following the last load.",
        "Can't read the deck titles (" + seconds + "s). Still following."};
  }
  if (const auto* failed = s.health.as<ReaderHealth::Failed>()) return Texts{failed->text, failed->shortText};
  if (s.health.as<ReaderHealth::Idle>() || s.health.as<ReaderHealth::Connecting>())
    return same("Connecting to rekordbox…");
  const bool loadIdle = s.loadStatus.as<LoadStatus::Idle>() != nullptr;
  if (s.oneClickNeedsAccess && loadIdle)
    return Texts{
        "One-click load needs Accessibility: turn on Kesta Live Beta in System Settings › Privacy & "
        "Security › Accessibility (after an update, turn it off and on).",
        "One-click needs Accessibility (see Full)."};
  if (s.exportChangedDuringSet && loadIdle && s.pendingDecks.empty() && s.phase == TrackerPhase::following)
    return Texts{"Your rekordbox export changed. Kesta will load it when you press Stop.",
                 "New export found: loads when you press Stop."};
  if (s.phase == TrackerPhase::ambiguousStartup) {
    if (s.hasResumePoint) return same("Reconnecting…");
    return Texts{
        "Both decks were loaded when Kesta started. Tap the deck you're mixing from, or load your next "
        "track.",
        "Both decks loaded: tap the deck you're mixing from."};
  }
  if (!s.focus) {
    if (!s.pendingDecks.empty()) return same("Checking a new deck title…");
    return same("Watching. Load a track in rekordbox.");
  }
  return std::nullopt;
}

std::string unmatchedAdvice(const StatusInputs& s) {
  const std::optional<std::string> day = s.staleExportDay ? s.staleExportDay() : std::nullopt;
  if (day)
    return "Your export is from " + *day +
           " and rekordbox has changed since: export again (File › Export Collection in xml format). If it's "
           "streamed, add it to Collection first.";
  return "If it's streamed (Apple Music, Spotify, TIDAL…), add it to rekordbox's Collection, then export "
         "again.";
}

// The followed deck holds a track that is not in the library. The
// advice is worked out for the full text only.
std::string unmatchedText(const StatusInputs& s, int deck, bool compact) {
  const auto screen = s.screenTracks.find(deck);
  const bool onScreen = screen != s.screenTracks.end();
  if (compact)
    return onScreen ? "Not in your library: ideas by on-screen BPM."
                    : deckName(deck) + "'s track isn't in your library.";
  if (onScreen)
    return deckName(deck) + "'s track isn't in your exported library, so ideas use its on-screen BPM" +
           (screen->second.keyText ? " and key" : "") + ". " + unmatchedAdvice(s);
  return deckName(deck) + " has a track that isn't in your exported library. " + unmatchedAdvice(s);
}

Texts following(FocusKind kind, int deck) {
  const std::string n = deckName(deck);
  switch (kind) {
    case FocusKind::initial:
      return {"Following " + n + " (the only loaded deck at start).",
              "Following " + n + ", the only loaded deck."};
    case FocusKind::load:
      return same("Following " + n + ", your latest load.");
    case FocusKind::userChoice:
      return same("Following " + n + " (your choice).");
    case FocusKind::resumed:
      return same("Following " + n + ", as before you reconnected.");
    case FocusKind::audible:
      return {"Following " + n + ": both decks are playing and this one has its fader up and EQ flat.",
              "Following " + n + ": fader up, EQ flat."};
  }
  return same("Following " + n + ".");
}

// The other deck still plays with its fader open (or unread), so a one-click
// load needs a second click.
bool otherDeckStillPlaying(const StatusInputs& s, int other) {
  if (!s.oneClickLoad || !s.loadStatus.as<LoadStatus::Idle>() || s.focus->deckUnloaded) return false;
  const DeckMotion* motion = deckEntry(s.motion, other);
  if (motion == nullptr || motion->kind != DeckMotion::Kind::running) return false;
  const std::optional<MixerReading>* reading = deckEntry(s.mixer, other);
  return reading == nullptr || !reading->has_value() || !(*reading)->isSilent();
}

// Watching with a focus: the followed deck.
std::string withFocus(const StatusInputs& s, bool compact) {
  const Focus& focus = *s.focus;
  const int n = focus.deck;
  const int other = n == 1 ? 2 : 1;
  if (!s.pendingDecks.empty() && !s.pendingDecks.contains(n))
    return deckName(*s.pendingDecks.begin()) + " changed. Checking the new title…";
  if (focus.content.is<DeckContent::Ambiguous>())
    return deckName(n) + ": several songs match. Tap the right version.";
  if (focus.content.is<DeckContent::Unmatched>()) return unmatchedText(s, n, compact);
  const std::string o = std::to_string(other);
  if (otherDeckStillPlaying(s, other))
    return Texts{"Following " + deckName(n) + ". Deck " + o +
                     " is still playing: once it's faded out, click Load twice to load over it.",
                 "Deck " + o + " playing: click Load twice to load."}
        .pick(compact);
  if (!focus.deckUnloaded) return following(focus.kind, n).pick(compact);
  return Texts{deckName(n) + " was ejected. Still showing ideas for its last track until your next load.",
               deckName(n) + " ejected. Ideas stay until your next load."}
      .pick(compact);
}

}  // namespace

std::string statusText(const StatusInputs& state, bool compact) {
  if (auto texts = beforeReading(state)) return std::move(*texts).pick(compact);
  if (!state.watching) return notWatching(state).pick(compact);
  if (auto texts = watchingWithoutFocus(state)) return std::move(*texts).pick(compact);
  return withFocus(state, compact);
}

CardHeading cardHeading(const StatusInputs& state) {
  if (!state.watching) return {"Kesta", "Not connected"};
  if (state.health.as<ReaderHealth::CannotSeeDecks>() || state.health.as<ReaderHealth::Failed>())
    return {"Can't see rekordbox", "See the note below"};
  if (state.phase == TrackerPhase::ambiguousStartup && !state.focus)
    return {"Both decks are loaded", "Tap the one you're mixing from"};
  if (state.focus && state.focus->content.is<DeckContent::Unmatched>())
    return {deckName(state.focus->deck) + ": not in your library", "Export again from rekordbox"};
  if (state.focus && state.focus->content.is<DeckContent::Ambiguous>())
    return {deckName(state.focus->deck) + ": which version?", "Tap the right one below"};
  return {"Waiting for a load…", "Load a track in rekordbox"};
}

}  // namespace kesta::model
