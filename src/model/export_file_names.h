#pragma once

#include <string>
#include <string_view>

#include "platform/time/date.h"

// The file names offered in the save panels of the exports. Dated names carry
// the UTC calendar day of the session's or set's start, so a set started late
// in the evening west of Greenwich carries the next day's date.
namespace kesta::model {

// "kesta-diagnostics-2026-03-15.txt" for a session started that day.
std::string diagnosticsFileName(Date sessionStart);
// "kesta-set-2026-03-15.csv" for a set started that day.
std::string setFileName(Date setStart);

inline constexpr std::string_view kDeckViewFileName = "kesta-deck-view.png";

}  // namespace kesta::model
