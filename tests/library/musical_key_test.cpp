#include "library/musical_key.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "golden.h"
#include "platform/json/json_coding.h"

namespace kesta {
namespace {

using Relation = MusicalKey::Relation;

std::string parsed(std::string_view text) {
  const auto key = MusicalKey::parsing(text);
  return key ? key->camelot() : "absent";
}

TEST(MusicalKey, ReadsEveryCamelotCode) {
  for (int number = 1; number <= 12; ++number) {
    for (const bool minor : {true, false}) {
      const std::string code = std::to_string(number) + (minor ? "A" : "B");
      const auto key = MusicalKey::parsing(code);
      ASSERT_TRUE(key) << code;
      EXPECT_EQ(key->number, number);
      EXPECT_EQ(key->minor, minor);
      EXPECT_EQ(key->camelot(), code);
      std::string lower = code;
      lower.back() = static_cast<char>(lower.back() - 'A' + 'a');
      EXPECT_EQ(MusicalKey::parsing(lower), key) << lower;
    }
  }
}

TEST(MusicalKey, ReadsEveryOpenKeyCode) {
  const std::pair<const char*, const char*> cases[] = {
      {"1m", "8A"},  {"2m", "9A"}, {"3m", "10A"},    {"4m", "11A"},     {"5m", "12A"},   {"6m", "1A"},
      {"7m", "2A"},  {"8m", "3A"}, {"9m", "4A"},     {"10m", "5A"},     {"11m", "6A"},   {"12m", "7A"},
      {"1d", "8B"},  {"2d", "9B"}, {"3d", "10B"},    {"4d", "11B"},     {"5d", "12B"},   {"6d", "1B"},
      {"7d", "2B"},  {"8d", "3B"}, {"9d", "4B"},     {"10d", "5B"},     {"11d", "6B"},   {"12d", "7B"},
      {"5M", "12A"}, {"1D", "8B"}, {"0m", "absent"}, {"13d", "absent"}, {"m", "absent"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(parsed(text), expected) << text;
}

TEST(MusicalKey, ReadsClassicalNamesAsRekordboxWritesThem) {
  using Cases = std::vector<std::pair<const char*, const char*>>;
  // rekordbox's spelling: flats, and sharps only for F#.
  const Cases rekordbox = {{"Abm", "1A"},  {"Ebm", "2A"},  {"Bbm", "3A"}, {"Fm", "4A"}, {"Cm", "5A"},
                           {"Gm", "6A"},   {"Dm", "7A"},   {"Am", "8A"},  {"Em", "9A"}, {"Bm", "10A"},
                           {"F#m", "11A"}, {"Dbm", "12A"}, {"B", "1B"},   {"F#", "2B"}, {"Db", "3B"},
                           {"Ab", "4B"},   {"Eb", "5B"},   {"Bb", "6B"},  {"F", "7B"},  {"C", "8B"},
                           {"G", "9B"},    {"D", "10B"},   {"A", "11B"},  {"E", "12B"}};
  const Cases otherSpellings = {{"G#m", "1A"},  {"D#m", "2A"},       {"A#m", "3A"},     {"Gbm", "11A"},
                                {"C#m", "12A"}, {"Cb", "1B"},        {"Gb", "2B"},      {"C#", "3B"},
                                {"B#", "8B"},   {"F\u266Fm", "11A"}, {"D\u266D", "3B"}, {"E\u266Dm", "2A"},
                                {"am", "8A"},   {"bbm", "3A"},       {"ab", "4B"}};
  const Cases modeWords = {{"Fmin", "4A"},  {"A min", "8A"},   {"AMin", "8A"},     {"Ami", "8A"},
                           {"A-", "8A"},    {"A minor", "8A"}, {"A Minor", "8A"},  {"AM", "11B"},
                           {"Amaj", "11B"}, {"A Maj", "11B"},  {"A Major", "11B"}, {"A major", "11B"}};
  const Cases whiteSpace = {{" 8a ", "8A"}, {"\t12B\n", "12B"}, {"  Abm  ", "1A"}};
  for (const Cases& cases : {rekordbox, otherSpellings, modeWords, whiteSpace}) {
    for (const auto& [text, expected] : cases) EXPECT_EQ(parsed(text), expected) << text;
  }
}

TEST(MusicalKey, RefusesTextsThatAreNoKey) {
  for (const char* text :
       {"",     "   ",       "0A",     "13A", "13B", "-1A", "8 A", "H",       "Am7", "A m7",
        "Ammm", "A major 7", "AMINOR", "Hm",  "#m",  "?",   "1A2", "\u00c1m", "Cbb", "8AA"}) {
    EXPECT_EQ(parsed(text), "absent") << text;
  }
}

TEST(MusicalKey, MakesKeysFromNumbersAndRoots) {
  EXPECT_FALSE(MusicalKey::fromNumber(0, true));
  EXPECT_FALSE(MusicalKey::fromNumber(13, false));
  EXPECT_EQ(MusicalKey::fromNumber(12, false)->camelot(), "12B");
  EXPECT_EQ(MusicalKey::fromPitchClass(-1, false).camelot(), "1B");
  EXPECT_EQ(MusicalKey::fromPitchClass(24, true).camelot(), "5A");
  for (int number = 1; number <= 12; ++number) {
    for (const bool minor : {true, false}) {
      const MusicalKey key{number, minor};
      EXPECT_EQ(MusicalKey::fromPitchClass(key.pitchClass(), minor), key);
    }
  }
  EXPECT_EQ((MusicalKey{8, true}.pitchClass()), 9);   // A minor
  EXPECT_EQ((MusicalKey{8, false}.pitchClass()), 0);  // C major
  EXPECT_EQ((MusicalKey{13, false}.pitchClass()), 0);
}

TEST(MusicalKey, RelationsOnTheWheel) {
  struct Case {
    MusicalKey from, to;
    int steps;
    Relation relation;
  };
  const Case cases[] = {
      {{8, true}, {8, true}, 0, Relation::same()},        {{8, true}, {8, false}, 0, Relation::relative()},
      {{8, true}, {9, true}, 1, Relation::adjacent()},    {{8, true}, {7, true}, 1, Relation::adjacent()},
      {{8, true}, {7, false}, 1, Relation::diagonal()},   {{1, true}, {12, false}, 1, Relation::diagonal()},
      {{12, false}, {1, false}, 1, Relation::adjacent()}, {{8, true}, {10, true}, 2, Relation::change(2)},
      {{1, true}, {8, false}, 5, Relation::change(5)},    {{1, true}, {7, true}, 6, Relation::change(6)},
      {{3, false}, {11, true}, 4, Relation::change(4)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.from.wheelSteps(c.to), c.steps) << c.from.camelot() << " to " << c.to.camelot();
    EXPECT_EQ(c.from.relation(c.to), c.relation) << c.from.camelot() << " to " << c.to.camelot();
    EXPECT_EQ(c.from.relation(c.to).isNeighbour(), c.steps <= 1);
  }
  // Keys decoded from stored files may lie off the wheel; the distance stays defined.
  EXPECT_EQ((MusicalKey{INT_MIN, true}.wheelSteps(MusicalKey{INT_MAX, true})), 3);  // 2^32 - 1 steps
  EXPECT_EQ((MusicalKey{25, true}.relation(MusicalKey{1, true})), Relation::same());
  EXPECT_NE(Relation::change(2), Relation::change(3));
  EXPECT_NE(Relation::same(), Relation::relative());
}

TEST(MusicalKey, IntervalPhrases) {
  const std::tuple<MusicalKey, MusicalKey, const char*> cases[] = {
      {{8, true}, {8, true}, "same key"},
      {{8, true}, {8, false}, "up a minor third, to major"},  // A minor to C major
      {{8, false}, {5, true}, "parallel minor"},              // C major to C minor
      {{5, true}, {8, false}, "parallel major"},
      {{8, true}, {9, false}, "down a whole step, to major"},  // A minor to G major
      {{8, false}, {9, false}, "down a fourth"},               // C to G
      {{8, false}, {7, false}, "up a fourth"},                 // C to F
      {{8, false}, {3, false}, "up a semitone"},               // C to Db
      {{8, false}, {2, false}, "a tritone away"},              // C to F#
      {{8, false}, {1, false}, "down a semitone"},             // C to B
      {{8, false}, {12, true}, "up a semitone, to minor"},     // C to C# minor
  };
  for (const auto& [from, to, phrase] : cases) EXPECT_EQ(from.intervalPhrase(to), phrase);
}

TEST(MusicalKey, JsonForm) {
  const MusicalKey key{1, true};
  EXPECT_EQ(json::write(key.toJson()), test::readGolden("musical_key.json"));
  EXPECT_EQ(MusicalKey::fromJson(json::parse(test::readGolden("musical_key.json"))), key);
  // Decoding keeps what is stored, even off the wheel.
  EXPECT_EQ(MusicalKey::fromJson(json::parse(R"({"minor":false,"number":14})")), (MusicalKey{14, false}));
  for (const char* bad : {R"({"number":1})", R"({"minor":true})", R"({"minor":1,"number":1})",
                          R"({"minor":true,"number":"1"})", R"({"minor":true,"number":1.5})", "[]"}) {
    EXPECT_THROW(MusicalKey::fromJson(json::parse(bad)), json::DecodingError) << bad;
  }
}

}  // namespace
}  // namespace kesta
