#pragma once

#include <span>
#include <string>

#include "suggest/dj_set.h"

// The set history as the user saves it: UTF-8 comma-separated text that
// spreadsheets open as it is.
//
// The header line is fixed; each history row gives one line of five quoted
// fields (quotes inside doubled, so commas and line breaks stay inside their
// field): the load time in UTC ("2026-03-15T04:30:09Z"), the title and the
// artist as stored, "yes" or "not confirmed" for play evidence, and the title
// of the lane the track was shown in, or nothing. Lines are separated by CR LF,
// with none after the last; no rows give the header alone.
namespace kesta::model {

inline constexpr std::string_view kSetHistoryCsvHeader =
    "Loaded at,Title,Artist,Played (clock evidence),Shown by Kesta as";

std::string setHistoryCsv(std::span<const DJSet::Entry> entries);

}  // namespace kesta::model
