// The mixer reader on real captures of the stand-in rekordbox window: it finds
// the mixer by its printed labels once, then reads each fader within 0.05 of
// where the window drew it and tells a turned EQ knob from a neutral one.

#include <gtest/gtest.h>

#include <memory>

#include "platform/ocr/tesseract_recognizer.h"
#include "platform/text/numbers.h"
#include "platform/time/clock.h"
#include "platform/x11/x11_window_system.h"
#include "reading/mixer_reader.h"
#include "reading/screen_capture_source.h"
#include "reading/screen_permission.h"
#include "support/standin_rekordbox.h"
#include "support/xvfb_server.h"

namespace kesta {
namespace {

class MixerReaderDisplayTest : public ::testing::Test {
 protected:
  MixerReaderDisplayTest()
      : window(server.display()),
        source(std::make_shared<X11WindowSystem>(server.display()), Clock::now, ScreenPermission::granted),
        reader(std::make_shared<TesseractRecognizer>()) {
    source.connect();
  }

  // Both channels as the reader sees them now; the mixer is located on the first call.
  MixerReader::Readings read() {
    now += 0.25;
    return reader.read(source.capture(), now);
  }

  void set(const std::string& command) { window.send(command); }

  test::XvfbServer server;
  test::StandInRekordbox window;
  ScreenCaptureSource source;
  MixerReader reader;
  double now = 1000;
};

TEST_F(MixerReaderDisplayTest, FadersReadWithinFiveHundredthsOfWhereTheyAreDrawn) {
  ASSERT_EQ(read().size(), 2u);
  ASSERT_TRUE(reader.currentGeometry()) << "the mixer was not found by its labels";

  for (const int channel : {1, 2}) {
    const int other = channel == 1 ? 2 : 1;
    set("fader " + std::to_string(other) + " 0.5");
    for (const double position : {0.0, 0.25, 0.5, 0.75, 1.0}) {
      SCOPED_TRACE("channel " + std::to_string(channel) + " at " + numbers::formatFixed(position, 2));
      set("fader " + std::to_string(channel) + " " + numbers::formatFixed(position, 2));
      const auto readings = read();
      ASSERT_TRUE(readings[std::size_t(channel - 1)]);
      ASSERT_TRUE(readings[std::size_t(other - 1)]);
      EXPECT_NEAR(readings[std::size_t(channel - 1)]->fader, position, 0.05);
      EXPECT_NEAR(readings[std::size_t(other - 1)]->fader, 0.5, 0.05) << "the other channel moved";
      EXPECT_TRUE(readings[std::size_t(channel - 1)]->eqNeutral);
    }
  }
}

TEST_F(MixerReaderDisplayTest, TurnedEqKnobsAreToldFromNeutralOnes) {
  struct Case {
    const char* name;
    std::vector<std::string> commands;
    bool channel1Neutral;
    bool channel2Neutral;
  };
  const std::vector<Case> cases{
      {"untouched", {}, true, true},
      {"channel 1 high up", {"eq 1 high 0.6"}, false, true},
      {"channel 1 back to neutral", {"eq 1 high 0"}, true, true},
      {"channel 2 low cut", {"eq 2 low -0.5"}, true, false},
      {"channel 2 low cut, mid slightly up", {"eq 2 mid 0.2"}, true, false},
      {"both turned", {"eq 1 mid -1"}, false, false},
      {"both neutral again", {"eq 1 mid 0", "eq 2 low 0", "eq 2 mid 0"}, true, true},
      {"a closed fader keeps its EQ state", {"fader 1 0", "eq 1 low 0.4"}, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& command : c.commands) set(command);
    const auto readings = read();
    ASSERT_TRUE(readings[0] && readings[1]);
    EXPECT_EQ(readings[0]->eqNeutral, c.channel1Neutral);
    EXPECT_EQ(readings[1]->eqNeutral, c.channel2Neutral);
  }
}

}  // namespace
}  // namespace kesta
