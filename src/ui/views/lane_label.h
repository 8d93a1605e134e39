#pragma once

#include "suggest/lane.h"
#include "ui/views/text_line.h"

namespace kesta::ui {

// A lane's short name ("GROOVE", "RAISE", "EASE", "PIVOT") at the head of a
// lane row: amber for the pivot lane, lime for the others. Its frame is
// `frameWidth` wide, or as wide as the widest of the four names when that is
// wider, so a name is never cut and the rows' contents line up. Main thread only.
class LaneLabel : public TextLine {
 public:
  LaneLabel(Lane lane, const QFont& font, int frameWidth, QWidget* parent = nullptr);
};

}  // namespace kesta::ui
