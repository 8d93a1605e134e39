#include "platform/image/image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace kesta {

namespace {

// The whole-pixel rectangle `pixels` clipped to a width × height image, as
// left, top, right and bottom edges; absent when nothing is left.
struct Span {
  int left, top, right, bottom;
};

std::optional<Span> clippedSpan(const Rect& pixels, int width, int height) {
  const Rect inside = pixels.integral().intersection(Rect{0, 0, double(width), double(height)});
  if (inside.isEmpty()) return std::nullopt;
  return Span{int(inside.minX()), int(inside.minY()), int(inside.maxX()), int(inside.maxY())};
}

// For each cell of an axis of `cells` cells over `length` source pixels, the
// source pixels it covers and how much of each (weights of one cell sum to the
// cell's length in source pixels).
struct Coverage {
  int first;
  std::vector<float> weights;
};

std::vector<Coverage> coverage(int length, int cells) {
  std::vector<Coverage> out(static_cast<std::size_t>(cells));
  const double scale = double(length) / cells;
  for (int c = 0; c < cells; ++c) {
    const double from = c * scale;
    const double to = (c + 1) * scale;
    const int first = int(std::floor(from));
    const int last = std::min(length - 1, int(std::ceil(to)) - 1);
    out[std::size_t(c)].first = first;
    for (int p = first; p <= last; ++p) {
      const double overlap = std::min(to, double(p + 1)) - std::max(from, double(p));
      out[std::size_t(c)].weights.push_back(float(std::max(0.0, overlap)));
    }
  }
  return out;
}

}  // namespace

Image::Image(int width, int height, Rgba fill) {
  if (width < 0 || height < 0) throw std::invalid_argument("image size must not be negative");
  width_ = width;
  height_ = height;
  stride_ = std::size_t(width) * 4;
  bytes_.resize(stride_ * std::size_t(height));
  for (std::size_t i = 0; i < bytes_.size(); i += 4) {
    bytes_[i] = fill.r;
    bytes_[i + 1] = fill.g;
    bytes_[i + 2] = fill.b;
    bytes_[i + 3] = fill.a;
  }
}

Image::Image(int width, int height, std::size_t stride, std::vector<std::uint8_t> bytes) {
  if (width < 0 || height < 0) throw std::invalid_argument("image size must not be negative");
  if (stride < std::size_t(width) * 4) throw std::invalid_argument("image stride is shorter than a row");
  if (height > 0 && bytes.size() < stride * std::size_t(height - 1) + std::size_t(width) * 4) {
    throw std::invalid_argument("image bytes are fewer than its rows need");
  }
  width_ = width;
  height_ = height;
  stride_ = stride;
  bytes_ = std::move(bytes);
}

Rgba Image::pixel(int x, int y) const {
  const std::uint8_t* p = row(y) + std::size_t(x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

std::optional<Image> Image::cropped(const Rect& pixels) const {
  const auto span = clippedSpan(pixels, width_, height_);
  if (!span) return std::nullopt;
  const int w = span->right - span->left;
  const int h = span->bottom - span->top;
  std::vector<std::uint8_t> out(std::size_t(w) * 4 * std::size_t(h));
  for (int y = 0; y < h; ++y) {
    std::memcpy(out.data() + std::size_t(y) * std::size_t(w) * 4,
                row(span->top + y) + std::size_t(span->left) * 4, std::size_t(w) * 4);
  }
  return Image(w, h, std::size_t(w) * 4, std::move(out));
}

void Image::fill(const Rect& pixels, Rgba colour) {
  const auto span = clippedSpan(pixels, width_, height_);
  if (!span) return;
  for (int y = span->top; y < span->bottom; ++y) {
    std::uint8_t* p = row(y) + std::size_t(span->left) * 4;
    for (int x = span->left; x < span->right; ++x, p += 4) {
      p[0] = colour.r;
      p[1] = colour.g;
      p[2] = colour.b;
      p[3] = colour.a;
    }
  }
}

void Image::draw(const Image& source, int x, int y) {
  const auto span =
      clippedSpan(Rect{double(x), double(y), double(source.width_), double(source.height_)}, width_, height_);
  if (!span) return;
  const std::size_t bytes = std::size_t(span->right - span->left) * 4;
  for (int ty = span->top; ty < span->bottom; ++ty) {
    std::memcpy(row(ty) + std::size_t(span->left) * 4, source.row(ty - y) + std::size_t(span->left - x) * 4,
                bytes);
  }
}

namespace {

// Averages `channels` values per pixel of an image over the cells of a
// columns × rows grid; `sample(row, x, values)` gives one source pixel's
// values. Separable: rows are reduced to `columns` sums first, then those
// sums are reduced down the columns. Returns the means, row-major.
template <int channels, class Sample>
std::vector<std::uint8_t> areaAverage(const Image& image, int columns, int rows, Sample sample) {
  const int width = image.width();
  const int height = image.height();
  const auto across = coverage(width, columns);
  const auto down = coverage(height, rows);
  const std::size_t rowLength = std::size_t(columns) * channels;

  std::vector<float> rowSums(std::size_t(height) * rowLength);
  std::vector<float> values(std::size_t(width) * channels);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* p = image.row(y);
    for (int x = 0; x < width; ++x) sample(p + std::size_t(x) * 4, values.data() + std::size_t(x) * channels);
    float* sums = rowSums.data() + std::size_t(y) * rowLength;
    for (int c = 0; c < columns; ++c) {
      const Coverage& cell = across[std::size_t(c)];
      for (int k = 0; k < channels; ++k) {
        float sum = 0;
        for (std::size_t i = 0; i < cell.weights.size(); ++i) {
          sum += cell.weights[i] * values[(std::size_t(cell.first) + i) * channels + std::size_t(k)];
        }
        sums[std::size_t(c) * channels + std::size_t(k)] = sum;
      }
    }
  }

  const float area = float((double(width) / columns) * (double(height) / rows));
  std::vector<std::uint8_t> out(std::size_t(rows) * rowLength);
  for (int r = 0; r < rows; ++r) {
    const Coverage& cell = down[std::size_t(r)];
    for (std::size_t j = 0; j < rowLength; ++j) {
      float sum = 0;
      for (std::size_t i = 0; i < cell.weights.size(); ++i) {
        sum += cell.weights[i] * rowSums[(std::size_t(cell.first) + i) * rowLength + j];
      }
      out[std::size_t(r) * rowLength + j] = std::uint8_t(std::clamp(std::lround(sum / area), 0L, 255L));
    }
  }
  return out;
}

}  // namespace

Image Image::scaled(int width, int height) const {
  if (isEmpty() || width <= 0 || height <= 0) return {};
  auto bytes = areaAverage<4>(*this, width, height, [](const std::uint8_t* p, float* v) {
    for (int k = 0; k < 4; ++k) v[k] = p[k];
  });
  return Image(width, height, std::size_t(width) * 4, std::move(bytes));
}

std::vector<std::uint8_t> Image::greyGrid(int columns, int rows) const {
  if (isEmpty() || columns <= 0 || rows <= 0) return {};
  return areaAverage<1>(*this, columns, rows,
                        [](const std::uint8_t* p, float* v) { v[0] = greyLevel(p[0], p[1], p[2]); });
}

bool operator==(const Image& a, const Image& b) {
  if (a.width_ != b.width_ || a.height_ != b.height_) return false;
  for (int y = 0; y < a.height_; ++y) {
    if (std::memcmp(a.row(y), b.row(y), std::size_t(a.width_) * 4) != 0) return false;
  }
  return true;
}

}  // namespace kesta
