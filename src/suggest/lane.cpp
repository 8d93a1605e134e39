#include "suggest/lane.h"

namespace kesta {
namespace {

// Indexed by Lane::Value, one entry per lane.
constexpr std::array<std::string_view, 4> kIds{"groove", "raise", "breather", "pivot"};
constexpr std::array<std::string_view, 4> kTitles{"Keep groove", "Raise energy", "Breather", "Pivot"};
constexpr std::array<std::string_view, 4> kShortTitles{"GROOVE", "RAISE", "EASE", "PIVOT"};
static_assert(kIds.size() == Lane::kCount && kTitles.size() == Lane::kCount &&
              kShortTitles.size() == Lane::kCount);

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
