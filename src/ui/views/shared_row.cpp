#include "ui/views/shared_row.h"

#include <algorithm>

namespace kesta::ui {

void shareRow(const std::vector<ChipButton*>& chips, int width, int spacing) {
  if (chips.empty()) return;
  const int count = static_cast<int>(chips.size());
  const int share = std::max(0, (width - spacing * (count - 1)) / count);
  for (ChipButton* chip : chips) chip->setMinimumWidth(std::min(chip->sizeHint().width(), share));
}

}  // namespace kesta::ui
