#include "reading/fingerprint.h"

#include <cstdlib>
#include <limits>

namespace kesta {

std::optional<Fingerprint> Fingerprint::of(const Image& image, const Rect& region) {
  const Rect pixels = region.scaledTo(image.size());
  if (pixels.width < 4.0 || pixels.height < 2.0) return std::nullopt;
  const auto cut = image.cropped(pixels);
  if (!cut) return std::nullopt;
  auto grid = cut->greyGrid(width, height);
  if (grid.size() != std::size_t(width * height)) return std::nullopt;
  return Fingerprint{std::move(grid)};
}

int Fingerprint::changedCells(const Fingerprint& other) const {
  if (pixels.empty() || pixels.size() != other.pixels.size()) return std::numeric_limits<int>::max();
  int changed = 0;
  for (std::size_t i = 0; i < pixels.size(); ++i)
    if (std::abs(int(pixels[i]) - int(other.pixels[i])) > 24) ++changed;
  return changed;
}

}  // namespace kesta
