#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ocr/tesseract_recognizer.h"
#include "support/fakes/fake_text_recognizer.h"

namespace kesta {
namespace {

// A dark panel with white, green and dim grey marks, as deck areas look.
Image deckLike() {
  Image image(8, 4, Rgba{22, 22, 24, 255});
  image.fill({0, 0, 2, 1}, Rgba{255, 255, 255, 255});
  image.fill({2, 0, 2, 1}, Rgba{98, 214, 168, 255});
  image.fill({4, 0, 2, 1}, Rgba{138, 138, 138, 255});
  return image;
}

TEST(InvertedGrey, TurnsLightOnDarkIntoBlackOnWhite) {
  const GreyPicture picture = invertedGrey(deckLike(), 1);
  ASSERT_EQ(picture.width, 8);
  ASSERT_EQ(picture.height, 4);
  const auto at = [&](int x, int y) { return int(picture.pixels[std::size_t(y * picture.width + x)]); };
  EXPECT_EQ(at(7, 3), 255);  // the commonest level, the background, is white
  EXPECT_EQ(at(0, 0), 0);    // the brightest text is black
  // Coloured text counts by its brightest channel: the green reads as dark as
  // a grey of that channel would.
  EXPECT_LT(at(2, 0), 60);
  EXPECT_GT(at(4, 0), at(2, 0));
  EXPECT_LT(at(4, 0), 255);
}

TEST(InvertedGrey, DoublesWithoutInventingLevels) {
  const GreyPicture single = invertedGrey(deckLike(), 1);
  const GreyPicture doubled = invertedGrey(deckLike(), 2);
  ASSERT_EQ(doubled.width, 16);
  ASSERT_EQ(doubled.height, 8);
  const auto at = [&](int x, int y) { return int(doubled.pixels[std::size_t(y * doubled.width + x)]); };
  EXPECT_EQ(at(15, 7), 255);
  EXPECT_EQ(at(0, 0), 0);
  // Between a black and a white pixel the doubled row goes through greys: a
  // doubled pixel whose two nearest original pixels differ lies strictly
  // between them, one whose nearest pixels agree keeps their level, and the row
  // climbs from black to white as the original does.
  const auto original = [&](int x) {
    return int(single.pixels[std::size_t(std::clamp(x, 0, single.width - 1))]);
  };
  for (int x = 0; x < 16; ++x) {
    const int here = original(x / 2);
    const int neighbour = original(x % 2 == 0 ? x / 2 - 1 : x / 2 + 1);
    if (here == neighbour) {
      EXPECT_EQ(at(x, 0), here) << x;
    } else {
      EXPECT_GT(at(x, 0), std::min(here, neighbour)) << x;
      EXPECT_LT(at(x, 0), std::max(here, neighbour)) << x;
    }
    if (x > 0) {
      EXPECT_GE(at(x, 0), at(x - 1, 0)) << x;
    }
  }
  EXPECT_GT(at(2, 4), 0);  // row 2 of the original is background, blended with row 1 only at its edge
  EXPECT_EQ(single.pixels.size() * 4, doubled.pixels.size());
}

TEST(InvertedGrey, LeavesAFlatPictureAlone) {
  const GreyPicture flat = invertedGrey(Image(3, 3, Rgba{22, 22, 24, 255}), 1);
  for (const auto level : flat.pixels) EXPECT_EQ(level, 231);
}

TEST(TesseractRecognizer, FindsNothingWhereThereIsNothing) {
  TesseractRecognizer recognizer;
  EXPECT_TRUE(recognizer.recognize(Image(), {}).empty());
  EXPECT_TRUE(recognizer.recognize(Image(300, 60, Rgba{22, 22, 24, 255}), {}).empty());
  EXPECT_TRUE(
      recognizer
          .recognize(Image(300, 60, Rgba{22, 22, 24, 255}),
                     {RecognitionLevel::fast, 0.02f, RecognitionLanguages::english.with(Script::thai)})
          .empty());
}

// The models scripts setup installs: one script's before the Latin letters';
// several scripts each alone, the lines found by the Latin letters' model,
// Chinese in both its forms, the second last.
TEST(TesseractRecognizer, ReadsScriptsWithTheirModelsFirst) {
  TesseractRecognizer recognizer;
  using L = RecognitionLanguages;
  using M = TesseractRecognizer::Models;
  const struct {
    L languages;
    M models;
  } cases[] = {
      {L::english, {"eng", {}}},
      {L::latin, {"Latin", {}}},
      {L::english.with(Script::arabic), {"ara+eng", {}}},
      {L::latin.with(Script::thai), {"tha+Latin", {}}},
      {L::english.with(Script::chinese), {"HanT+eng", {}}},
      {L::latin.with(Script::thai).with(Script::japanese), {"Latin", {"jpn", "tha"}}},
      {L::english.with(Script::korean).with(Script::hebrew), {"eng", {"kor", "heb"}}},
      {L::english.with(Script::chinese).with(Script::korean), {"eng", {"HanT", "kor", "HanS"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(recognizer.modelsOf(c.languages), c.models) << c.models.lines;
  // Without the data a script is left out.
  TesseractRecognizer elsewhere(TesseractRecognizer::Memory::none, "/nonexistent/tessdata");
  EXPECT_EQ(elsewhere.modelsOf(L::english.with(Script::arabic).with(Script::thai)), (M{"eng", {}}));
}

TEST(TesseractRecognizer, GivesNoLinesWithoutTrainedData) {
  TesseractRecognizer recognizer(TesseractRecognizer::Memory::none, "/nonexistent/tessdata");
  EXPECT_TRUE(recognizer.recognize(deckLike(), {}).empty());
}

TEST(FakeTextRecognizer, AnswersAsScriptedAndRemembersRequests) {
  FakeTextRecognizer fake;
  EXPECT_TRUE(fake.recognize(Image(4, 2), {}).empty());
  fake.answer({{"Strobe", {0.1, 0.8, 0.5, 0.1}}});
  const RecognitionRequest request{RecognitionLevel::fast, 0.008f,
                                   RecognitionLanguages::latin.with(Script::korean)};
  EXPECT_EQ(fake.recognize(Image(4, 2), request).size(), 1u);
  ASSERT_EQ(fake.calls().size(), 2u);
  EXPECT_EQ(fake.calls()[1].request, request);
  EXPECT_EQ(fake.calls()[1].width, 4);
}

}  // namespace
}  // namespace kesta
