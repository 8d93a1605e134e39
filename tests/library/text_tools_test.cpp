#include "library/text_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/text/unicode_text.h"

namespace kesta::TextTools {
namespace {

TEST(TextTools, NormalizedFoldsToTheMatchingKey) {
  const std::pair<const char*, const char*> cases[] = {
      {"\u00dcn\u00efc\u00f6d\u00e9  T\u00ebst!", "unicodetest"},
      {"", ""},
      {"!?-- ..", ""},
      {"Some Artist", "someartist"},
      {"some-artist", "someartist"},
      {"Stra\u00dfe", "strasse"},
      {"\uff34\uff45\uff43\uff48\uff4e\uff4f \uff11", "techno1"},    // full-width
      {"\u0421\u0430f\u0435 D\u0435l \u041c\u0430r", "cafedelmar"},  // Cyrillic lookalikes
      {"\u0391\u03b8\u03ae\u03bd\u03b1", "a\u03b8nva"},              // Greek by shape: η → n, ν → v
      {"\u041d\u0415\u0412\u041e", "hebo"},                          // capitals fold, then map by shape
      {"Ca\u0301fe\u0301", "cafe"},                                  // decomposed accents
      {"Caf\u00e9", "cafe"},                                         // composed accents
      {"Sigur R\u00f3s \u2013 \u00c1gaetis", "sigurrosagaetis"},
      {"\u00f8ystein \u0142odz", "\u00f8ystein\u0142odz"},  // letters without decomposition stay
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(normalized(input), expected) << input;
}

TEST(TextTools, CyrillicLookalikesMatchTheLatinTitle) {
  EXPECT_EQ(normalized("D\u0430rk M\u043e\u0435"), normalized("Dark Moe"));
}

TEST(TextTools, TokensFoldCaseAndAccentsButNotWidth) {
  EXPECT_EQ(tokens("A-B  c"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(tokens("").empty());
  EXPECT_EQ(tokens("\uff21\uff22 C\u00e9"), (std::vector<std::string>{"\uff41\uff42", "ce"}));
  EXPECT_EQ(tokens("\u0430 a a"), (std::vector<std::string>{"\u0430", "a", "a"}));  // no lookalike mapping
}

TEST(TextTools, ArtistTokensDropShortWordsAndJoiners) {
  EXPECT_EQ(artistTokens("The Artist & DJ X"), (std::set<std::string>{"artist", "dj"}));
  EXPECT_EQ(artistTokens("Artist A feat. Artist B"), (std::set<std::string>{"artist"}));
  EXPECT_TRUE(artistTokens("x vs ft & the").empty());
  EXPECT_EQ(artistJoiners().size(), 10u);
}

TEST(TextTools, EditDistanceIsBoundedLevenshteinByScalars) {
  struct Case {
    const char* a;
    const char* b;
    int limit;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {"flaw", "lawn", 2, 2},
      {"flaw", "lawn", 1, std::nullopt},
      {"", "abc", 3, 3},
      {"", "abc", 2, std::nullopt},
      {"abc", "", 3, 3},
      {"abc", "abcdef", 2, std::nullopt},
      {"abc", "abc", 0, 0},
      {"", "", 0, 0},
      {"", "", -1, std::nullopt},
      {"abc", "abc", -1, std::nullopt},
      {"kitten", "sitting", 3, 3},
      {"ab", "ba", 2, 2},                 // no transposition
      {"cafe", "cafe\u0301", 1, 1},       // a combining accent is one unit
      {"caf\u00e9", "cafe\u0301", 2, 2},  // composed against decomposed
      {"\u4e2d\u6587", "\u4e2d\u5b57", 1, 1},
      {"aaaaaaaa", "bbbbbbbb", 3, std::nullopt},  // early exit by row minimum
  };
  for (const auto& c : cases) EXPECT_EQ(editDistance(c.a, c.b, c.limit), c.expected) << c.a << " / " << c.b;
}

// The bounded search must agree with the full table on every pair: random
// short texts over a small alphabet (with one non-ASCII letter), every limit.
TEST(TextTools, EditDistanceAgreesWithTheFullTable) {
  const auto full = [](const std::u32string& a, const std::u32string& b) {
    std::vector<std::vector<int>> d(a.size() + 1, std::vector<int>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = static_cast<int>(i);
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i)
      for (std::size_t j = 1; j <= b.size(); ++j)
        d[i][j] =
            std::min({d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1), d[i - 1][j] + 1, d[i][j - 1] + 1});
    return d[a.size()][b.size()];
  };
  const std::u32string alphabet = U"abc\u00e9";
  std::mt19937 random(7);
  const auto text = [&] {
    std::u32string t(random() % 90, U'a');
    for (auto& c : t) c = alphabet[random() % alphabet.size()];
    return t;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::u32string a = text();
    const std::u32string b = round % 3 ? text() : a.substr(0, a.size() / 2) + U"c" + a.substr(a.size() / 2);
    const int distance = full(a, b);
    const int limit = static_cast<int>(random() % 8);
    EXPECT_EQ(editDistance(unicode::fromScalars(a), unicode::fromScalars(b), limit),
              distance <= limit ? std::optional(distance) : std::nullopt);
  }
}

TEST(TextTools, NumberReadsLenientDecimals) {
  struct Case {
    std::optional<std::string_view> text;
    std::optional<double> expected;
  };
  const Case cases[] = {
      {" 120,5 ", 120.5},    {"1e3", 1000.0},           {"\t-7.25", -7.25},           {"128", 128.0},
      {"0x1A", 26.0},        {"1,234.5", std::nullopt}, {"1,2,3", std::nullopt},      {"abc", std::nullopt},
      {"", std::nullopt},    {"   ", std::nullopt},     {std::nullopt, std::nullopt}, {"inf", std::nullopt},
      {"nan", std::nullopt}, {"\n12", std::nullopt},    {"12\n", std::nullopt},       {"1 2", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(number(c.text), c.expected) << (c.text ? *c.text : "<absent>");
}

TEST(TextTools, IntegerTruncatesTowardZeroBelowOneBillion) {
  EXPECT_EQ(integer("999999999.9"), 999999999);
  EXPECT_EQ(integer("-7.9"), -7);
  EXPECT_EQ(integer("12.9"), 12);
  EXPECT_EQ(integer("-3,7"), -3);
  EXPECT_EQ(integer("1000000000"), std::nullopt);
  EXPECT_EQ(integer("-1e9"), std::nullopt);
  EXPECT_EQ(integer(std::nullopt), std::nullopt);
}

// Qt adopts the user's locale; parsing must not notice. CTest runs this suite
// once more with LC_ALL=de_DE.UTF-8, whose decimal separator is a comma.
TEST(TextTools, IgnoresTheProcessLocale) {
  const char* wanted = std::getenv("LC_ALL");
  if (wanted && std::string(wanted) == "de_DE.UTF-8") {
    const char* active = std::setlocale(LC_ALL, nullptr);
    if (!active || std::string(active) != "de_DE.UTF-8")
      GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  }
  EXPECT_EQ(number("128.5"), 128.5);
  EXPECT_EQ(number("128,5"), 128.5);
  EXPECT_EQ(integer("7.9"), 7);
}

}  // namespace
}  // namespace kesta::TextTools
