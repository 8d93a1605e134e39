#pragma once

namespace kesta {

// A deck's motion as judged from its elapsed-time readout.
struct DeckMotion {
  enum class Kind { stopped, empty, running, unknown };

  Kind kind = Kind::unknown;
  double seconds = 0;  // stopped only: how long the readout had stood still at its latest reading

  static DeckMotion stopped(double seconds) { return {Kind::stopped, seconds}; }
  static DeckMotion empty() { return {Kind::empty, 0}; }
  static DeckMotion running() { return {Kind::running, 0}; }
  static DeckMotion unknown() { return {Kind::unknown, 0}; }

  // stopped 1, empty 0, running 2, unknown 3.
  int category() const;

  friend bool operator==(const DeckMotion& a, const DeckMotion& b) {
    return a.kind == b.kind && (a.kind != Kind::stopped || a.seconds == b.seconds);
  }
};

}  // namespace kesta
