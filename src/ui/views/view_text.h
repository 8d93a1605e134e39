#pragma once

#include <QString>

#include "suggest/suggestion.h"

namespace kesta::ui {

// Texts the views make of model values.

// The whole of a suggestion that its row may cut: title, artist, reasons and,
// when there is one, the caveat, one per line.
QString suggestionTooltip(const Suggestion& suggestion);

}  // namespace kesta::ui
