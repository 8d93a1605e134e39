#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/json/json_value.h"

namespace kesta {

// A key as a position on the Camelot wheel: `number` 1...12, `minor` for the
// inner (A) ring. Every key text in the system (the collection's Tonality,
// key readouts on screen) is read into this one form.
struct MusicalKey {
  // The harmonic relation of one key to another.
  struct Relation {
    enum class Kind { change, same, relative, adjacent, diagonal };

    Kind kind = Kind::same;
    int steps = 0;  // only meaningful for `change`

    static Relation change(int steps) { return {Kind::change, steps}; }
    static Relation same() { return {Kind::same, 0}; }
    static Relation relative() { return {Kind::relative, 0}; }
    static Relation adjacent() { return {Kind::adjacent, 0}; }
    static Relation diagonal() { return {Kind::diagonal, 0}; }

    // Every relation but a change of two or more steps.
    bool isNeighbour() const { return kind != Kind::change; }

    friend bool operator==(const Relation& a, const Relation& b) {
      return a.kind == b.kind && (a.kind != Kind::change || a.steps == b.steps);
    }
  };

  int number = 1;
  bool minor = false;

  // Absent unless 1 <= number <= 12.
  static std::optional<MusicalKey> fromNumber(int number, bool minor);
  // Reads a Camelot code ("8A"), an Open Key code ("1m") or a classical name
  // ("Abm", "F#", "C major"); absent when the text is none of these.
  static std::optional<MusicalKey> parsing(std::string_view text);
  // The key of a root pitch class (0 = C, any integer, reduced mod 12) and mode;
  // every pitch class has a key on each ring, so this never fails.
  static MusicalKey fromPitchClass(int pitchClass, bool minor);

  // "8A", "12B".
  std::string camelot() const;
  std::string description() const { return camelot(); }
  // The root's pitch class; 0 for a number outside 1...12.
  int pitchClass() const;
  // Distance on the wheel in steps, 0...6, rings ignored.
  int wheelSteps(const MusicalKey& other) const;
  Relation relation(const MusicalKey& other) const;
  // Words for the move from this key to `other` ("up a fourth, to minor").
  std::string intervalPhrase(const MusicalKey& other) const;

  // {"minor": bool, "number": int}; decoding does not check the range.
  json::Value toJson() const;
  static MusicalKey fromJson(const json::Value& value);

  friend bool operator==(const MusicalKey&, const MusicalKey&) = default;
};

}  // namespace kesta

template <>
struct std::hash<kesta::MusicalKey> {
  std::size_t operator()(const kesta::MusicalKey& key) const noexcept {
    return std::hash<int>{}(key.number * 2 + (key.minor ? 1 : 0));
  }
};
