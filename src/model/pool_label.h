#pragma once

#include <string>
#include <vector>

#include "library/library.h"
#include "library/pool_choice.h"

namespace kesta::model {

// The pool button's label. Two or more playlists: "<n> playlists · <m>",
// m counting each suggestible track id of their union once. Otherwise the
// menu entry of the pool as "<name> · <count>", or "Full collection" when the
// menu has no entry for it. Pure.
std::string poolLabel(const Library& library, const std::string& poolID,
                      const std::vector<PoolChoice>& choices);

}  // namespace kesta::model
