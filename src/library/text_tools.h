#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// The one place where text is made comparable: every match between what a deck
// shows and what the collection holds goes through these keys.
namespace kesta::TextTools {

// The matching key: case, accents and width folded, letters and digits only,
// Cyrillic and Greek lookalike letters read as Latin.
std::string normalized(std::string_view text);

// The words of a text, case and accents folded (not width), in order.
std::vector<std::string> tokens(std::string_view text);

// Words that join artist names ("feat", "vs", ...).
const std::set<std::string, std::less<>>& artistJoiners();

// Distinctive artist words: tokens of two or more characters that are not joiners.
std::set<std::string> artistTokens(std::string_view text);

// Levenshtein distance by Unicode scalars, absent when it exceeds `limit`.
std::optional<int> editDistance(std::string_view a, std::string_view b, int limit);

// Lenient decimal reader: trims spaces and tabs, a lone comma is a decimal point.
std::optional<double> number(std::optional<std::string_view> text);

// Whole numbers through `number`, truncated toward zero; |x| ≥ 1e9 is absent.
std::optional<int> integer(std::optional<std::string_view> text);

}  // namespace kesta::TextTools
