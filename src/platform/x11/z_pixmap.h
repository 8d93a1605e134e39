#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/image/image.h"

namespace kesta {

// Where each 8-bit channel sits in a 32-bit pixel of an X visual, as bit shifts.
struct PixelChannels {
  int red = 16;
  int green = 8;
  int blue = 0;
};

// The RGBA picture of Z-pixmap pixels: `height` rows `sourceStride` bytes
// apart, each pixel a 32-bit word in the server's byte order (`msbFirst` for
// big-endian servers). The picture keeps the source's stride. Runs four times
// a second over the whole window, so it copies the rows in one go and turns
// the words in place, in blocks the compiler vectorises.
Image zPixmapToRgba(const std::uint8_t* data, std::size_t sourceStride, int width, int height,
                    PixelChannels channels, bool msbFirst);

}  // namespace kesta
