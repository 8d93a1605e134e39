#pragma once

#include <optional>
#include <string_view>
#include <vector>

// Reads a DJ's 1-10 energy rating ("Energy: 7", "energy8") from free text fields.
namespace kesta::EnergyTag {

// `fields` in order of preference (the importer passes Comments, then Grouping);
// the first field with a rating decides.
std::optional<int> parse(const std::vector<std::string_view>& fields);

}  // namespace kesta::EnergyTag
