// The frame source and the clock reading against the stand-in rekordbox window
// on a private Xvfb.

#include <gtest/gtest.h>

#include <memory>

#include "platform/ocr/tesseract_recognizer.h"
#include "platform/x11/x11_window_system.h"
#include "reading/deck_layout.h"
#include "reading/screen_capture_source.h"
#include "reading/text_recognition.h"
#include "support/covering_window.h"
#include "support/standin_rekordbox.h"
#include "support/xvfb_server.h"

namespace kesta {
namespace {

class ScreenCaptureDisplayTest : public ::testing::Test {
 protected:
  test::XvfbServer server;
  test::StandInRekordbox standIn{server.display()};
  double now = 1000;
  ScreenCaptureSource source{std::make_shared<X11WindowSystem>(server.display()), [this] { return now; },
                             [] { return true; }};

  CaptureError errorOf(const std::function<void()>& call) {
    try {
      call();
    } catch (const CaptureError& error) {
      return error;
    }
    ADD_FAILURE() << "no CaptureError thrown";
    return CaptureError::captureFailed("none");
  }
};

const nlohmann::json kStrobe{{"title", "Strobe (Club Edit)"},
                             {"artist", "deadmau5"},
                             {"bpm", "128.00"},
                             {"key", "8A"},
                             {"duration", 600},
                             {"elapsed", 201.4}};

TEST_F(ScreenCaptureDisplayTest, ConnectsToTheWindowAndCapturesIt) {
  EXPECT_EQ(source.connect(), "rekordbox window 1600\u00D71000");
  const Image image = source.capture();
  EXPECT_EQ(image.width(), 1600);
  EXPECT_EQ(image.height(), 1000);
}

TEST_F(ScreenCaptureDisplayTest, ResizeOfMoreThanTwoPixelsReconnectsAtTheNextCheck) {
  source.connect();
  standIn.send("resize 1602 1000");
  now += 1.5;
  source.capture();
  EXPECT_EQ(source.windowSize(), (Size{1600, 1000}));

  standIn.send("resize 1650 1003");
  now += 0.5;
  source.capture();
  EXPECT_EQ(source.windowSize(), (Size{1600, 1000}));  // checked less than a second ago
  now += 0.5;
  const Image image = source.capture();
  EXPECT_EQ(source.windowSize(), (Size{1650, 1003}));
  EXPECT_EQ(image.width(), 1650);
}

TEST_F(ScreenCaptureDisplayTest, ClosedWindowIsRekordboxNotRunning) {
  source.connect();
  standIn.quit();
  EXPECT_EQ(errorOf([&] { source.connect(); }), CaptureError::rekordboxNotRunning());
  EXPECT_EQ(errorOf([&] { source.capture(); }), CaptureError::windowNotVisible());
}

TEST_F(ScreenCaptureDisplayTest, CoveredWindowStillGivesItsOwnPixels) {
  source.connect();
  standIn.load(1, kStrobe);
  // Watching begins before the window is covered: from the first picture on,
  // the window draws off screen.
  source.capture();
  std::optional<Image> covered;
  {
    test::CoveringWindow cover(server.display(), 0, 0, 1920, 1200);
    standIn.load(2, kStrobe);  // drawn while covered
    covered = source.capture();
  }
  const Image uncovered = source.capture();
  EXPECT_TRUE(*covered == uncovered);
  EXPECT_EQ(covered->pixel(5, 5), (Rgba{0x0b, 0x0b, 0x0c, 255}));  // the window's own background
}

TEST_F(ScreenCaptureDisplayTest, SmallOrHiddenWindowIsNotVisible) {
  standIn.send("resize 699 450");
  EXPECT_EQ(errorOf([&] { source.connect(); }), CaptureError::windowNotVisible());
  standIn.send("resize 700 450");
  EXPECT_EQ(source.connect(), "rekordbox window 700\u00D7450");

  standIn.send("hide");
  EXPECT_EQ(errorOf([&] { source.capture(); }), CaptureError::windowNotVisible());
  EXPECT_EQ(errorOf([&] { source.connect(); }), CaptureError::windowNotVisible());
}

TEST_F(ScreenCaptureDisplayTest, ReadsTheElapsedTimeOfADeck) {
  source.connect();
  standIn.load(2, kStrobe);
  TesseractRecognizer recognizer;
  const DeckLayout layout;
  const Image image = source.capture();
  EXPECT_EQ(TextRecognition::readClock(recognizer, image, layout.deck2, RecognitionLanguages::english), 201);
  EXPECT_EQ(TextRecognition::readClock(recognizer, image, layout.deck1, RecognitionLanguages::english),
            std::nullopt);  // "Not Loaded"
}

}  // namespace
}  // namespace kesta
