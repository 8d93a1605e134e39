#pragma once

#include <vector>

#include "ui/look/chip_button.h"

namespace kesta::ui {

// Lets chips side by side in a row `width` wide, `spacing` apart, share it
// fairly: a chip keeps its whole label up to an equal share of the row, and
// only chips wider than that give up room. (Left alone, a box layout takes
// the same amount from every chip, so one long label squeezes the short ones
// to nothing.) Call again when the row's width or a label changes. Main thread only.
void shareRow(const std::vector<ChipButton*>& chips, int width, int spacing);

}  // namespace kesta::ui
