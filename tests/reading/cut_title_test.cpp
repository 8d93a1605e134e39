// Titles cut short on a deck, drawn as the screen draws them and read as the
// recogniser reads them: the words left to right, each with its letters in
// its own direction's order. The ellipsis tells a cut line's order, and a cut
// line names no track its screen cannot show.

#include <gtest/gtest.h>
#include <unicode/ubidi.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "library/text_tools.h"
#include "platform/json/json_coding.h"
#include "platform/ocr/line_text.h"
#include "platform/text/unicode_text.h"
#include "reading/deck_text_extractor.h"
#include "reading/library_index.h"
#include "reading/reading_fixtures.h"

namespace kesta {
namespace {

using test::libraryOf;
using test::libraryTrack;

bool rightToLeft(const icu::UnicodeString& word) {
  for (int i = 0; i < word.length(); ++i) {
    const UCharDirection direction = u_charDirection(word.charAt(i));
    if (direction == U_LEFT_TO_RIGHT) return false;
    if (direction == U_RIGHT_TO_LEFT || direction == U_RIGHT_TO_LEFT_ARABIC) return true;
  }
  return false;
}

// The words of a line as a screen shows them, its paragraph direction taken
// from its first letter: runs of non-blank characters left to right, each
// word's letters in the order its own direction reads them.
std::vector<LineText::Word> drawn(const std::string& text) {
  const icu::UnicodeString line = icu::UnicodeString::fromUTF8(text);
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<UBiDi, decltype(&ubidi_close)> bidi(ubidi_open(), ubidi_close);
  ubidi_setPara(bidi.get(), line.getBuffer(), line.length(), UBIDI_DEFAULT_LTR, nullptr, &status);
  std::vector<int32_t> logical(std::size_t(line.length()));
  ubidi_getVisualMap(bidi.get(), logical.data(), &status);
  EXPECT_TRUE(U_SUCCESS(status)) << text;
  std::vector<LineText::Word> words;
  icu::UnicodeString word;
  const auto flush = [&](int end) {
    if (word.isEmpty()) return;
    if (rightToLeft(word)) word.reverse();
    std::string utf8;
    words.push_back({word.toUTF8String(utf8), 10 * (end - word.length())});
    word.remove();
  };
  for (int at = 0; at < line.length(); ++at) {
    const UChar c = line.charAt(logical[std::size_t(at)]);
    if (c == u' ') {
      flush(at);
    } else {
      word.append(c);
    }
  }
  flush(line.length());
  return words;
}

// A line drawn on the deck as the recogniser gives it back.
RecognizedLine read(const std::string& text, double top) {
  const std::vector<LineText::Word> words = drawn(text);
  return {LineText::inLogicalOrder(words), {0, top, 0.6, 0.1}, LineText::inOtherOrder(words)};
}

// A deck showing a title and an artist line (none when empty), beside its
// clock and a readout line (none when empty).
std::vector<RecognizedLine> deck(const std::string& title, const std::string& artist,
                                 const std::string& readouts = "") {
  std::vector<RecognizedLine> lines = {read(title, 0), {"3:21", {0, 0.5, 0.2, 0.1}}};
  if (!artist.empty()) lines.push_back(read(artist, 0.2));
  if (!readouts.empty()) lines.push_back(read(readouts, 0.7));
  return lines;
}

std::string describe(const MatchResult& result) {
  return json::write(result.reading.toJson()) + " by " + result.rule;
}

DeckReading track(std::string id, MatchStrength strength = MatchStrength::normal) {
  return DeckReading::track(std::move(id), strength);
}

TEST(CutTitle, ACutTitleReadsAsTheTrackShown) {
  const Track amr = libraryTrack("1", "Cairo Nights ليالي القاهرة", "Amr");
  const Track nourMix = libraryTrack("2", "ليالي القاهرة Cairo Nights (Extended Mix)", "Nour");
  const Track amrMix = libraryTrack("3", "ليالي القاهرة Cairo Nights (Extended Mix)", "Amr");
  const Track amrEdit = libraryTrack("4", "Cairo Nights ليالي القاهرة (Radio Edit)", "Amr");
  const Track sea = libraryTrack("5", "ים של אהבה", "עומר אדם");
  const Track seaMix = libraryTrack("6", "ים של אהבה (Original Mix)", "עומר אדם");
  const std::vector<Track> scripts = {
      libraryTrack("10", "Midnight Signal", "Echo Unit"),
      libraryTrack("11", "Midnight Signal (Club Mix)", "Echo Unit"),
      libraryTrack("12", "طريق الحب", "عمرو دياب"),
      libraryTrack("13", "طريق الحب (Remix)", "عمرو دياب"),
      libraryTrack("14", "ทะเลดาว", "Palmy"),
      libraryTrack("15", "ทะเลดาว (Remix)", "Palmy"),
      libraryTrack("16", "東京の夜", "Aimer"),
      libraryTrack("17", "東京の夜 (Remix)", "Aimer"),
      libraryTrack("18", "서울의 밤", "IU"),
      libraryTrack("19", "서울의 밤 (Remix)", "IU"),
      libraryTrack("20", "月亮代表我的心", "鄧麗君"),
      libraryTrack("21", "月亮代表我的心 (Remix)", "鄧麗君"),
  };
  const struct {
    const char* name;
    std::vector<Track> library;
    std::string title;  // in the order it is written
    std::string artist;
    std::string id;
  } cases[] = {
      {"an extended mix cut, its artist shown", {amr, nourMix}, "ليالي القاهرة Cairo Nights …", "Nour", "2"},
      {"the extended mix cut, no artist line", {amr, nourMix}, "ليالي القاهرة Cairo Nights …", "", "2"},
      {"the ellipsis glued to a Latin word", {amr, nourMix}, "ليالي القاهرة Cairo Nights…", "Nour", "2"},
      {"one artist, the version tagged in the other order",
       {amr, amrMix},
       "ليالي القاهرة Cairo Nights…",
       "Amr",
       "3"},
      {"the ellipsis glued to an Arabic word", {amr, amrEdit}, "Cairo Nights ليالي القاهرة…", "Amr", "4"},
      {"a Hebrew version cut after its bracket", {sea, seaMix}, "ים של אהבה (…", "עומר אדם", "6"},
      {"a whole Hebrew title", {sea, seaMix}, "ים של אהבה", "עומר אדם", "5"},
      {"a whole Latin title", scripts, "Midnight Signal", "Echo Unit", "10"},
      {"a Latin version", scripts, "Midnight Signal (Club Mix)", "Echo Unit", "11"},
      {"a whole Arabic title", scripts, "طريق الحب", "عمرو دياب", "12"},
      {"an Arabic remix", scripts, "طريق الحب (Remix)", "عمرو دياب", "13"},
      {"a Thai remix", scripts, "ทะเลดาว (Remix)", "Palmy", "15"},
      {"a whole Japanese title", scripts, "東京の夜", "Aimer", "16"},
      {"a Korean remix", scripts, "서울의 밤 (Remix)", "IU", "19"},
      {"a whole Chinese title", scripts, "月亮代表我的心", "鄧麗君", "20"},
  };
  for (const auto& c : cases) {
    const LibraryIndex index(libraryOf(c.library));
    const MatchResult result = DeckTextExtractor::match(deck(c.title, c.artist), index);
    const auto* track = result.reading.as<DeckReading::Track>();
    EXPECT_TRUE(track && track->id == c.id) << c.name << ": " << describe(result);
  }
}

// A title that ends in dots shows whole as its longer versions show cut
// there: the deck holds either, unless the artist or key shown tells. A cut
// line that no title goes on from, a readout ending in a placeholder and a
// line of one word read as they would without the cut.
TEST(CutTitle, ATitleEndingInDotsShowsAsItsVersionsCut) {
  const Track wait = libraryTrack("1", "Wait for it...", "Kiko Bun", 122.0, "8A");
  const Track waitMix = libraryTrack("2", "Wait for it... (Extended Mix)", "Kiko Bun", 122.0, "5A");
  const Track holdOn = libraryTrack("3", "Hold On\u2026", "Amber");
  const Track holdOnMix = libraryTrack("4", "Hold On (Club Mix)", "Amber");
  const Track wait2 = libraryTrack("5", "انتظرني...", "نوال");
  const Track wait2Mix = libraryTrack("6", "انتظرني (Remix)", "نوال");
  const Track night = libraryTrack("7", "עוד לילה\u2026", "נועה");
  const Track nightMix = libraryTrack("8", "עוד לילה (Club Mix)", "נועה");
  const Track gloria = libraryTrack("9", "Gloria (...)", "Laura");
  const Track gloriaEdit = libraryTrack("10", "Gloria (Radio Edit)", "Laura");
  const Track signal = libraryTrack("11", "Midnight Signal", "Echo Unit");
  const Track lantern = libraryTrack("12", "Lantern", "Moss");
  const Track lanternMix = libraryTrack("13", "Lantern (Extended Mix)", "Moss");
  const auto either = [](std::vector<std::string> ids) { return DeckReading::ambiguous(std::move(ids)); };
  const struct {
    const char* name;
    std::vector<Track> library;
    std::string title, artist, readouts;
    DeckReading reading;
  } cases[] = {
      {"its artist shown", {wait, waitMix}, "Wait for it...", "Kiko Bun", "", either({"1", "2"})},
      {"no artist line", {wait, waitMix}, "Wait for it...", "", "", either({"1", "2"})},
      {"the key shown tells", {wait, waitMix}, "Wait for it...", "Kiko Bun", "8A --.-", track("1")},
      {"the version by another artist",
       {wait, libraryTrack("2", "Wait for it... (Extended Mix)", "Mako")},
       "Wait for it...",
       "Kiko Bun",
       "",
       track("1")},
      {"an ellipsis in the title", {holdOn, holdOnMix}, "Hold On\u2026", "Amber", "", either({"3", "4"})},
      {"Arabic", {wait2, wait2Mix}, "انتظرني...", "نوال", "", either({"5", "6"})},
      {"Hebrew", {night, nightMix}, "עוד לילה\u2026", "נועה", "", either({"7", "8"})},
      {"dots in brackets", {gloria, gloriaEdit}, "Gloria (...)", "Laura", "", either({"10", "9"})},
      {"read one letter off", {wait, waitMix}, "Wait for lt...", "Kiko Bun", "", either({"1", "2"})},
      {"read one letter off, held alone", {wait}, "Wait for lt...", "Kiko Bun", "", track("1")},
      {"a cut line no title goes on from", {signal}, "Midnight Sigmal\u2026", "Echo Unit", "", track("11")},
      {"one word, two dots", {lantern, lanternMix}, "Lantern..", "Moss", "", track("13")},
      {"one word, a dash and a dot", {lantern, lanternMix}, "Lantern-.", "Moss", "", track("13")},
      {"one word whole", {lantern, lanternMix}, "Lantern", "Moss", "", track("12", MatchStrength::strong)},
  };
  for (const auto& c : cases) {
    const MatchResult result =
        DeckTextExtractor::match(deck(c.title, c.artist, c.readouts), LibraryIndex(libraryOf(c.library)));
    EXPECT_EQ(result.reading, c.reading) << c.name << ": " << describe(result);
  }
}

// Generated libraries of songs whose titles join Arabic or Hebrew words with
// Latin ones, each with one to three tagged versions by its artist, one in
// three tagged with its words in the other order; one song in eight has a
// namesake by another artist, its words the other way round.
std::vector<Track> bothDirectionsLibrary(unsigned seed) {
  const std::vector<std::vector<std::string>> rtlWords = {
      {"ليالي", "القاهرة", "قلبي", "حبيبي", "نور", "العين", "بحر", "الشوق"},
      {"אהבה", "בתל", "אביב", "לילה", "שמש", "הלב", "חלום", "רחוק"}};
  const std::vector<std::string> latinWords = {"Cairo",  "Nights", "Habibi", "Love",
                                               "Summer", "Beirut", "Golden"};
  const std::vector<std::string> artists = {"Amr Diab",  "Nour",       "Yasmine Saad", "עומר אדם",
                                            "عمرو دياب", "DJ Tal שמש", "Elissa"};
  const std::vector<std::string> tags = {"(Remix)", "(Extended Mix)", "(Radio Edit)", "(Club Mix)"};
  std::mt19937 random(seed);
  const auto pick = [&](const auto& from) { return from[random() % from.size()]; };
  const auto twoWords = [&](const auto& words) { return pick(words) + " " + pick(words); };
  std::vector<Track> tracks;
  const auto add = [&](const std::string& title, const std::string& artist) {
    tracks.push_back(libraryTrack(std::to_string(tracks.size() + 1), title, artist));
  };
  for (int song = 0; song < 24; ++song) {
    const std::string latin = twoWords(latinWords);
    const std::string rtl = twoWords(rtlWords[random() % 2]);
    const bool latinFirst = random() % 2;
    const std::string title = latinFirst ? latin + " " + rtl : rtl + " " + latin;
    const std::string swapped = latinFirst ? rtl + " " + latin : latin + " " + rtl;
    const std::string artist = pick(artists);
    add(title, artist);
    if (random() % 8 == 0) add(swapped, pick(artists));
    std::vector<std::string> versions = tags;
    std::shuffle(versions.begin(), versions.end(), random);
    for (std::size_t v = 0, count = 1 + random() % 3; v < count; ++v)
      add((random() % 3 == 0 ? swapped : title) + " " + versions[v], artist);
  }
  return tracks;
}

// The first `count` characters of a text, without the blanks they end on.
std::string firstCharacters(const std::string& text, std::size_t count) {
  const std::vector<std::size_t> bounds = unicode::graphemeBoundaries(text);
  std::string start = text.substr(0, bounds[std::min(count, bounds.size() - 1)]);
  while (start.ends_with(' ')) start.pop_back();
  return start;
}

// Whether a deck showing `title` and `artist` (cut when they end with "…",
// none when the artist is empty) may hold the track: a cut text is the
// start of a longer one.
bool mayShow(const Track& track, const std::string& title, const std::string& artist) {
  const auto fits = [](const std::string& whole, const std::string& shown) {
    const std::string n = TextTools::normalized(whole);
    const std::string s = TextTools::normalized(shown);
    if (!shown.ends_with("…")) return n == s;
    // What the cut drops may be only a bracket, which normalising drops too.
    const std::size_t kept = unicode::graphemeCount(shown) - (shown.ends_with(" …") ? 2 : 1);
    return n.starts_with(s) && (n.size() > s.size() || unicode::graphemeCount(whole) > kept);
  };
  return fits(track.title, title) && (artist.empty() || fits(track.artist, artist));
}

// Every title of the generated libraries cut at each character from the
// sixth, the ellipsis glued or apart, its artist whole, cut or not shown: no
// deck names a track its screen cannot show, and as many read as the track
// shown as when each line is read in the order it is written.
TEST(CutTitle, NoCutTitleNamesATrackItsScreenCannotShow) {
  int decks = 0, right = 0, rightInOrder = 0;
  for (unsigned seed = 1; seed <= 3; ++seed) {
    const std::vector<Track> library = bothDirectionsLibrary(seed);
    const LibraryIndex index(libraryOf(library));
    for (const Track& shown : library) {
      std::vector<std::string> artists = {shown.artist, ""};
      if (const std::size_t letters = unicode::graphemeCount(shown.artist); letters > 6)
        artists.push_back(firstCharacters(shown.artist, letters * 2 / 3) + "…");
      const std::size_t length = unicode::graphemeCount(shown.title);
      for (std::size_t kept = 6; kept < length; ++kept) {
        for (const char* ellipsis : {"…", " …"}) {
          const std::string title = firstCharacters(shown.title, kept) + ellipsis;
          for (const std::string& artist : artists) {
            ++decks;
            const MatchResult result = DeckTextExtractor::match(deck(title, artist), index);
            std::vector<RecognizedLine> inOrder = {{title, {0, 0, 0.6, 0.1}}, {"3:21", {0, 0.5, 0.2, 0.1}}};
            if (!artist.empty()) inOrder.push_back({artist, {0, 0.2, 0.6, 0.1}});
            const MatchResult alone = DeckTextExtractor::match(inOrder, index);
            const auto* named = result.reading.as<DeckReading::Track>();
            const auto* namedAlone = alone.reading.as<DeckReading::Track>();
            right += named && named->id == shown.id;
            rightInOrder += namedAlone && namedAlone->id == shown.id;
            EXPECT_TRUE(!named || mayShow(*index.track(named->id), title, artist))
                << "seed " << seed << ", " << title << " by " << artist << ": " << describe(result);
          }
        }
      }
    }
  }
  EXPECT_GT(decks, 10000);
  EXPECT_GE(right, rightInOrder);
}

}  // namespace
}  // namespace kesta
