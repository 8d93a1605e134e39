#include "platform/image/image.h"

#include <gtest/gtest.h>

namespace kesta {
namespace {

// An image whose every pixel tells where it is: red = x, green = y.
Image coordinates(int width, int height) {
  Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      image.fill(Rect{double(x), double(y), 1, 1}, Rgba{std::uint8_t(x), std::uint8_t(y), 0, 255});
  }
  return image;
}

TEST(Rect, WidensToWholeEdgesAndScalesFractions) {
  struct Case {
    Rect in;
    Rect integral;
  };
  const Case cases[] = {
      {{1.5, 2.2, 3.1, 1.1}, {1, 2, 4, 2}},
      {{2, 3, 4, 5}, {2, 3, 4, 5}},
      {{-0.5, -1.5, 1, 1}, {-1, -2, 2, 2}},
      {{0.1, 0.1, 0, 0}, {0, 0, 1, 1}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.in.integral(), c.integral) << c.in.x << "," << c.in.y;

  // Deck 1's default area in a 1600 × 1000 window.
  EXPECT_EQ((Rect{0.015, 0.12, 0.475, 0.26}.scaledTo({1600, 1000})), (Rect{24, 120, 760, 260}));
  // A region of a 3200 × 2000 window, edges landing between pixels.
  EXPECT_EQ((Rect{0.0001, 0.4, 1, 0.6}.scaledTo({3200, 2000})), (Rect{0, 800, 3201, 1200}));
}

TEST(Rect, IntersectionIsEmptyWhenApart) {
  const Rect a{0, 0, 10, 10};
  EXPECT_EQ(a.intersection({5, 5, 10, 10}), (Rect{5, 5, 5, 5}));
  EXPECT_TRUE(a.intersection({10, 0, 5, 5}).isEmpty());
  EXPECT_TRUE(a.intersection({20, 20, 5, 5}).isEmpty());
}

TEST(Image, RefusesImpossibleSizes) {
  EXPECT_THROW(Image(-1, 3), std::invalid_argument);
  EXPECT_THROW(Image(4, 2, 15, std::vector<std::uint8_t>(32)), std::invalid_argument);  // stride below a row
  EXPECT_THROW(Image(4, 2, 16, std::vector<std::uint8_t>(31)), std::invalid_argument);  // bytes short
  EXPECT_NO_THROW(Image(4, 2, 20, std::vector<std::uint8_t>(36)));  // last row needs no padding
  EXPECT_TRUE(Image().isEmpty());
}

TEST(Image, KeepsRowsApartByTheirStride) {
  std::vector<std::uint8_t> bytes(2 * 12, 0);
  bytes[12] = 200;  // row 1, pixel 0, red
  const Image image(2, 2, 12, bytes);
  EXPECT_EQ(image.pixel(0, 1).r, 200);
  const Image copy = *image.cropped({0, 0, 2, 2});
  EXPECT_EQ(copy.stride(), 8u);
  EXPECT_EQ(copy, image);  // padding is not compared
}

TEST(Image, CropsToWholePixelsInsideTheImage) {
  const Image image = coordinates(10, 8);
  struct Case {
    Rect asked;
    std::optional<Rect> got;  // as x, y, width, height of the result
  };
  const Case cases[] = {
      {{2, 3, 4, 2}, Rect{2, 3, 4, 2}},   {{2.5, 3.5, 1, 1}, Rect{2, 3, 2, 2}},  // widened
      {{-3, -2, 5, 4}, Rect{0, 0, 2, 2}},                                        // clipped at the top left
      {{8, 6, 10, 10}, Rect{8, 6, 2, 2}},                                // clipped at the bottom right
      {{10, 0, 3, 3}, std::nullopt},                                     // just outside
      {{-5, -5, 2, 2}, std::nullopt},     {{3, 3, 0, 0}, std::nullopt},  // nothing asked for
  };
  for (const auto& c : cases) {
    const auto crop = image.cropped(c.asked);
    ASSERT_EQ(crop.has_value(), c.got.has_value()) << c.asked.x << "," << c.asked.y;
    if (!crop) continue;
    EXPECT_EQ(crop->width(), c.got->width);
    EXPECT_EQ(crop->height(), c.got->height);
    EXPECT_EQ(crop->pixel(0, 0), (Rgba{std::uint8_t(c.got->x), std::uint8_t(c.got->y), 0, 255}));
  }
}

TEST(Image, DrawsAndFillsOnlyWhatLiesInside) {
  Image canvas(6, 4, Rgba{9, 9, 9, 255});
  canvas.draw(coordinates(3, 3), 4, -1);  // hangs over the right and top edges
  EXPECT_EQ(canvas.pixel(4, 0), (Rgba{0, 1, 0, 255}));
  EXPECT_EQ(canvas.pixel(5, 1), (Rgba{1, 2, 0, 255}));
  EXPECT_EQ(canvas.pixel(3, 0), (Rgba{9, 9, 9, 255}));
  EXPECT_EQ(canvas.pixel(4, 2), (Rgba{9, 9, 9, 255}));

  canvas.fill({-2, 2.5, 3.5, 10}, Rgba{1, 2, 3, 255});  // widened to rows 2 and 3, columns 0 and 1
  EXPECT_EQ(canvas.pixel(0, 2), (Rgba{1, 2, 3, 255}));
  EXPECT_EQ(canvas.pixel(1, 3), (Rgba{1, 2, 3, 255}));
  EXPECT_EQ(canvas.pixel(2, 3), (Rgba{9, 9, 9, 255}));
  EXPECT_EQ(canvas.pixel(0, 1), (Rgba{9, 9, 9, 255}));
}

TEST(Image, GreyGridAveragesByCoveredArea) {
  // Three columns black, white, black into two cells: each cell covers one and
  // a half pixels, half of them the white one.
  Image stripes(3, 1);
  stripes.fill({1, 0, 1, 1}, Rgba{255, 255, 255, 255});
  EXPECT_EQ(stripes.greyGrid(2, 1), (std::vector<std::uint8_t>{85, 85}));
  EXPECT_EQ(stripes.greyGrid(3, 1), (std::vector<std::uint8_t>{0, 255, 0}));
  EXPECT_EQ(stripes.greyGrid(1, 1), (std::vector<std::uint8_t>{85}));

  // Fewer pixels than cells: each cell takes the pixel it lies in.
  EXPECT_EQ(stripes.greyGrid(6, 2), (std::vector<std::uint8_t>{0, 0, 255, 255, 0, 0, 0, 0, 255, 255, 0, 0}));

  // Grey by luminance: green weighs most, blue least.
  const Image pure(1, 1, Rgba{0, 255, 0, 255});
  const Image blue(1, 1, Rgba{0, 0, 255, 255});
  EXPECT_EQ(pure.greyGrid(1, 1)[0], 149);
  EXPECT_EQ(blue.greyGrid(1, 1)[0], 29);

  EXPECT_TRUE(Image().greyGrid(128, 16).empty());
  EXPECT_TRUE(stripes.greyGrid(0, 16).empty());
  EXPECT_EQ(Image(700, 90).greyGrid(128, 16).size(), 2048u);
}

TEST(Image, ScalesChannelByChannel) {
  Image image(4, 2, Rgba{0, 0, 0, 255});
  image.fill({0, 0, 2, 2}, Rgba{200, 100, 0, 255});
  const Image half = image.scaled(2, 1);
  EXPECT_EQ(half.pixel(0, 0), (Rgba{200, 100, 0, 255}));
  EXPECT_EQ(half.pixel(1, 0), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(image.scaled(1, 1).pixel(0, 0), (Rgba{100, 50, 0, 255}));
  EXPECT_TRUE(image.scaled(0, 3).isEmpty());
}

}  // namespace
}  // namespace kesta
