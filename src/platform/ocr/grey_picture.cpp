#include "platform/ocr/grey_picture.h"

#include <algorithm>
#include <array>

namespace kesta {

namespace {

std::uint8_t lightness(const std::uint8_t* p) { return std::max({p[0], p[1], p[2]}); }

// Spreads the levels so that the commonest one (the background) becomes
// white and the darkest black: the recogniser reads dark gray on light gray
// markedly worse than black on white.
void stretchLevels(std::vector<std::uint8_t>& grey, const std::array<int, 256>& histogram) {
  const int background = int(std::max_element(histogram.begin(), histogram.end()) - histogram.begin());
  int darkest = 0;
  while (darkest < background && histogram[std::size_t(darkest)] == 0) ++darkest;
  if (darkest >= background) return;
  std::array<std::uint8_t, 256> level{};
  for (int v = 0; v < 256; ++v)
    level[std::size_t(v)] = std::uint8_t(std::clamp((v - darkest) * 255 / (background - darkest), 0, 255));
  for (std::uint8_t& v : grey) v = level[v];
}

// Doubles a line of `n` samples spaced `step` apart with bilinear weights
// (each sample sits between its neighbours at 1/4 and 3/4).
template <class In, class Out>
void doubleLine(const In* in, std::size_t inStep, int n, Out* out, std::size_t outStep) {
  for (int i = 0; i < n; ++i) {
    const unsigned here = in[std::size_t(i) * inStep];
    const unsigned before = in[std::size_t(std::max(i - 1, 0)) * inStep];
    const unsigned after = in[std::size_t(std::min(i + 1, n - 1)) * inStep];
    out[std::size_t(2 * i) * outStep] = Out((3 * here + before + 2) / 4);
    out[std::size_t(2 * i + 1) * outStep] = Out((3 * here + after + 2) / 4);
  }
}

}  // namespace

GreyPicture invertedGrey(const Image& image, int scale) {
  const int w = image.width();
  const int h = image.height();
  GreyPicture out;
  std::vector<std::uint8_t> grey(std::size_t(w) * std::size_t(h));
  std::array<int, 256> histogram{};
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = image.row(y);
    std::uint8_t* g = grey.data() + std::size_t(y) * std::size_t(w);
    for (int x = 0; x < w; ++x, p += 4) {
      g[x] = std::uint8_t(255 - lightness(p));
      ++histogram[g[x]];
    }
  }
  stretchLevels(grey, histogram);
  if (scale != 2) {
    out.width = w;
    out.height = h;
    out.pixels = std::move(grey);
    return out;
  }
  out.width = 2 * w;
  out.height = 2 * h;
  std::vector<std::uint8_t> wide(std::size_t(out.width) * std::size_t(h));
  for (int y = 0; y < h; ++y) {
    doubleLine(grey.data() + std::size_t(y) * std::size_t(w), 1, w,
               wide.data() + std::size_t(y) * std::size_t(out.width), 1);
  }
  out.pixels.resize(std::size_t(out.width) * std::size_t(out.height));
  for (int x = 0; x < out.width; ++x) {
    doubleLine(wide.data() + x, std::size_t(out.width), h, out.pixels.data() + x, std::size_t(out.width));
  }
  return out;
}

}  // namespace kesta
