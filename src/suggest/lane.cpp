#include "suggest/lane.h"

namespace kesta {
namespace {

// Indexed by Lane::Value.
constexpr std::array<std::string_view, Lane::kCount> kIds{"groove", "raise", "breather", "pivot"};
constexpr std::array<std::string_view, Lane::kCount> kTitles{"Keep groove", "Raise energy", "Breather",
                                                             "Pivot"};
constexpr std::array<std::string_view, Lane::kCount> kShortTitles{"GROOVE", "RAISE", "EASE", "PIVOT"};

}  // namespace

std::optional<Lane> Lane::fromRawValue(std::string_view text) {
  for (const Lane lane : allCases())
    if (lane.id() == text) return lane;
  return std::nullopt;
}

std::string_view Lane::id() const { return kIds[value_]; }
std::string_view Lane::title() const { return kTitles[value_]; }
std::string_view Lane::shortTitle() const { return kShortTitles[value_]; }

}  // namespace kesta
