#pragma once

#include <string>

namespace kesta::model {

// The corner card's two-line heading while no track is followed.
struct CardHeading {
  std::string title;
  std::string subtitle;
  friend bool operator==(const CardHeading&, const CardHeading&) = default;
};

}  // namespace kesta::model
