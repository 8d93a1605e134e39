#pragma once

#include <QString>
#include <string_view>

#include "suggest/suggestion.h"

namespace kesta::ui {

// Texts the views make of model values.

// The whole of a suggestion that its row may cut: title, artist, reasons and,
// when there is one, the caveat, one per line.
QString suggestionTooltip(const Suggestion& suggestion);

// Fixed model text (a lane's names) as Qt text.
QString fromView(std::string_view text);

}  // namespace kesta::ui
