#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/image/geometry.h"
#include "platform/image/image.h"

namespace kesta {

// A coarse grey summary of one region of an image: 128 × 16 cells, each the
// area-averaged grey level of what it covers. Only differences between two
// fingerprints made the same way mean anything.
struct Fingerprint {
  static constexpr int width = 128;
  static constexpr int height = 16;

  std::vector<std::uint8_t> pixels;

  // The fingerprint of `region` (fractions of `image`), widened to whole
  // pixels; absent for a region under 4 × 2 pixels or outside the image.
  static std::optional<Fingerprint> of(const Image& image, const Rect& region);

  // Cells whose grey levels differ by more than 24; the largest integer when
  // this one has no cells or the two differ in cell count.
  int changedCells(const Fingerprint& other) const;

  friend bool operator==(const Fingerprint&, const Fingerprint&) = default;
};

}  // namespace kesta
