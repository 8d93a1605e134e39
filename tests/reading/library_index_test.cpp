#include "reading/library_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "library/text_tools.h"
#include "platform/text/unicode_text.h"
#include "reading/reading_fixtures.h"

namespace kesta {
namespace {

using test::libraryOf;
using test::libraryTrack;
using Titles = std::vector<std::string>;

Titles sorted(const std::vector<std::string_view>& views) {
  Titles out(views.begin(), views.end());
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::pair<std::string, int>> sorted(const std::vector<LibraryIndex::NearTitle>& near) {
  std::vector<std::pair<std::string, int>> out;
  for (const auto& n : near) out.emplace_back(n.title, n.distance);
  std::sort(out.begin(), out.end());
  return out;
}

TEST(LibraryIndex, EmptyLibraryAnswersNothing) {
  for (const LibraryIndex& index : {LibraryIndex(), LibraryIndex(Library::empty()), LibraryIndex(nullptr)}) {
    EXPECT_EQ(index.trackCount(), 0u);
    EXPECT_TRUE(index.allTitles().empty());
    EXPECT_FALSE(index.needsLanguageDetection());
    EXPECT_TRUE(index.idsForTitle("").empty());
    EXPECT_TRUE(index.longerTitles("").empty());
    EXPECT_TRUE(index.titlesWithPrefix("abcd").empty());
    EXPECT_TRUE(index.nearTitles("abcdefgh", 2).empty());
    EXPECT_TRUE(index.titlesContained("abcdefghij").empty());
    EXPECT_EQ(index.artist("1"), nullptr);
    EXPECT_TRUE(index.artistTokenSet("1").empty());
  }
}

TEST(LibraryIndex, TablesOfTitledAndUntitledTracks) {
  const LibraryIndex index(libraryOf({
      libraryTrack("1", "Great Song", "The Artist & DJ X"),
      libraryTrack("2", " \t", "Hidden Artist"),
      libraryTrack("3", "great-song!", "Other"),
      libraryTrack("4", "Greatsong Extended", ""),
  }));
  ASSERT_NE(index.track("2"), nullptr);
  EXPECT_EQ(index.artist("2"), nullptr);
  EXPECT_EQ(index.trackCount(), 4u);
  EXPECT_EQ(index.idsForTitle("greatsong"), (Titles{"1", "3"}));
  EXPECT_EQ(index.allTitles().size(), 2u);
  EXPECT_EQ(*index.artist("1"), "theartistdjx");
  EXPECT_EQ(index.artistTokenSet("1"), (std::set<std::string>{"artist", "dj"}));
  EXPECT_EQ(*index.artist("4"), "");
  // Under four characters the whole title list is searched for longer titles.
  EXPECT_EQ(sorted(index.longerTitles("gr")), (Titles{"greatsong", "greatsongextended"}));
  EXPECT_TRUE(index.titlesWithPrefix("gre").empty());
}

TEST(LibraryIndex, LaterTrackWithTheSameIdReplacesEarlier) {
  const LibraryIndex index(libraryOf({libraryTrack("1", "First", "A"), libraryTrack("1", "Second", "B")}));
  EXPECT_EQ(index.track("1")->title, "Second");
  EXPECT_EQ(*index.artist("1"), "b");
  // An untitled entry still wins the id table, but leaves the titled one's artist.
  const LibraryIndex mixed(
      libraryOf({libraryTrack("1", "", "Untitled"), libraryTrack("1", "Named", "Artist")}));
  EXPECT_EQ(mixed.track("1")->artist, "Untitled");
  EXPECT_EQ(*mixed.artist("1"), "artist");
}

TEST(LibraryIndex, NearTitlesSearchOnlySharedHeadsAndTails) {
  const LibraryIndex index(libraryOf({
      libraryTrack("1", "abcdefgh"),
      libraryTrack("2", "abcdxfgh"),
      libraryTrack("3", "abcxefg"),
      libraryTrack("4", "abcdefg"),
  }));
  EXPECT_EQ(sorted(index.nearTitles("abcdefgh", 1)),
            (std::vector<std::pair<std::string, int>>{{"abcdefg", 1}, {"abcdxfgh", 1}}));
  // One edit inside both the first and the last four characters: in neither bucket.
  const LibraryIndex lone(libraryOf({libraryTrack("1", "abcxefg")}));
  EXPECT_TRUE(lone.nearTitles("abcdefg", 1).empty());
  EXPECT_TRUE(index.nearTitles("abcde", 5).empty());
  EXPECT_TRUE(index.nearTitles("abcdefgh", -1).empty());
}

TEST(LibraryIndex, ContainedTitlesAreLongEnough) {
  const LibraryIndex index(libraryOf({
      libraryTrack("1", "Great Song"),
      libraryTrack("2", "Artist"),
      libraryTrack("3", "greatsongartist"),
  }));
  EXPECT_EQ(sorted(index.titlesContained("greatsongartist")), (Titles{"greatsong"}));
  EXPECT_TRUE(index.titlesContained("great").empty());
  // A title found twice in the text is listed once.
  EXPECT_EQ(sorted(index.titlesContained("greatsonggreatsong")), (Titles{"greatsong"}));
}

TEST(LibraryIndex, LanguageDetectionScripts) {
  struct Case {
    std::string title;
    std::string artist;
    bool needed;
  };
  const std::vector<Case> cases = {
      {"Café Déjà Vu", "Ünïcödé", false},
      {"Москва", "Ελληνικά", false},
      {"さくら", "", true},
      {"Song", "김민수", true},
      {"שלום", "", true},
      {"Song", "ไทย", true},
      {"东京", "", true},
      {"", "ｶﾀｶﾅ", false},     // half-width katakana lies outside the ranges
      {"", "カタカナ", true},  // an untitled track counts too
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title + " / " + c.artist);
    EXPECT_EQ(LibraryIndex(libraryOf({libraryTrack("1", c.title, c.artist)})).needsLanguageDetection(),
              c.needed);
  }
  EXPECT_FALSE(LibraryIndex::hasDetectionOnlyScript(""));
  EXPECT_FALSE(LibraryIndex::hasDetectionOnlyScript("\xE4"));  // a cut-off sequence is no character
}

TEST(LibraryIndex, RecognitionLanguagesFollowTheLettersOfTheLibrary) {
  using L = RecognitionLanguages;
  const struct {
    std::string title;
    std::string artist;
    L languages;
  } cases[] = {
      {"Strobe (Club Edit)", "deadmau5", L::english},
      {"Price \u00D7 2 \u00F7 3", "", L::english},  // × and ÷ are no letters
      {"Ma\u00F1ana", "", L::latin},                // ñ
      {"", "S\u00F8ren", L::latin},                 // ø, in the artist
      {"\u00C0 la carte", "", L::latin},            // À, the first Latin-1 letter
      {"\u0142\u00F3d\u017A", "", L::latin},        // ł ó ź, Latin Extended-A
      {"Vi\u1EC7t", "", L::latin},                  // ệ, Latin Extended Additional
      {"\u041C\u043E\u0441\u043A\u0432\u0430", "", L::english},
      {"Caf\u00E9", "\u3055\u304F\u3089", L::latin.with(Script::japanese)},       // さくら beside é
      {"\u6771\u4EAC\u30CA\u30A4\u30C8", "", L::english.with(Script::japanese)},  // 東京ナイト: kana
      {"\u661F\u7A7A", "", L::english.with(Script::chinese)},                     // 星空: ideographs alone
      {"\u3400", "", L::english.with(Script::chinese)},                           // Extension A
      {"\uF900", "", L::english.with(Script::chinese)},                           // a compatibility ideograph
      {"\uC11C\uC6B8", "", L::english.with(Script::korean)},                      // 서울
      {"\u1100", "", L::english.with(Script::korean)},                            // a Hangul jamo
      {"", "\u05E9\u05DC\u05D5\u05DD", L::english.with(Script::hebrew)},          // שלום, in the artist
      {"\u0644\u064A\u0627\u0644\u064A", "", L::english.with(Script::arabic)},    // ليالي
      {"\u0E2A\u0E33", "", L::english.with(Script::thai)},                        // สำ
      {"\u05D0 \u0627", "\u0E01", L::english.with(Script::hebrew).with(Script::arabic).with(Script::thai)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LibraryIndex(libraryOf({libraryTrack("1", c.title, c.artist)})).recognitionLanguages(),
              c.languages)
        << c.title << " / " << c.artist;
  }
}

// Lookups agree with a plain scan over every title of random libraries whose
// titles share heads, tails and substrings often.
class IndexAgainstScan : public ::testing::Test {
 protected:
  std::mt19937 random{20240611};

  std::string randomText(std::size_t minimum, std::size_t maximum) {
    static const std::vector<std::string> pieces = {"a", "b", "c", "d", "A", " ", "-", "é", "1", "ж"};
    std::uniform_int_distribution<std::size_t> length(minimum, maximum);
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::string text;
    for (std::size_t n = length(random); n > 0; --n) text += pieces[piece(random)];
    return text;
  }

  std::string mutated(std::string text) {
    std::uniform_int_distribution<int> edits(0, 2);
    for (int n = edits(random); n > 0 && !text.empty(); --n) {
      std::uniform_int_distribution<std::size_t> at(0, text.size() - 1);
      const std::size_t position = at(random);
      // Replace single-byte characters only, so the text stays valid UTF-8.
      if ((static_cast<unsigned char>(text[position]) & 0x80) == 0) text[position] = "abcd"[edits(random)];
    }
    return text;
  }

  // The alphabet has no combining marks: characters are scalars.
  static std::size_t length(std::string_view text) { return unicode::toScalars(text).size(); }
  static std::string first4(const std::string& t) {
    return unicode::fromScalars(unicode::toScalars(t).substr(0, 4));
  }
  static std::string last4(const std::string& t) {
    const std::u32string s = unicode::toScalars(t);
    return unicode::fromScalars(s.substr(s.size() - 4));
  }
};

TEST_F(IndexAgainstScan, LookupsMatchBruteForce) {
  // How often each lookup had something to find, so the comparison is never vacuous.
  std::size_t exactHits = 0, prefixHits = 0, longerHits = 0, nearHits = 0, containedHits = 0;
  for (int round = 0; round < 25; ++round) {
    std::vector<Track> tracks;
    for (int i = 0; i < 150; ++i)
      tracks.push_back(libraryTrack(std::to_string(i), randomText(2, 12), randomText(0, 6)));
    const LibraryIndex index(libraryOf(tracks));

    std::vector<std::string> titles;
    for (const auto& t : tracks) {
      const std::string n = TextTools::normalized(t.title);
      if (t.hasTitle() && std::find(titles.begin(), titles.end(), n) == titles.end()) titles.push_back(n);
    }
    ASSERT_EQ(Titles(index.allTitles()), titles);

    std::vector<std::string> queries;
    for (int q = 0; q < 60; ++q) {
      queries.push_back(TextTools::normalized(randomText(1, 30)));
      const std::string& some = titles[static_cast<std::size_t>(q) % titles.size()];
      queries.push_back(mutated(some));
      const std::u32string scalars = unicode::toScalars(some);
      queries.push_back(unicode::fromScalars(scalars.substr(0, scalars.size() / 2 + 1)));
      queries.push_back(titles[(q * 7) % titles.size()] + some);
    }
    for (const auto& query : queries) {
      SCOPED_TRACE(query);
      const std::size_t n = length(query);
      Titles exact, prefix, longer, contained;
      std::vector<std::pair<std::string, int>> near;
      for (const auto& title : titles) {
        const std::size_t t = length(title);
        if (title == query)
          for (const auto& track : tracks)
            if (track.hasTitle() && TextTools::normalized(track.title) == title) exact.push_back(track.id);
        if (n >= 4 && title.starts_with(query)) prefix.push_back(title);
        if (t > n && title.starts_with(query)) longer.push_back(title);
        if (n >= 6 && t >= 6 && 2 * t >= n && title != query && query.find(title) != std::string::npos)
          contained.push_back(title);
        if (n >= 6 && t >= 4 && title != query &&
            (first4(title) == first4(query) || last4(title) == last4(query)))
          if (const auto d = TextTools::editDistance(title, query, 2)) near.emplace_back(title, *d);
      }
      std::sort(prefix.begin(), prefix.end());
      std::sort(longer.begin(), longer.end());
      std::sort(near.begin(), near.end());
      exactHits += !exact.empty();
      prefixHits += !prefix.empty();
      longerHits += !longer.empty();
      nearHits += !near.empty();
      containedHits += !contained.empty();
      EXPECT_EQ(index.idsForTitle(query), exact);
      EXPECT_EQ(sorted(index.titlesWithPrefix(query)), prefix);
      EXPECT_EQ(sorted(index.longerTitles(query)), longer);
      EXPECT_EQ(sorted(index.nearTitles(query, 2)), near);
      const auto found = index.titlesContained(query);
      EXPECT_EQ(Titles(found.begin(), found.end()), contained);
    }
  }
  for (const std::size_t hits : {exactHits, prefixHits, longerHits, nearHits, containedHits})
    EXPECT_GT(hits, 100u);
}

}  // namespace
}  // namespace kesta
