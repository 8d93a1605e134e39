#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kesta {

// One of the four columns of suggestions, each with its own idea of what fits
// next. Declaration order is the order every list of lane results follows.
class Lane {
 public:
  enum Value : std::uint8_t { groove, raise, breather, pivot };

  constexpr Lane(Value value) : value_(value) {}  // NOLINT: a lane is its case
  constexpr operator Value() const { return value_; }

  static constexpr std::array<Lane, 4> allCases() { return {groove, raise, breather, pivot}; }
  // Exactly one of "groove", "raise", "breather", "pivot", case-sensitive.
  static std::optional<Lane> fromRawValue(std::string_view text);

  // The raw value, also the lane's JSON form.
  std::string_view id() const;
  // "Keep groove", "Raise energy", "Breather", "Pivot".
  std::string_view title() const;
  // "GROOVE", "RAISE", "EASE", "PIVOT": the corner card's names.
  std::string_view shortTitle() const;

 private:
  Value value_;
};

}  // namespace kesta
