#pragma once

class QBoxLayout;

namespace kesta::ui {

class TextLine;

// Adds `line` to `layout` (whose widget becomes its parent) in a slot for a
// block too short to stack every line's whole box (`LineBox`): the slot holds
// the room above the baseline for the highest marks but only the font's own
// descent below it, and the line's widget reaches below the slot by the rest
// of its room, so the dots under an Arabic yeh fall into the spacing or the
// top of the next line (where the next line's own marks rarely stand) and
// are never cut. Main thread only.
void addLineSlot(QBoxLayout& layout, TextLine* line);

// How far `line`'s widget may reach below its slot.
int reachBelowSlot(const TextLine& line);

}  // namespace kesta::ui
