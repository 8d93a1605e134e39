#pragma once

#include <optional>
#include <string>
#include <variant>

namespace kesta {

// The state of screen reading as the user sees it.
struct ReaderHealth {
  // A capture works but neither deck could be read for this many whole seconds.
  struct CannotSeeDecks {
    int seconds = 0;
    friend bool operator==(const CannotSeeDecks&, const CannotSeeDecks&) = default;
  };
  // The frame source failed: a full text and, for the corner card, a short one.
  struct Failed {
    std::string text;
    std::optional<std::string> shortText;
    friend bool operator==(const Failed&, const Failed&) = default;
  };
  struct Idle {
    friend bool operator==(const Idle&, const Idle&) = default;
  };
  struct Connecting {
    friend bool operator==(const Connecting&, const Connecting&) = default;
  };
  struct Reading {
    friend bool operator==(const Reading&, const Reading&) = default;
  };

  std::variant<CannotSeeDecks, Failed, Idle, Connecting, Reading> value = Idle{};

  static ReaderHealth cannotSeeDecks(int seconds) { return {CannotSeeDecks{seconds}}; }
  static ReaderHealth failed(std::string text, std::optional<std::string> shortText) {
    return {Failed{std::move(text), std::move(shortText)}};
  }
  static ReaderHealth idle() { return {Idle{}}; }
  static ReaderHealth connecting() { return {Connecting{}}; }
  static ReaderHealth reading() { return {Reading{}}; }

  template <class C>
  const C* as() const {
    return std::get_if<C>(&value);
  }

  friend bool operator==(const ReaderHealth&, const ReaderHealth&) = default;
};

}  // namespace kesta
