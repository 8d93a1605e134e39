#pragma once

#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "library/musical_key.h"
#include "reading/deck_reading.h"
#include "reading/library_index.h"

namespace kesta {

// A deck verdict and the name of the rule that decided it; the rule goes into
// diagnostics, where it is how a reading gets explained. `score` is the best
// candidate's score (100 for a whole title and its artist down to 40 for a
// cut title), 0 when no candidate was proposed: how strongly the verdict holds.
struct MatchResult {
  DeckReading reading;
  std::string rule;
  int score = 0;

  friend bool operator==(const MatchResult&, const MatchResult&) = default;
};

// Turns the text recognised in one deck's title area into a verdict about what
// the deck holds. Lines may be cut off with an ellipsis, run title and artist
// together, carry recognition errors, and come mixed with labels, clocks and
// readouts; every usable line proposes candidates by a fixed cascade of rules,
// and one track is chosen only when the best candidates are one song, or one
// song stands out by its artist or the shown key.
namespace TrackMatcher {

// The names of the rules as MatchResult::rule holds them. A chosen track's
// rule may carry Rule::duplicates after it, and a tie's Rule::tie before the
// rule of the best candidate.
namespace Rule {
inline constexpr std::string_view noText = "no-text";
inline constexpr std::string_view emptyIndicator = "empty-indicator";
inline constexpr std::string_view controlsOnly = "controls-only";
inline constexpr std::string_view trackList = "track-list";
inline constexpr std::string_view noLibraryMatch = "no-library-match";
inline constexpr std::string_view weakOnly = "weak-only";
inline constexpr std::string_view exactArtist = "exact+artist";
inline constexpr std::string_view exact = "exact";
inline constexpr std::string_view exactSharedPrefix = "exact-shared-prefix";
inline constexpr std::string_view prefixArtist = "prefix+artist";
inline constexpr std::string_view prefix = "prefix";
inline constexpr std::string_view nearArtist = "near+artist";
inline constexpr std::string_view near = "near";
inline constexpr std::string_view mergedArtist = "merged+artist";
inline constexpr std::string_view tieSettled = "tie-settled";
inline constexpr std::string_view tie = "tie:";
inline constexpr std::string_view duplicates = "+dup";
}  // namespace Rule

// The tempo and key a deck's readouts show.
struct Hints {
  std::optional<double> bpm;
  std::optional<MusicalKey> key;

  friend bool operator==(const Hints&, const Hints&) = default;
};

using WordSet = std::set<std::string, std::less<>>;

// Normalised labels and buttons of a deck area; a line that is one of them is
// never a title.
const WordSet& interfaceWords();
// Normalised phrases an empty deck shows ("notrackloaded", ...).
const WordSet& emptyIndicators();

// True for a tempo, tempo change, placeholder or minor-key/Camelot readout
// ("128.00", "+2.5%", "--.-", "8A", "F#m"); spaces and tabs around it are ignored.
bool isMetadataToken(std::string_view text);
// The lines unchanged, then each line's white-space separated pieces with
// brackets and angle quotes trimmed off their ends (a piece may become empty).
std::vector<std::string> readoutTokens(std::span<const std::string> lines);
// The first BPM-shaped and the first key-shaped readout among the tokens that
// yields a value.
Hints metadataHints(std::span<const std::string> lines);

// The verdict for one deck's recognised line texts, in reading order.
MatchResult match(std::span<const std::string> lines, const LibraryIndex& index);

// Whether the artist of the track `id` shows on one of the lines as the
// matcher confirms an artist: whole, cut off, or by its words.
bool showsArtist(std::span<const std::string> lines, std::string_view id, const LibraryIndex& index);

}  // namespace TrackMatcher

}  // namespace kesta
