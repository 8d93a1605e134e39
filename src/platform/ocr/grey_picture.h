#pragma once

#include <cstdint>
#include <vector>

#include "platform/image/image.h"

namespace kesta {

// The grey, inverted picture that recognition reads: lightness (the brightest
// channel, so that coloured text stays bright) turned dark-on-light, its
// levels spread from black to a white background, scaled by `scale` (1 or 2)
// with bilinear filtering. One byte per pixel, rows packed. A pure function,
// callable from any thread; an empty image gives an empty picture.
struct GreyPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};
GreyPicture invertedGrey(const Image& image, int scale);

}  // namespace kesta
