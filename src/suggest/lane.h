#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kesta {

// One of the four columns of suggestions, each with its own idea of what fits
// next. Declaration order is the order every list of lane results follows.
class Lane {
 public:
  enum Value : std::uint8_t { groove, raise, breather, pivot };
  // How many lanes there are; every table indexed by lane has this many entries.
  static constexpr std::size_t kCount = 4;

  constexpr Lane(Value value) : value_(value) {}  // NOLINT: a lane is its case
  constexpr operator Value() const { return value_; }

  static constexpr std::array<Lane, kCount> allCases() { return {groove, raise, breather, pivot}; }
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

static_assert(Lane::pivot + 1 == Lane::kCount, "a new lane needs its entries in every lane table");

}  // namespace kesta
