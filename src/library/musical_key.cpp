#include "library/musical_key.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "platform/json/json_coding.h"
#include "platform/text/numbers.h"
#include "platform/text/unicode_text.h"

namespace kesta {

namespace {

// Root pitch class (0 = C) of each wheel number, index 0 for number 1.
constexpr std::array<int, 12> kMinorRoots = {8, 3, 10, 5, 0, 7, 2, 9, 4, 11, 6, 1};
constexpr std::array<int, 12> kMajorRoots = {11, 6, 1, 8, 3, 10, 5, 0, 7, 2, 9, 4};

constexpr std::array<std::string_view, 12> kIntervalPhrases = {"",
                                                               "up a semitone",
                                                               "up a whole step",
                                                               "up a minor third",
                                                               "up a major third",
                                                               "up a fourth",
                                                               "a tritone away",
                                                               "down a fourth",
                                                               "down a major third",
                                                               "down a minor third",
                                                               "down a whole step",
                                                               "down a semitone"};

int mod12(int value) { return ((value % 12) + 12) % 12; }

// A key letter's index here is its root's pitch class.
constexpr std::string_view kLetterRoots = "C D EF G A B";

std::optional<int> letterPitchClass(char letter) {
  const char upper = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
  const std::size_t at = upper == ' ' ? std::string_view::npos : kLetterRoots.find(upper);
  if (at == std::string_view::npos) return std::nullopt;
  return static_cast<int>(at);
}

std::optional<bool> modeOfSuffix(std::string_view suffix) {
  for (const std::string_view word : {"m", "min", "Min", "mi", "-", "minor", "Minor"}) {
    if (suffix == word) return true;
  }
  for (const std::string_view word : {"", "maj", "Maj", "Major", "M", "major"}) {
    if (suffix == word) return false;
  }
  return std::nullopt;
}

// The plain integer reading: optional sign, then ASCII digits, nothing else.
std::optional<long long> plainInteger(std::string_view text) {
  if (text.empty()) return std::nullopt;
  return numbers::parseInteger(text);
}

// Works on UTF-8 bytes: every character the notations use is ASCII, and an
// ASCII byte is always a whole scalar.
std::optional<MusicalKey> classicalName(std::string_view s) {
  const auto letterRoot = letterPitchClass(s.front());
  if (!letterRoot) return std::nullopt;
  int root = *letterRoot;
  std::size_t suffixStart = 1;
  if (s.size() >= 2 && s[1] == '#') {
    root += 1;
    suffixStart = 2;
  } else if (s.size() >= 2 && s[1] == 'b') {
    root -= 1;
    suffixStart = 2;
  }
  const auto minor = modeOfSuffix(unicode::trimmed(s.substr(suffixStart), unicode::isWhitespace));
  if (!minor) return std::nullopt;
  return MusicalKey::fromPitchClass(root, *minor);
}

}  // namespace

std::optional<MusicalKey> MusicalKey::fromNumber(int number, bool minor) {
  if (number < 1 || number > 12) return std::nullopt;
  return MusicalKey{number, minor};
}

std::optional<MusicalKey> MusicalKey::parsing(std::string_view text) {
  std::string s = unicode::trimmed(text, unicode::isWhitespaceOrNewline);
  for (const auto& [symbol, ascii] :
       {std::pair{std::string_view("\u266F"), '#'}, {std::string_view("\u266D"), 'b'}}) {
    for (std::size_t at = s.find(symbol); at != std::string::npos; at = s.find(symbol, at + 1)) {
      s.replace(at, symbol.size(), 1, ascii);
    }
  }
  if (s.empty()) return std::nullopt;

  const char last = s.back();
  const std::string_view rest = std::string_view(s).substr(0, s.size() - 1);

  // Camelot: a number, then A (minor) or B (major). A number outside the wheel
  // decides too: "13A" is no key at all rather than some other notation.
  if (last == 'A' || last == 'a' || last == 'B' || last == 'b') {
    if (const auto n = plainInteger(rest)) {
      if (*n < 1 || *n > 12) return std::nullopt;
      return MusicalKey{static_cast<int>(*n), last == 'A' || last == 'a'};
    }
  }
  // Open Key: a number, then m (minor) or d (major); 1d is C major (8B).
  if (last == 'm' || last == 'M' || last == 'd' || last == 'D') {
    if (const auto n = plainInteger(rest); n && *n >= 1 && *n <= 12) {
      const int number = static_cast<int>(*n);
      return MusicalKey{number < 6 ? number + 7 : number - 5, last == 'm' || last == 'M'};
    }
  }
  return classicalName(s);
}

MusicalKey MusicalKey::fromPitchClass(int pitchClass, bool minor) {
  const int pc = mod12(pitchClass);
  const auto& roots = minor ? kMinorRoots : kMajorRoots;
  for (std::size_t i = 0; i < roots.size(); ++i) {
    if (roots[i] == pc) return MusicalKey{static_cast<int>(i) + 1, minor};
  }
  return MusicalKey{1, minor};  // unreachable: each ring holds every pitch class
}

std::string MusicalKey::camelot() const { return std::to_string(number) + (minor ? "A" : "B"); }

int MusicalKey::pitchClass() const {
  if (number < 1 || number > 12) return 0;
  return (minor ? kMinorRoots : kMajorRoots)[static_cast<std::size_t>(number - 1)];
}

int MusicalKey::wheelSteps(const MusicalKey& other) const {
  // Wide arithmetic: a decoded key may hold any number, and the difference of
  // two ints can overflow.
  const auto d = static_cast<int>(std::llabs(static_cast<long long>(number) - other.number) % 12);
  return std::min(d, 12 - d);
}

MusicalKey::Relation MusicalKey::relation(const MusicalKey& other) const {
  const int steps = wheelSteps(other);
  const bool sameRing = minor == other.minor;
  if (steps == 0) return sameRing ? Relation::same() : Relation::relative();
  if (steps == 1) return sameRing ? Relation::adjacent() : Relation::diagonal();
  return Relation::change(steps);
}

std::string MusicalKey::intervalPhrase(const MusicalKey& other) const {
  const int semitones = mod12(other.pitchClass() - pitchClass());
  const bool sameRing = minor == other.minor;
  if (semitones == 0) {
    if (sameRing) return "same key";
    return other.minor ? "parallel minor" : "parallel major";
  }
  std::string phrase(kIntervalPhrases[static_cast<std::size_t>(semitones)]);
  if (!sameRing) phrase += other.minor ? ", to minor" : ", to major";
  return phrase;
}

json::Value MusicalKey::toJson() const { return json::Value{{"minor", minor}, {"number", number}}; }

MusicalKey MusicalKey::fromJson(const json::Value& value) {
  return MusicalKey{json::intField(value, "number"), json::boolField(value, "minor")};
}

}  // namespace kesta
