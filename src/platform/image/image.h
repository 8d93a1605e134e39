#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/image/geometry.h"

namespace kesta {

// One 8-bit RGBA pixel. Window images are opaque: alpha is 255.
struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 255;

  friend bool operator==(const Rgba&, const Rgba&) = default;
};

// A still picture as a value: 8-bit RGBA, rows top to bottom, `stride` bytes
// from one row to the next. Copies copy the pixels.
class Image {
 public:
  // The empty image (0 × 0).
  Image() = default;

  // A width × height picture filled with one colour. Throws
  // std::invalid_argument for a negative size.
  Image(int width, int height, Rgba fill = {});

  // Adopts `bytes` as rows of RGBA pixels `stride` bytes apart. Throws
  // std::invalid_argument when the stride or the bytes are too short.
  Image(int width, int height, std::size_t stride, std::vector<std::uint8_t> bytes);

  int width() const { return width_; }
  int height() const { return height_; }
  std::size_t stride() const { return stride_; }
  Size size() const { return {double(width_), double(height_)}; }
  bool isEmpty() const { return width_ == 0 || height_ == 0; }

  // The bytes of row y (0 ≤ y < height), four per pixel.
  const std::uint8_t* row(int y) const { return bytes_.data() + std::size_t(y) * stride_; }
  std::uint8_t* row(int y) { return bytes_.data() + std::size_t(y) * stride_; }

  // The pixel at column x, row y; both must lie inside the image.
  Rgba pixel(int x, int y) const;

  // The part of the image inside `pixels`, widened to whole pixels and clipped
  // to the image; absent when nothing of it lies inside.
  std::optional<Image> cropped(const Rect& pixels) const;

  // Paints the part of `pixels` (widened to whole pixels) that lies inside the image.
  void fill(const Rect& pixels, Rgba colour);

  // Copies `source` unscaled with its top-left corner at (x, y); what falls
  // outside this image is left out.
  void draw(const Image& source, int x, int y);

  // The image scaled to width × height by averaging over area, as greyGrid
  // does, channel by channel. Empty for an empty image or a size that is not
  // positive.
  Image scaled(int width, int height) const;

  // The image scaled into a columns × rows grid of grey levels (0 black, 255
  // white) by averaging over area: each cell is the mean of the pixels it covers,
  // weighted by how much of each it covers. Row-major, `columns` bytes per row.
  // Empty for an empty image or a grid without cells.
  std::vector<std::uint8_t> greyGrid(int columns, int rows) const;

  // Same size and same pixels (row padding is not compared).
  friend bool operator==(const Image& a, const Image& b);

 private:
  int width_ = 0;
  int height_ = 0;
  std::size_t stride_ = 0;
  std::vector<std::uint8_t> bytes_;
};

// The grey level of a pixel by luminance (Rec. 601 weights).
inline std::uint8_t greyLevel(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return std::uint8_t((77u * r + 150u * g + 29u * b + 128u) >> 8);
}

}  // namespace kesta
