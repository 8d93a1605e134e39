#include "platform/x11/z_pixmap.h"

#include <bit>
#include <cstring>
#include <vector>

namespace kesta {

namespace {

constexpr int kBlock = 16;

// One pixel word as RGBA bytes in memory order.
std::uint32_t rgbaWord(std::uint32_t word, PixelChannels c) {
  const std::uint32_t r = (word >> c.red) & 0xff;
  const std::uint32_t g = (word >> c.green) & 0xff;
  const std::uint32_t b = (word >> c.blue) & 0xff;
  if constexpr (std::endian::native == std::endian::little) return r | g << 8 | b << 16 | 0xff000000u;
  return r << 24 | g << 16 | b << 8 | 0xffu;
}

template <bool Swap>
void convertWords(std::uint32_t* words, int count, PixelChannels c) {
  for (int i = 0; i < count; ++i) words[i] = rgbaWord(Swap ? __builtin_bswap32(words[i]) : words[i], c);
}

template <bool Swap>
void convertRow(std::uint8_t* row, int width, PixelChannels c) {
  std::uint32_t block[kBlock];
  int x = 0;
  for (; x + kBlock <= width; x += kBlock) {
    std::memcpy(block, row + 4 * x, sizeof block);
    convertWords<Swap>(block, kBlock, c);
    std::memcpy(row + 4 * x, block, sizeof block);
  }
  const std::size_t rest = std::size_t(width - x) * 4;
  std::memcpy(block, row + 4 * x, rest);
  convertWords<Swap>(block, width - x, c);
  std::memcpy(row + 4 * x, block, rest);
}

}  // namespace

Image zPixmapToRgba(const std::uint8_t* data, std::size_t sourceStride, int width, int height,
                    PixelChannels channels, bool msbFirst) {
  if (width <= 0 || height <= 0) return Image();
  std::vector<std::uint8_t> bytes(data, data + sourceStride * std::size_t(height));
  const bool swap = msbFirst != (std::endian::native == std::endian::big);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bytes.data() + std::size_t(y) * sourceStride;
    if (swap)
      convertRow<true>(row, width, channels);
    else
      convertRow<false>(row, width, channels);
  }
  return Image(width, height, sourceStride, std::move(bytes));
}

}  // namespace kesta
