#include "platform/text/unicode_text.h"

#include <gtest/gtest.h>

namespace kesta::unicode {
namespace {

constexpr FoldOptions kAll{.caseInsensitive = true, .diacriticInsensitive = true, .widthInsensitive = true};

struct FoldCase {
  const char* input;
  FoldOptions options;
  const char* expected;
};

TEST(UnicodeFold, FoldsAsLocaleIndependentComparisonDoes) {
  const FoldCase cases[] = {
      {"Ünïcödé", kAll, "unicode"},
      {"Straße", kAll, "strasse"},                     // full case folding
      {"Ελληνικά Άλφα", kAll, "ελληνικα αλφα"},        // Greek accents go, final sigma folds
      {"Йогурт Ёлка", kAll, "иогурт елка"},            // Cyrillic breve and diaeresis go
      {"øł æđı", kAll, "øł æđı"},                      // no decomposition: kept
      {"ＡＢＣ１２３", kAll, "abc123"},                // full-width forms
      {"ｶﾀｶﾅ", kAll, "カタカナ"},                      // half-width katakana
      {"ﬁ ² ①", {.widthInsensitive = true}, "ﬁ ² ①"},  // width folding leaves these alone
      {"ﬁ", kAll, "fi"},                               // but full case folding splits the ligature
      {"ＡＢＣ", {.caseInsensitive = true, .diacriticInsensitive = true}, "ａｂｃ"},
      {"Café", {.caseInsensitive = true}, "café"},
      {"Café", {.diacriticInsensitive = true}, "Cafe"},
  };
  for (const auto& c : cases) EXPECT_EQ(fold(c.input, c.options), c.expected) << c.input;
}

TEST(UnicodeFold, ComposedAndDecomposedSpellingsAgree) {
  EXPECT_EQ(fold("Beyonc\u00e9", kAll), fold("Beyonce\u0301", kAll));
  EXPECT_EQ(fold("\u00c5ngstr\u00f6m", {.caseInsensitive = true}),
            fold("A\u030angstro\u0308m", {.caseInsensitive = true}));
}

TEST(UnicodeScalars, RoundTripAndReplaceIllFormedBytes) {
  const std::string text = "a\u00e9\u4e2d\U0001F600";
  EXPECT_EQ(toScalars(text).size(), 4u);
  EXPECT_EQ(fromScalars(toScalars(text)), text);
  EXPECT_EQ(toScalars("a\xff"
                      "b"),
            std::u32string(U"a\uFFFDb"));
}

TEST(UnicodeClasses, AlphanumericsAreLettersMarksAndNumbers) {
  for (const char32_t c : {U'a', U'Z', U'7', U'\u00e9', U'\u0301', U'\u4e2d', U'\u0660', U'\u00b2'})
    EXPECT_TRUE(isAlphanumeric(c)) << int(c);
  for (const char32_t c : {U' ', U'-', U'!', U'\u00a0', U'\U0001F600', U'|'})
    EXPECT_FALSE(isAlphanumeric(c)) << int(c);
}

TEST(UnicodeGraphemes, CountsUserPerceivedCharacters) {
  EXPECT_EQ(graphemeCount(""), 0u);
  EXPECT_EQ(graphemeCount("ab"), 2u);
  EXPECT_EQ(graphemeCount("e\u0301"), 1u);
  EXPECT_EQ(graphemeCount("\U0001F1E9\U0001F1EA"), 1u);  // a flag
  EXPECT_EQ(graphemeCount("\r\n"), 1u);
}

TEST(UnicodeTrim, TrimsOnlyTheGivenClass) {
  EXPECT_EQ(trimmed(" \t a b \t", isWhitespace), "a b");
  EXPECT_EQ(trimmed("\n a \n", isWhitespace), "\n a \n");
  EXPECT_EQ(trimmed("\n a \n", isWhitespaceOrNewline), "a");
  EXPECT_EQ(trimmed("\u00a0x\u3000", isWhitespace), "x");
}

}  // namespace
}  // namespace kesta::unicode
