#include "reading/mixer_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/text/unicode_text.h"
#include "reading/text_recognition.h"

namespace kesta {
namespace {

constexpr double kNever = -std::numeric_limits<double>::infinity();

using LabelBoxes = std::map<std::string, std::vector<Rect>, std::less<>>;

std::string upperCased(std::string_view text) {
  std::string out;
  for (const char32_t c : unicode::toScalars(text))
    unicode::appendScalar(out, (c >= U'a' && c <= U'z') ? c - U'a' + U'A' : c);
  return out;
}

// Each label's box estimated from its line's box by its share of the characters.
LabelBoxes labelBoxes(const std::vector<RecognizedLine>& lines) {
  LabelBoxes boxes;
  for (const auto& line : lines) {
    const std::string upper = upperCased(line.text);
    const double n = double(std::max<std::size_t>(unicode::graphemeCount(upper), 1));
    std::size_t offset = 0;
    std::size_t start = 0;
    while (start <= upper.size()) {
      const std::size_t end = std::min(upper.find(' ', start), upper.size());
      const std::string_view word = std::string_view(upper).substr(start, end - start);
      start = end + 1;
      if (word.empty()) continue;
      const std::size_t length = unicode::graphemeCount(word);
      if (MixerReader::labelWords().contains(word)) {
        boxes[std::string(word)].push_back(Rect{line.box.x + line.box.width * double(offset) / n, line.box.y,
                                                line.box.width * double(length) / n, line.box.height});
      }
      offset += length + 1;
    }
  }
  return boxes;
}

struct Pair {
  Rect left;
  Rect right;
};

std::optional<Pair> pairOf(const LabelBoxes& boxes, std::string_view word, const Rect& leftHigh,
                           const Rect& rightHigh) {
  const auto it = boxes.find(word);
  if (it == boxes.end() || it->second.size() < 2) return std::nullopt;
  const double tolerance = std::abs(rightHigh.midX() - leftHigh.midX()) * 0.3;
  auto nearest = [&](double x) -> std::optional<std::size_t> {
    std::optional<std::size_t> best;
    double bestDistance = 0;
    for (std::size_t i = 0; i < it->second.size(); ++i) {
      const double distance = std::abs(it->second[i].midX() - x);
      if (distance > tolerance) continue;
      if (!best || distance < bestDistance) {
        best = i;
        bestDistance = distance;
      }
    }
    return best;
  };
  const auto left = nearest(leftHigh.midX());
  const auto right = nearest(rightHigh.midX());
  if (!left || !right || *left == *right) return std::nullopt;
  return Pair{it->second[*left], it->second[*right]};
}

struct SideLabels {
  Rect high, mid, low, cue;
  std::optional<Rect> stem;
};

std::optional<MixerReader::Channel> channelFrom(const SideLabels& labels, double aspect) {
  const double step = (labels.low.midY() - labels.high.midY()) * 0.5;
  const double span = labels.stem ? labels.stem->midY() - labels.cue.midY() : step * 2.39;
  if (step <= 0 || span <= step) return std::nullopt;
  if (!(labels.high.midY() < labels.mid.midY() && labels.mid.midY() < labels.low.midY() &&
        labels.low.midY() < labels.cue.midY()))
    return std::nullopt;
  std::array<double, 4> xs{labels.high.midX(), labels.mid.midX(), labels.low.midX(), labels.cue.midX()};
  std::sort(xs.begin(), xs.end());
  if (!(xs[3] - xs[0] < (span * 0.5) / aspect)) return std::nullopt;

  MixerReader::Channel channel;
  for (const Rect* label : {&labels.high, &labels.mid, &labels.low})
    channel.knobs.push_back(Point{label->midX(), label->midY() - step * 0.44});
  channel.faderX = (xs[1] + xs[2]) * 0.5;
  channel.faderTop = labels.cue.midY() + span * 0.207;
  channel.faderBottom = labels.cue.midY() + span * 0.815;
  channel.knobRadius = step * 0.3;
  channel.handleHalfWidth = span * 0.14;
  return channel;
}

Rect searchPixels(const Image& image) { return MixerReader::searchRegion.scaledTo(image.size()); }

// Pixels of the search strip, read at whole-window coordinates clamped into it.
class StripSampler {
 public:
  StripSampler(const Image& strip, int originX, int originY) : strip_(strip), x0_(originX), y0_(originY) {}

  Rgba at(int x, int y) const {
    const int column = std::clamp(x - x0_, 0, strip_.width() - 1);
    const int row = std::clamp(y - y0_, 0, strip_.height() - 1);
    return strip_.pixel(column, row);
  }

 private:
  const Image& strip_;
  int x0_;
  int y0_;
};

std::optional<MixerReading> measureChannel(const StripSampler& sampler, const MixerReader::Channel& channel,
                                           double width, double height) {
  const int fx = int(std::trunc(channel.faderX * width));
  const double top = channel.faderTop * height;
  const double bottom = channel.faderBottom * height;
  const double travel = bottom - top;
  const int half = std::max(int(std::trunc(channel.handleHalfWidth * height)), 3);
  const int stripWidth = 2 * half + 1;

  std::vector<int> handleRows;
  const int firstRow = int(std::trunc(top - travel * 0.08));
  const int lastRow = int(std::trunc(bottom + travel * 0.08));
  for (int y = firstRow; y <= lastRow; ++y) {
    int bright = 0;
    for (int x = fx - half; x <= fx + half; ++x) {
      const Rgba p = sampler.at(x, y);
      if (int(p.r) + int(p.g) + int(p.b) >= 243) ++bright;
    }
    if (double(bright) >= 0.6 * double(stripWidth)) handleRows.push_back(y);
  }
  if (handleRows.empty()) return std::nullopt;
  if (handleRows.back() - handleRows.front() > int(std::trunc(std::max(travel * 0.2, 6.0))))
    return std::nullopt;

  const double middle = double(handleRows[handleRows.size() / 2]);
  double fader = (bottom - middle) / travel;
  if (!(fader >= 0)) fader = 0;
  if (fader > 1) fader = 1;

  const int r = std::max(int(std::trunc(channel.knobRadius * height)), 3);
  const double limit = 0.04 * double((2 * r + 1) * (2 * r + 1));
  bool neutral = true;
  for (const Point& knob : channel.knobs) {
    const int kx = int(std::trunc(knob.x * width));
    const int ky = int(std::trunc(knob.y * height));
    int blue = 0;
    for (int y = ky - r; y <= ky + r; ++y) {
      for (int x = kx - r; x <= kx + r; ++x) {
        const Rgba p = sampler.at(x, y);
        if (p.b >= 151 && p.b > p.r + 70 && p.b > p.g + 20) ++blue;
      }
    }
    if (double(blue) > limit) {
      neutral = false;
      break;
    }
  }
  return MixerReading{fader, neutral};
}

}  // namespace

const std::set<std::string, std::less<>>& MixerReader::labelWords() {
  static const std::set<std::string, std::less<>> words = {"HIGH", "MID", "LOW", "CUE", "STEM", "TRIM"};
  return words;
}

MixerReader::MixerReader(std::shared_ptr<TextRecognizer> recognizer)
    : recognizer_(std::move(recognizer)), lastLocate_(kNever) {}

void MixerReader::reset() {
  geometry_.reset();
  lastSize_.reset();
  lastLocate_ = kNever;
  failures_ = 0;
}

MixerReader::Readings MixerReader::read(const Image& image, double now) {
  if (!lastSize_ || *lastSize_ != image.size()) {
    geometry_.reset();
    lastSize_ = image.size();
  }
  const double elapsed = now - lastLocate_;
  if ((elapsed >= 5.0 && !geometry_) || elapsed >= 30.0 || (elapsed >= 5.0 && failures_ >= 3)) {
    lastLocate_ = now;
    failures_ = 0;
    geometry_ = locate(image);
  }
  if (!geometry_) return Readings(2);

  Readings readings = measure(image, *geometry_);
  const bool failing = std::any_of(readings.begin(), readings.end(), [](const auto& r) { return !r; });
  failures_ = failing ? failures_ + 1 : 0;
  return readings;
}

std::optional<MixerReader::Geometry> MixerReader::locate(const Image& image) const {
  if (image.isEmpty()) return std::nullopt;
  const auto strip = image.cropped(searchPixels(image));
  if (!strip) return std::nullopt;
  auto lines = TextRecognition::recognize(*recognizer_, *strip, 0.008f, RecognitionLevel::accurate,
                                          RecognitionLanguages::english);
  for (auto& line : lines) {
    line.box = Rect{searchRegion.x + line.box.x * searchRegion.width,
                    searchRegion.y + line.box.y * searchRegion.height, line.box.width * searchRegion.width,
                    line.box.height * searchRegion.height};
  }
  return geometry(lines, double(image.width()) / double(image.height()));
}

std::optional<MixerReader::Geometry> MixerReader::geometry(const std::vector<RecognizedLine>& lines,
                                                           double aspect) {
  const LabelBoxes boxes = labelBoxes(lines);
  const auto highs = boxes.find("HIGH");
  if (highs == boxes.end() || highs->second.size() != 2) return std::nullopt;
  std::vector<Rect> high = highs->second;
  std::stable_sort(high.begin(), high.end(),
                   [](const Rect& a, const Rect& b) { return a.midX() < b.midX(); });

  const auto mid = pairOf(boxes, "MID", high[0], high[1]);
  const auto low = pairOf(boxes, "LOW", high[0], high[1]);
  const auto cue = pairOf(boxes, "CUE", high[0], high[1]);
  if (!mid || !low || !cue) return std::nullopt;
  const auto stem = pairOf(boxes, "STEM", high[0], high[1]);

  const auto left = channelFrom(
      {high[0], mid->left, low->left, cue->left, stem ? std::optional(stem->left) : std::nullopt}, aspect);
  const auto right = channelFrom(
      {high[1], mid->right, low->right, cue->right, stem ? std::optional(stem->right) : std::nullopt},
      aspect);
  if (!left || !right || !(left->faderX < right->faderX)) return std::nullopt;
  return Geometry{{*left, *right}};
}

MixerReader::Readings MixerReader::measure(const Image& image, const Geometry& geometry) {
  const Rect pixels = searchPixels(image);
  const auto strip = image.cropped(pixels);
  if (!strip || strip->width() <= 0 || strip->height() <= 0) return Readings(2);
  // The crop is clipped to the image, so its origin is the clipped rectangle's.
  const Rect clipped = pixels.intersection(Rect{0, 0, double(image.width()), double(image.height())});
  const StripSampler sampler(*strip, int(clipped.x), int(clipped.y));
  Readings readings;
  for (const auto& channel : geometry.channels)
    readings.push_back(measureChannel(sampler, channel, double(image.width()), double(image.height())));
  return readings;
}

}  // namespace kesta
