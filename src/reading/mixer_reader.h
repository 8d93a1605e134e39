#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/image/geometry.h"
#include "platform/image/image.h"
#include "platform/ocr/text_recognizer.h"
#include "reading/mixer_reading.h"
#include "reading/recognized_line.h"

namespace kesta {

// Reads how far the faders of mixer channels 1 and 2 are open and whether
// their EQ knobs sit at neutral. The mixer is found by recognising its printed
// knob labels; after that each scan only samples pixels. It is found again on
// a size change, after repeated failures and every 30 s.
//
// One owner (the live engine's serialised context); no lock.
class MixerReader {
 public:
  // One channel's places, in window fractions (origin top left).
  struct Channel {
    double faderX = 0;
    double faderTop = 0;         // fully open end
    double faderBottom = 0;      // closed end
    std::vector<Point> knobs;    // HIGH, MID, LOW
    double knobRadius = 0;       // fraction of the window height
    double handleHalfWidth = 0;  // fraction of the window height

    friend bool operator==(const Channel&, const Channel&) = default;
  };

  struct Geometry {
    std::vector<Channel> channels;  // channel 1 (left), channel 2 (right)

    friend bool operator==(const Geometry&, const Geometry&) = default;
  };

  using Readings = std::vector<std::optional<MixerReading>>;

  // The strip of the window where channels 1 and 2 are looked for.
  static constexpr Rect searchRegion{0.45, 0.1, 0.1, 0.48};
  static const std::set<std::string, std::less<>>& labelWords();

  explicit MixerReader(std::shared_ptr<TextRecognizer> recognizer);

  void reset();

  // One reading per channel, channel 1 first; two absent ones while no mixer is known.
  Readings read(const Image& image, double now);

  std::optional<Geometry> locate(const Image& image) const;
  static std::optional<Geometry> geometry(const std::vector<RecognizedLine>& lines, double aspect);
  static Readings measure(const Image& image, const Geometry& geometry);

  const std::optional<Geometry>& currentGeometry() const { return geometry_; }

 private:
  std::shared_ptr<TextRecognizer> recognizer_;
  std::optional<Geometry> geometry_;
  double lastLocate_;
  std::optional<Size> lastSize_;
  int failures_ = 0;
};

}  // namespace kesta
