#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/ports/loader_port.h"
#include "oneclick/key_preset.h"

namespace kesta::model {

// The words of one-click load: the notice when it is switched on, and the
// diagnostics codes and texts of a failed load or undo. Pure functions.

// The notice shown when one-click load is switched on, by the preset check's result.
struct PresetNotice {
  std::string text;
  std::string shortText;
  double seconds = 8;
};
PresetNotice presetNotice(const KeyPreset::Result& result);

// "Deck <n>", as every text names a deck.
std::string deckName(int deck);
// The parts, joined with ", ".
std::string joined(const std::vector<std::string>& parts);

// The detail of the record of a failed load. The attempt count is the
// loader's limit, not the attempts made.
std::optional<std::string> failureDetail(const LoadError& error);
std::string failureCode(const LoadFailure& failure);
std::optional<std::string> failureShort(const LoadFailure& failure);

}  // namespace kesta::model
