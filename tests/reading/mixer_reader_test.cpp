#include "reading/mixer_reader.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/fakes/fake_text_recognizer.h"

namespace kesta {
namespace {

constexpr double kAspect = 1.6;
constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

// Label lines of both channels in window fractions: HIGH, MID, LOW, CUE
// stacked 0.05 apart, channel 1 at x 0.47 and channel 2 at 0.53.
std::vector<RecognizedLine> labelLines(bool withStem) {
  std::vector<RecognizedLine> lines;
  const std::vector<std::pair<std::string, double>> rows = {
      {"HIGH", 0.15}, {"mid", 0.20}, {"LOW", 0.25}, {"CUE", 0.30}};
  for (const double x : {0.47, 0.53})
    for (const auto& [word, y] : rows) lines.push_back({word, Rect{x - 0.01, y, 0.02, 0.01}});
  if (withStem)
    for (const double x : {0.47, 0.53}) lines.push_back({"STEM", Rect{x - 0.01, 0.45, 0.02, 0.01}});
  return lines;
}

TEST(MixerGeometry, ChannelsComeFromTheLabelPositions) {
  const auto geometry = MixerReader::geometry(labelLines(false), kAspect);
  ASSERT_TRUE(geometry);
  ASSERT_EQ(geometry->channels.size(), 2u);
  const auto& left = geometry->channels[0];
  EXPECT_NEAR(left.faderX, 0.47, 1e-9);
  const double step = 0.05;
  const double span = step * 2.39;  // no STEM: 2.39 knob steps below CUE
  EXPECT_NEAR(left.faderTop, 0.305 + span * 0.207, 1e-9);
  EXPECT_NEAR(left.faderBottom, 0.305 + span * 0.815, 1e-9);
  EXPECT_NEAR(left.knobRadius, step * 0.3, 1e-9);
  EXPECT_NEAR(left.handleHalfWidth, span * 0.14, 1e-9);
  ASSERT_EQ(left.knobs.size(), 3u);
  EXPECT_NEAR(left.knobs[1].y, 0.205 - step * 0.44, 1e-9);
  EXPECT_NEAR(geometry->channels[1].faderX, 0.53, 1e-9);

  const auto stemmed = MixerReader::geometry(labelLines(true), kAspect);
  ASSERT_TRUE(stemmed);
  EXPECT_NEAR(stemmed->channels[0].faderBottom, 0.305 + 0.15 * 0.815, 1e-9);  // CUE down to STEM
}

TEST(MixerGeometry, WordsInOneLineShareItsBoxByCharacters) {
  auto lines = labelLines(false);
  lines.erase(lines.begin());      // channel 1's HIGH
  lines.erase(lines.begin() + 3);  // channel 2's HIGH
  lines.push_back({"high high", Rect{0.46, 0.15, 0.09, 0.01}});
  const auto geometry = MixerReader::geometry(lines, kAspect);
  ASSERT_TRUE(geometry);
  // HIGH boxes: 4/9 of the line from 0.46, and from 5/9 in.
  EXPECT_NEAR(geometry->channels[0].knobs[0].x, 0.46 + 0.09 * 2 / 9, 1e-9);
  EXPECT_NEAR(geometry->channels[1].knobs[0].x, 0.46 + 0.09 * 7 / 9, 1e-9);
}

TEST(MixerGeometry, RefusesLabelsThatDoNotFormTwoChannels) {
  auto thirdHigh = labelLines(false);
  thirdHigh.push_back({"HIGH", Rect{0.50, 0.5, 0.02, 0.01}});
  EXPECT_FALSE(MixerReader::geometry(thirdHigh, kAspect));

  auto noCue = labelLines(false);
  std::erase_if(noCue, [](const RecognizedLine& l) { return l.text == "CUE"; });
  EXPECT_FALSE(MixerReader::geometry(noCue, kAspect));

  // One MID in the middle is the nearest to both HIGH labels.
  auto sharedMid = labelLines(false);
  std::erase_if(sharedMid, [](const RecognizedLine& l) { return l.text == "mid"; });
  sharedMid.push_back({"MID", Rect{0.49, 0.20, 0.02, 0.01}});
  sharedMid.push_back({"MID", Rect{0.80, 0.20, 0.02, 0.01}});
  EXPECT_FALSE(MixerReader::geometry(sharedMid, kAspect));

  auto upsideDown = labelLines(false);
  for (auto& l : upsideDown)
    if (l.text == "LOW") l.box.y = 0.12;
  EXPECT_FALSE(MixerReader::geometry(upsideDown, kAspect));
}

// A window with the mixer drawn where the geometry expects it: a white fader
// handle at `fader` (0 closed, 1 open) and, when asked, a blue-lit EQ knob.
Image mixerWindow(const MixerReader::Geometry& geometry, std::vector<double> faders, bool litKnob) {
  Image window(kWidth, kHeight, Rgba{30, 30, 30, 255});
  for (std::size_t i = 0; i < geometry.channels.size(); ++i) {
    const auto& c = geometry.channels[i];
    const double top = c.faderTop * kHeight;
    const double bottom = c.faderBottom * kHeight;
    const double y = bottom - faders[i] * (bottom - top);
    const double half = c.handleHalfWidth * kHeight;
    window.fill(Rect{c.faderX * kWidth - half - 2, y - 2, 2 * half + 5, 5}, Rgba{240, 240, 240, 255});
    if (litKnob && i == 1) {
      const double r = c.knobRadius * kHeight;
      window.fill(Rect{c.knobs[2].x * kWidth - r, c.knobs[2].y * kHeight - r, 2 * r, 2 * r},
                  Rgba{20, 90, 230, 255});
    }
  }
  return window;
}

TEST(MixerMeasure, ReadsFaderPositionsAndEq) {
  const auto geometry = *MixerReader::geometry(labelLines(false), kAspect);
  for (const double position : {0.0, 0.25, 0.5, 0.75, 1.0}) {
    const auto readings =
        MixerReader::measure(mixerWindow(geometry, {position, 1 - position}, false), geometry);
    ASSERT_EQ(readings.size(), 2u);
    ASSERT_TRUE(readings[0] && readings[1]) << position;
    EXPECT_NEAR(readings[0]->fader, position, 0.03);
    EXPECT_NEAR(readings[1]->fader, 1 - position, 0.03);
    EXPECT_TRUE(readings[0]->eqNeutral);
  }
  const auto lit = MixerReader::measure(mixerWindow(geometry, {0.5, 0.5}, true), geometry);
  EXPECT_TRUE(lit[0]->eqNeutral);
  EXPECT_FALSE(lit[1]->eqNeutral);

  const Image dark(kWidth, kHeight, Rgba{30, 30, 30, 255});
  EXPECT_EQ(MixerReader::measure(dark, geometry), MixerReader::Readings(2));
}

TEST(MixerMeasure, TooTallAHandleIsNoReading) {
  const auto geometry = *MixerReader::geometry(labelLines(false), kAspect);
  Image window(kWidth, kHeight, Rgba{30, 30, 30, 255});
  const auto& c = geometry.channels[0];
  const double half = c.handleHalfWidth * kHeight;
  window.fill(Rect{c.faderX * kWidth - half - 2, c.faderTop * kHeight, 2 * half + 5,
                   (c.faderBottom - c.faderTop) * kHeight},
              Rgba{240, 240, 240, 255});
  EXPECT_FALSE(MixerReader::measure(window, geometry)[0]);
}

class MixerReaderTimeline : public ::testing::Test {
 protected:
  MixerReaderTimeline() {
    recognizer->answer([this](const Image&, const RecognitionRequest&) {
      std::vector<TextObservation> out;
      if (!showLabels) return out;
      // Back into the search strip's fractions, bottom-left origin.
      for (const auto& line : labelLines(false)) {
        const Rect& b = line.box;
        const Rect strip{(b.x - 0.45) / 0.1, (b.y - 0.1) / 0.48, b.width / 0.1, b.height / 0.48};
        out.push_back({line.text, Rect{strip.x, 1 - strip.maxY(), strip.width, strip.height}});
      }
      return out;
    });
  }

  std::size_t locates() const { return recognizer->calls().size(); }

  std::shared_ptr<FakeTextRecognizer> recognizer = std::make_shared<FakeTextRecognizer>();
  MixerReader reader{recognizer};
  bool showLabels = true;
};

TEST_F(MixerReaderTimeline, LocatesAtOnceThenEveryThirtySeconds) {
  const Image blank(kWidth, kHeight, Rgba{30, 30, 30, 255});
  reader.read(blank, 1000.0);
  EXPECT_EQ(locates(), 1u);
  EXPECT_EQ(recognizer->calls()[0].request,
            (RecognitionRequest{RecognitionLevel::accurate, 0.008f, RecognitionLanguages::english}));
  ASSERT_TRUE(reader.currentGeometry());
  const Image window = mixerWindow(*reader.currentGeometry(), {0.5, 0.5}, false);
  for (double t = 1000.25; t < 1029.9; t += 0.25) reader.read(window, t);
  EXPECT_EQ(locates(), 1u);
  reader.read(window, 1030.0);
  EXPECT_EQ(locates(), 2u);
}

TEST_F(MixerReaderTimeline, RetriesEveryFiveSecondsWhileNothingIsFound) {
  showLabels = false;
  const Image blank(kWidth, kHeight, Rgba{30, 30, 30, 255});
  EXPECT_EQ(reader.read(blank, 0.0), MixerReader::Readings(2));
  reader.read(blank, 4.9);
  EXPECT_EQ(locates(), 1u);
  reader.read(blank, 5.0);
  EXPECT_EQ(locates(), 2u);
}

TEST_F(MixerReaderTimeline, ThreeFailingReadsRelocateAfterFiveSeconds) {
  const Image blank(kWidth, kHeight, Rgba{30, 30, 30, 255});
  reader.read(blank, 0.0);  // located, but no handle to see: a failing read
  reader.read(blank, 1.0);
  reader.read(blank, 2.0);
  reader.read(blank, 4.9);
  EXPECT_EQ(locates(), 1u);
  reader.read(blank, 5.0);
  EXPECT_EQ(locates(), 2u);
}

TEST_F(MixerReaderTimeline, NewImageSizeDropsTheGeometryUntilFiveSecondsPassed) {
  const Image blank(kWidth, kHeight, Rgba{30, 30, 30, 255});
  reader.read(blank, 0.0);
  const Image larger(kWidth + 100, kHeight, Rgba{30, 30, 30, 255});
  EXPECT_EQ(reader.read(larger, 2.0), MixerReader::Readings(2));
  EXPECT_FALSE(reader.currentGeometry());
  EXPECT_EQ(locates(), 1u);
  reader.read(larger, 5.0);
  EXPECT_EQ(locates(), 2u);

  reader.reset();
  reader.read(larger, 5.1);
  EXPECT_EQ(locates(), 3u);
}

}  // namespace
}  // namespace kesta
