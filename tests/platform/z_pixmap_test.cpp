#include "platform/x11/z_pixmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kesta {
namespace {

struct Layout {
  const char* name;
  PixelChannels channels;
  bool msbFirst;
};

// Stores (r, g, b) as the server would: a word with each channel at its shift,
// in the server's byte order.
void put(std::uint8_t* at, const Layout& layout, Rgba colour) {
  const std::uint32_t word = std::uint32_t(colour.r) << layout.channels.red |
                             std::uint32_t(colour.g) << layout.channels.green |
                             std::uint32_t(colour.b) << layout.channels.blue;
  for (int i = 0; i < 4; ++i) {
    const int shift = layout.msbFirst ? 8 * (3 - i) : 8 * i;
    at[i] = std::uint8_t(word >> shift);
  }
}

Rgba colourAt(int x, int y) {
  return {std::uint8_t(x * 7 + y), std::uint8_t(255 - x), std::uint8_t(y * 13), 255};
}

// Widths below, at and past the converter's block of 16 pixels, with a padded
// stride, in every byte order and channel layout a 24-bit visual has.
TEST(ZPixmapToRgba, EveryPixelInEveryLayoutAndWidth) {
  const Layout layouts[] = {
      {"BGRX little-endian", {16, 8, 0}, false},
      {"BGRX big-endian", {16, 8, 0}, true},
      {"RGBX little-endian", {0, 8, 16}, false},
      {"XRGB shifted", {24, 16, 8}, false},
  };
  for (const auto& layout : layouts) {
    for (const int width : {1, 15, 16, 17, 33, 100}) {
      constexpr int height = 3;
      const std::size_t stride = std::size_t(width) * 4 + 8;
      std::vector<std::uint8_t> data(stride * height, 0xAB);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) put(data.data() + y * stride + x * 4, layout, colourAt(x, y));

      const Image image = zPixmapToRgba(data.data(), stride, width, height, layout.channels, layout.msbFirst);
      ASSERT_EQ(image.width(), width) << layout.name;
      ASSERT_EQ(image.height(), height) << layout.name;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          ASSERT_EQ(image.pixel(x, y), colourAt(x, y))
              << layout.name << " width " << width << " at " << x << "," << y;
    }
  }
}

TEST(ZPixmapToRgba, NoPixelsGiveTheEmptyImage) {
  const std::uint8_t none[4] = {};
  EXPECT_TRUE(zPixmapToRgba(none, 4, 0, 5, {}, false).isEmpty());
  EXPECT_TRUE(zPixmapToRgba(none, 4, 1, 0, {}, false).isEmpty());
}

}  // namespace
}  // namespace kesta
