#include "reading/text_recognition.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/fakes/fake_text_recognizer.h"

namespace kesta {
namespace {

using TextRecognition::elapsedSeconds;

RecognizedLine at(std::string text, double x, double midY, double height = 0.01) {
  return {std::move(text), Rect{x, midY - height / 2, 0.2, height}};
}

std::vector<std::string> texts(const std::vector<RecognizedLine>& lines) {
  std::vector<std::string> out;
  for (const auto& line : lines) out.push_back(line.text);
  return out;
}

// A box as a recogniser reports it: origin at the bottom left.
TextObservation observed(std::string text, double x, double bottomUpY, double width, double height) {
  return {std::move(text), Rect{x, bottomUpY, width, height}};
}

TEST(TextRecognition, BoxesMoveToATopLeftOrigin) {
  const auto lines = TextRecognition::lines({observed("Strobe", 0.25, 0.1, 0.5, 0.2)});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "Strobe");
  EXPECT_DOUBLE_EQ(lines[0].box.x, 0.25);
  EXPECT_DOUBLE_EQ(lines[0].box.y, 0.7);
  EXPECT_DOUBLE_EQ(lines[0].box.width, 0.5);
  EXPECT_DOUBLE_EQ(lines[0].box.height, 0.2);
}

TEST(TextRecognition, ReadsRowsTopToBottomAndEachRowLeftToRight) {
  struct Case {
    const char* what;
    std::vector<RecognizedLine> given;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"centres 0.015 apart share a row, whichever is higher",
       {at("right", 0.6, 0.300), at("left", 0.1, 0.315)},
       {"left", "right"}},
      {"centres 0.025 apart are two rows",
       {at("lower", 0.1, 0.325), at("upper", 0.6, 0.300)},
       {"upper", "lower"}},
      {"0.019 apart still share a row", {at("b", 0.5, 0.5), at("a", 0.1, 0.519)}, {"a", "b"}},
      {"equal lines keep the recogniser's order",
       {at("first", 0.1, 0.5), at("second", 0.1, 0.5)},
       {"first", "second"}},
      {"a deck area",
       {at("-02:17.9", 0.6, 0.62), at("128.00", 0.1, 0.45), at("Strobe", 0.1, 0.1), at("8A", 0.6, 0.45),
        at("03:21.4", 0.1, 0.62), at("deadmau5", 0.1, 0.25)},
       {"Strobe", "deadmau5", "128.00", "8A", "03:21.4", "-02:17.9"}},
      // a ~ b and b ~ c by row, a and c not: each line moves forward past the
      // lines it is read before and stops at the first it is not.
      {"a chain of drifting centres",
       {at("c", 0.1, 0.53), at("b", 0.5, 0.515), at("a", 0.9, 0.50)},
       {"c", "b", "a"}},
      {"a chain given the other way",
       {at("a", 0.9, 0.50), at("b", 0.5, 0.515), at("c", 0.1, 0.53)},
       {"b", "a", "c"}},
  };
  for (const auto& c : cases) {
    auto lines = c.given;
    TextRecognition::sortInReadingOrder(lines);
    EXPECT_EQ(texts(lines), c.expected) << c.what;
  }
}

TEST(TextRecognition, LongListsMergeToTheSameOrderStably) {
  // 80 lines on 20 rows of 4, given in a scrambled order, with two lines that
  // compare equal on every row.
  std::vector<RecognizedLine> lines;
  for (int i = 0; i < 80; ++i) {
    const int row = (i * 7) % 20;
    const int column = (i * 3) % 4;
    lines.push_back(at("r" + std::to_string(row) + "c" + std::to_string(column) + "#" + std::to_string(i),
                       0.1 + 0.2 * std::min(column, 2), 0.05 + 0.045 * row));
  }
  auto merged = lines;
  TextRecognition::sortInReadingOrder(merged);
  auto expected = lines;
  std::stable_sort(expected.begin(), expected.end(), TextRecognition::readBefore);
  EXPECT_EQ(texts(merged), texts(expected));

  // Non-transitive chains are sorted without harm: every line is still there.
  std::vector<RecognizedLine> chain;
  for (int i = 0; i < 100; ++i)
    chain.push_back(at(std::to_string(i), (i * 37 % 100) / 100.0, 0.3 + 0.015 * (i % 9)));
  auto sorted = chain;
  TextRecognition::sortInReadingOrder(sorted);
  auto before = texts(chain), after = texts(sorted);
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(before, after);
}

TEST(TextRecognition, ElapsedSecondsFromOneLine) {
  struct Case {
    const char* line;
    std::optional<int> seconds;
  };
  const Case cases[] = {
      {"3:21", 201},
      {"  03:21.7\u00A0", 201},  // spaces and a no-break space around it
      {"\t03:21.7", 201},
      {"103:21,4", 103 * 60 + 21},
      {"1:75", std::nullopt},  // seconds above 59
      {"0:59", 59},
      {"0:60", std::nullopt},
      {"-3:21.4", std::nullopt},       // the remaining time
      {"\u22123:21.4", std::nullopt},  // with a minus sign
      {"Remain -03:12.4", std::nullopt},
      {"Remain \u221203:12.4", std::nullopt},
      {"Elapsed 1:02.5", 62},
      {"BPM 128 3:21", std::nullopt},  // no tenths inside a longer line
      {"12:34:56.7", std::nullopt},
      {"3:21.45", std::nullopt},
      {"1234:56.7", std::nullopt},
      {"x1:02.5", 62},
      {"03:21.4 -02:17.9", 201},
      {"-02:17.9 03:21.4", 201},
      {"3:21\n", 201},
      {"", std::nullopt},
      {"Strobe (Club Edit)", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(elapsedSeconds(c.line), c.seconds) << c.line;
}

TEST(TextRecognition, RecognizeAsksTheRecognizerOnceAndSortsItsLines) {
  FakeTextRecognizer recognizer;
  recognizer.answer({observed("8A", 0.6, 0.5, 0.1, 0.05), observed("Strobe", 0.1, 0.85, 0.4, 0.08),
                     observed("128.00", 0.1, 0.5, 0.2, 0.05)});
  const auto lines = TextRecognition::recognize(recognizer, Image(760, 260), 0.008f, RecognitionLevel::fast,
                                                RecognitionLanguages::english.with(Script::hebrew));
  EXPECT_EQ(texts(lines), (std::vector<std::string>{"Strobe", "128.00", "8A"}));
  ASSERT_EQ(recognizer.calls().size(), 1u);
  EXPECT_EQ(recognizer.calls()[0].request,
            (RecognitionRequest{RecognitionLevel::fast, 0.008f,
                                RecognitionLanguages::english.with(Script::hebrew)}));
}

TEST(TextRecognition, ReadClockTakesTheElapsedReadoutOfTheDeckArea) {
  const Rect deck2{0.51, 0.12, 0.475, 0.26};
  struct Case {
    const char* what;
    std::vector<TextObservation> seen;
    std::optional<int> clock;
  };
  const Case cases[] = {
      {"elapsed before remaining",
       {observed("03:21.4", 0.1, 0.3, 0.1, 0.05), observed("-02:17.9", 0.6, 0.3, 0.1, 0.05)},
       201},
      {"remaining before elapsed",
       {observed("-02:17.9", 0.1, 0.3, 0.1, 0.05), observed("03:21.4", 0.6, 0.3, 0.1, 0.05)},
       201},
      {"neither",
       {observed("Strobe", 0.1, 0.8, 0.3, 0.05), observed("-02:17.9", 0.1, 0.3, 0.1, 0.05)},
       std::nullopt},
      {"nothing recognised", {}, std::nullopt},
  };
  for (const auto& c : cases) {
    FakeTextRecognizer recognizer;
    recognizer.answer(c.seen);
    EXPECT_EQ(TextRecognition::readClock(recognizer, Image(1600, 1000), deck2, RecognitionLanguages::english),
              c.clock)
        << c.what;
    ASSERT_EQ(recognizer.calls().size(), 1u);
    // The deck crop, widened to whole pixels, read accurately.
    EXPECT_EQ(recognizer.calls()[0].width, 760);
    EXPECT_EQ(recognizer.calls()[0].height, 260);
    EXPECT_EQ(recognizer.calls()[0].request,
              (RecognitionRequest{RecognitionLevel::accurate, 0.02f, RecognitionLanguages::english}));
  }
  FakeTextRecognizer untouched;
  EXPECT_EQ(TextRecognition::readClock(untouched, Image(1600, 1000), {1.2, 0, 0.3, 0.3},
                                       RecognitionLanguages::english),
            std::nullopt);
  EXPECT_TRUE(untouched.calls().empty());
}

}  // namespace
}  // namespace kesta
