#include "oneclick/loader_capture.h"

#include <gtest/gtest.h>

#include <vector>

#include "oneclick/load_error.h"
#include "support/fakes/fake_text_recognizer.h"
#include "support/fakes/fake_window_system.h"

namespace kesta {
namespace {

WindowInfo window(std::uint32_t id, Rect frame, std::int32_t pid = 42) {
  return {.id = id,
          .instanceName = "rekordbox",
          .className = "rekordbox",
          .pid = pid,
          .frame = frame,
          .viewable = true};
}

TEST(LoaderCapture, PicksTheLargestShownWindowOfTheProcess) {
  struct Case {
    const char* name;
    std::vector<WindowInfo> windows;
    std::optional<std::uint32_t> captured;
  };
  WindowInfo hidden = window(4, {0, 0, 2000, 1200});
  hidden.minimized = true;
  const Case cases[] = {
      {"699 wide is too narrow", {window(1, {0, 0, 699, 900})}, std::nullopt},
      {"700 wide will do", {window(1, {0, 0, 700, 900})}, 1},
      {"the larger one", {window(1, {0, 0, 800, 600}), window(2, {10, 10, 1400, 900})}, 2},
      {"of equal areas the first", {window(1, {0, 0, 1000, 900}), window(2, {5, 5, 900, 1000})}, 1},
      {"other processes and hidden windows", {window(3, {0, 0, 1600, 1000}, 7), hidden}, std::nullopt},
  };
  for (const auto& c : cases) {
    FakeWindowSystem windows;
    windows.list = c.windows;
    if (!c.captured) {
      EXPECT_THROW(LoaderCapture::captureWindow(windows, 42), LoadError) << c.name;
      continue;
    }
    const auto shot = LoaderCapture::captureWindow(windows, 42);
    EXPECT_EQ(shot.frame, windows.window(*c.captured).frame) << c.name;
    EXPECT_EQ(shot.image.size(), shot.frame.size()) << c.name;
  }
}

TEST(LoaderCapture, WideWindowsArePicturedAtMost3600Wide) {
  FakeWindowSystem windows;
  windows.list = {window(1, {0, 0, 4000, 2500})};
  const auto shot = LoaderCapture::captureWindow(windows, 42);
  EXPECT_EQ(shot.image.width(), 3600);
  EXPECT_EQ(shot.image.height(), 2250);
  EXPECT_EQ(shot.frame, (Rect{0, 0, 4000, 2500}));
}

TEST(LoaderCapture, RecognisesTheRegionInWindowCoordinates) {
  FakeTextRecognizer recognizer([](const Image&, const RecognitionRequest& request) {
    // The crop's top-left line, reported with a bottom-left origin.
    return std::vector<TextObservation>{
        {request.level == RecognitionLevel::fast ? "fast" : "accurate", {0, 0.9, 0.5, 0.1}}};
  });
  const Image image(3200, 2000);
  const auto lines =
      LoaderCapture::recognize(recognizer, image, {0, 0.4, 1, 0.6}, RecognitionLanguages::latin);
  const auto calls = recognizer.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].width, 3200);
  EXPECT_EQ(calls[0].height, 1200);
  EXPECT_EQ(calls[0].request.level, RecognitionLevel::fast);
  EXPECT_EQ(calls[1].request.level, RecognitionLevel::accurate);
  EXPECT_EQ(calls[1].request.languages, RecognitionLanguages::latin);
  EXPECT_FLOAT_EQ(calls[1].request.minimumTextHeight, 0.008f);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, "fast");
  EXPECT_EQ(lines[1].text, "accurate");
  EXPECT_NEAR(lines[1].box.x, 0, 1e-9);
  EXPECT_NEAR(lines[1].box.y, 0.4, 1e-9);
  EXPECT_NEAR(lines[1].box.width, 0.5, 1e-9);
  EXPECT_NEAR(lines[1].box.height, 0.06, 1e-9);
  EXPECT_TRUE(
      LoaderCapture::recognize(recognizer, image, {1.5, 0, 0.5, 1}, RecognitionLanguages::english).empty());
}

}  // namespace
}  // namespace kesta
