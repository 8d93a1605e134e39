#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "library/track.h"
#include "oneclick/matched_row.h"
#include "oneclick/row_pick.h"
#include "oneclick/text_box.h"
#include "platform/image/geometry.h"
#include "reading/library_index.h"

// Which row of rekordbox's browser is the requested track, from recognised
// text alone. It never guesses: every doubt between rows is `ambiguous`, and a
// row counts only when its cells show this very song.
namespace kesta::BrowserRowMatcher {

// `lines` are every recognised line of the window, in recognition order;
// `region` is the browser area, in the same normalised coordinates.
RowPick pick(std::span<const TextBox> lines, const Track& track, const LibraryIndex& index,
             const Rect& region);

// Recognition-tolerant equality of titles and artists; `reference` sets the
// tolerance (one edit per eight characters of its loose form, from eight on).
bool similar(std::string_view text, std::string_view reference);

// Among rows that all show the requested song, the one whose key, BPM or
// duration cells single it out, else the topmost when every row shows the
// track's duration; nothing when the rows cannot be told apart safely.
std::optional<Rect> duplicateTieBreak(std::span<const MatchedRow> rows, const Track& track);

}  // namespace kesta::BrowserRowMatcher
