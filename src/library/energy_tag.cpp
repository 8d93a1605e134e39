#include "library/energy_tag.h"

#include <algorithm>

#include "platform/text/numbers.h"
#include "platform/text/regex.h"

namespace kesta::EnergyTag {

namespace {

// No letter outside ASCII folds to one of "energy", so this cheap test can
// rule a text out before the regular expression runs.
bool mentionsEnergy(std::string_view text) {
  constexpr std::string_view word = "energy";
  const auto it = std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
  });
  return it != text.end();
}

}  // namespace

std::optional<int> parse(const std::vector<std::string_view>& fields) {
  static const Regex rating(R"(energy\s*[:\-]?\s*(10|[1-9])(?!\d))", /*caseInsensitive=*/true);
  for (const std::string_view field : fields) {
    if (field.empty() || !mentionsEnergy(field)) continue;
    const auto match = rating.firstMatch(field);
    if (!match || !match->groups.at(1)) continue;
    if (const auto value = numbers::parseInteger(*match->groups[1])) return static_cast<int>(*value);
  }
  return std::nullopt;
}

}  // namespace kesta::EnergyTag
