#include "platform/ocr/line_text.h"

#include <gtest/gtest.h>

namespace kesta {
namespace {

using LineText::Word;

TEST(LineText, PutsTheWordsOfALineInLogicalOrder) {
  const struct {
    const char* name;
    std::vector<Word> words;  // as read, with where each starts
    std::string line;
  } cases[] = {
      {"Latin", {{"Strobe", 0}, {"(Club", 50}, {"Edit)", 90}}, "Strobe (Club Edit)"},
      {"words in any order", {{"Edit)", 90}, {"Strobe", 0}, {"(Club", 50}}, "Strobe (Club Edit)"},
      {"Arabic with a Latin version at its left",
       {{"(Club", 0}, {"Edit)", 40}, {"الحب", 90}, {"طريق", 140}},
       "طريق الحب (Club Edit)"},
      {"Arabic alone", {{"الحب", 0}, {"طريق", 50}}, "طريق الحب"},
      {"Hebrew with a Latin version",
       {{"Mix)", 30}, {"(Club", 0}, {"חורף", 80}, {"של", 130}, {"שמש", 160}},
       "שמש של חורף (Club Mix)"},
      {"an Arabic run inside a Latin line",
       {{"Artist", 0}, {"الحب", 50}, {"طريق", 90}, {"Remix", 140}},
       "Artist طريق الحب Remix"},
      {"a number between right-to-left words", {{"الحب", 0}, {"2", 40}, {"طريق", 60}}, "طريق 2 الحب"},
      {"a number at the end of a right-to-left line", {{"12", 0}, {"شمس", 30}}, "شمس 12"},
      {"a number between Latin words of a right-to-left line",
       {{"Mix", 0}, {"2", 30}, {"Dub", 50}, {"شمس", 90}},
       "شمس Mix 2 Dub"},
      {"Thai split into words", {{"ค่ำคืน", 0}, {"ที่", 40}, {"กรุงเทพ", 60}}, "ค่ำคืนที่กรุงเทพ"},
      {"Thai beside Latin",
       {{"ทะเล", 0}, {"ดาว", 30}, {"(Extended", 60}, {"Mix)", 120}},
       "ทะเลดาว (Extended Mix)"},
      {"Thai beside a number", {{"ทะเล", 0}, {"2", 30}}, "ทะเล 2"},
      {"direction marks around words",
       {{"\u200F(Club", 0},
        {"Edit)\u200F", 40},
        {"\u200F\u0627\u0644\u062D\u0628", 90},
        {"\u0637\u0631\u064A\u0642", 140}},
       "\u0637\u0631\u064A\u0642 \u0627\u0644\u062D\u0628 (Club Edit)"},
      {"empty words", {{"", 0}, {"Da", 10}, {"", 20}, {"Funk", 30}}, "Da Funk"},
      {"no words", {}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LineText::inLogicalOrder(c.words), c.line) << c.name;
}

// A line's words as read, and the line in logical order and in the other order.
struct Orders {
  const char* name;
  std::vector<Word> words;
  std::string logical;
  std::string other;
};

void expectOrders(const std::vector<Orders>& cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(LineText::inLogicalOrder(c.words), c.logical) << c.name;
    EXPECT_EQ(LineText::inOtherOrder(c.words), c.other) << c.name;
  }
}

// A line with words of both directions is offered in the other paragraph
// order too; a line of one direction has no other order.
TEST(LineText, ReadsALineOfBothDirectionsInTheOtherOrderToo) {
  expectOrders({
      {"a Latin beginning drawn left to right",
       {{"Cairo", 0}, {"Nights", 40}, {"القاهرة", 90}, {"ليالي", 140}},
       "ليالي القاهرة Cairo Nights",
       "Cairo Nights ليالي القاهرة"},
      {"a Hebrew end", {{"DJ", 0}, {"Tal", 20}, {"שמש", 50}}, "שמש DJ Tal", "DJ Tal שמש"},
      {"a Latin version at the left of a right-to-left title",
       {{"(Club", 0}, {"Edit)", 40}, {"הים", 90}, {"על", 120}, {"גלים", 140}},
       "גלים על הים (Club Edit)",
       "(Club Edit) גלים על הים"},
      {"a number at the end of a mixed line", {{"Mix", 0}, {"2", 30}, {"שמש", 50}}, "שמש 2 Mix", "Mix 2 שמש"},
      {"right to left only", {{"الحب", 0}, {"طريق", 50}}, "طريق الحب", ""},
      {"Latin only", {{"Strobe", 0}, {"(Club", 50}, {"Edit)", 90}}, "Strobe (Club Edit)", ""},
      {"right to left and digits", {{"12", 0}, {"شمس", 30}}, "شمس 12", ""},
  });
}

// A line cut short ends with "…" however the ellipsis was read, and a line
// of both directions cut at one end is read in the order that end tells, and
// only in that order.
TEST(LineText, ReadsACutLineInTheOrderItsCutTells) {
  expectOrders({
      {"a right-to-left title with a Latin end, cut at its left",
       {{"\u2026", 0}, {"Cairo", 10}, {"Nights", 50}, {"القاهرة", 90}, {"ليالي", 140}},
       "ليالي القاهرة Cairo Nights\u2026",
       ""},
      {"its ellipsis glued to the Latin word",
       {{"..Cairo", 0}, {"Nights", 50}, {"القاهرة", 90}, {"ليالي", 140}},
       "ليالي القاهرة Cairo Nights\u2026",
       ""},
      {"a left-to-right title with an Arabic end, cut at its right",
       {{"Cairo", 0}, {"Nights", 40}, {"القاهرة", 90}, {"ليالي", 140}, {"-.", 180}},
       "Cairo Nights ليالي القاهرة\u2026",
       ""},
      {"its ellipsis glued to the Arabic word", {{"Cairo", 0}, {"..ليالي", 90}}, "Cairo ليالي\u2026", ""},
      {"Hebrew, the ellipsis glued", {{"בעיר..", 0}, {"לילה", 40}}, "לילה בעיר\u2026", ""},
      {"Hebrew, the ellipsis apart beside a bracket",
       {{".--", 0}, {")", 10}, {"אהבה", 20}, {"של", 60}, {"ים", 90}},
       "ים של אהבה )\u2026",
       ""},
      {"Latin, read as two dots", {{"Love", 0}, {"Song..", 40}}, "Love Song\u2026", ""},
      {"Latin, the ellipsis apart", {{"Love", 0}, {"Song", 40}, {"\u2026", 80}}, "Love Song\u2026", ""},
      {"one dot is a full stop", {{"Love", 0}, {"Song.", 40}}, "Love Song.", ""},
      {"a full stop alone is none", {{"Love", 0}, {"Song", 40}, {".", 80}}, "Love Song .", ""},
      {"a sign alone is no ellipsis", {{"Love", 0}, {"Song", 40}, {"=", 80}}, "Love Song =", ""},
      {"dots that begin a Latin title", {{"...Baby", 0}, {"Love", 40}}, "...Baby Love", ""},
      {"dots at the start of a right-to-left line", {{"בעיר", 0}, {"..לילה", 40}}, "..לילה בעיר", ""},
      {"an ellipsis alone", {{"...", 0}}, "...", ""},
      {"one word, two dots glued", {{"Lantern..", 0}}, "Lantern\u2026", ""},
      {"one word, a dash and a dot glued", {{"Lantern-.", 0}}, "Lantern\u2026", ""},
      {"one Hebrew word, its dots glued", {{"בעיר..", 0}}, "בעיר\u2026", ""},
      {"one word and a full stop", {{"Song.", 0}}, "Song.", ""},
      {"a full stop inside a bracket", {{"Love", 0}, {"Song.)", 40}}, "Love Song.)", ""},
      {"a number is a title's", {{"1999", 0}, {"\u2026", 40}}, "1999\u2026", ""},
      {"a key and its placeholder", {{"8A", 0}, {"--.-", 30}}, "8A --.-", ""},
      {"a tempo and its placeholder", {{"128.00", 0}, {"--.-", 60}}, "128.00 --.-", ""},
      {"a clock and its placeholder", {{"03:12.5", 0}, {"--:--.-", 60}}, "03:12.5 --:--.-", ""},
      {"cut at both ends",
       {{"\u2026", 0}, {"Cairo", 10}, {"القاهرة", 90}, {"\u2026", 140}},
       "\u2026 القاهرة Cairo \u2026",
       "\u2026 Cairo القاهرة \u2026"},
  });
}

// A title that ends in dots shows on a deck as a cut line does.
TEST(LineText, TellsATextThatEndsWithAnEllipsis) {
  const struct {
    const char* text;
    bool ends;
  } cases[] = {
      {"Wait for it...", true},      {"Hold On\u2026", true}, {"انتظرني...", true},
      {"Gloria (...)", true},        {"Lantern-. ", true},    {"Song.", false},
      {"Hold On (Club Mix)", false}, {"...Baby Love", false}, {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(LineText::endsWithEllipsis(c.text), c.ends) << c.text;
}

TEST(LineText, MendsThaiSaraAm) {
  const struct {
    std::string read;
    std::string written;
  } cases[] = {
      {"\u0E04\u0E4D\u0E32", "\u0E04\u0E33"},              // คํา → คำ
      {"\u0E04\u0E48\u0E4D\u0E32", "\u0E04\u0E48\u0E33"},  // tone mark read first: ค่ำ
      {"\u0E04\u0E4D\u0E48\u0E32", "\u0E04\u0E48\u0E33"},  // tone mark read between
      {"\u0E14\u0E4D\u0E32\u0E19\u0E4D\u0E32", "\u0E14\u0E33\u0E19\u0E33"},  // ดำนำ: every one
      {"\u0E04\u0E4D", "\u0E04\u0E4D"},                                      // NIKHAHIT alone stays
      {"\u0E04\u0E32", "\u0E04\u0E32"},                                      // SARA AA alone stays
      {"\u0E4D\u0E48", "\u0E4D\u0E48"},                                      // no SARA AA after the tone mark
      {"Strobe", "Strobe"},
  };
  for (const auto& c : cases) EXPECT_EQ(LineText::mendedThai(c.read), c.written) << c.read;
}

}  // namespace
}  // namespace kesta
