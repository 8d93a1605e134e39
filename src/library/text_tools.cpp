#include "library/text_tools.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

#include "platform/text/numbers.h"
#include "platform/text/unicode_text.h"

namespace kesta::TextTools {
namespace {

// Cyrillic and Greek lower-case letters that look like Latin ones, by shape:
// text recognition reads either, so both must give the same key.
const std::unordered_map<char32_t, char32_t>& homoglyphs() {
  static const std::unordered_map<char32_t, char32_t> table = {
      {U'\u0430', U'a'}, {U'\u0432', U'b'}, {U'\u0435', U'e'}, {U'\u0451', U'e'}, {U'\u043A', U'k'},
      {U'\u043C', U'm'}, {U'\u043D', U'h'}, {U'\u043E', U'o'}, {U'\u0440', U'p'}, {U'\u0441', U'c'},
      {U'\u0442', U't'}, {U'\u0443', U'y'}, {U'\u0445', U'x'}, {U'\u0456', U'i'}, {U'\u0458', U'j'},
      {U'\u0455', U's'}, {U'\u03B1', U'a'}, {U'\u03B2', U'b'}, {U'\u03B5', U'e'}, {U'\u03B7', U'n'},
      {U'\u03B9', U'i'}, {U'\u03BA', U'k'}, {U'\u03BD', U'v'}, {U'\u03BF', U'o'}, {U'\u03C1', U'p'},
      {U'\u03C4', U't'}, {U'\u03C5', U'u'}, {U'\u03C7', U'x'},
  };
  return table;
}

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isAsciiAlphanumeric(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string normalized(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  if (isAscii(text)) {
    for (const char c : text)
      if (isAsciiAlphanumeric(c)) out.push_back(asciiLower(c));
    return out;
  }
  const std::string folded =
      unicode::fold(text, {.caseInsensitive = true, .diacriticInsensitive = true, .widthInsensitive = true});
  const auto& table = homoglyphs();
  for (const char32_t scalar : unicode::toScalars(folded)) {
    if (!unicode::isAlphanumeric(scalar)) continue;
    const auto it = table.find(scalar);
    unicode::appendScalar(out, it == table.end() ? scalar : it->second);
  }
  return out;
}

std::vector<std::string> tokens(std::string_view text) {
  if (isAscii(text)) {
    std::vector<std::string> words;
    std::string current;
    for (const char c : text) {
      if (isAsciiAlphanumeric(c)) {
        current.push_back(asciiLower(c));
      } else if (!current.empty()) {
        words.push_back(std::move(current));
        current.clear();
      }
    }
    if (!current.empty()) words.push_back(std::move(current));
    return words;
  }
  const std::string folded = unicode::fold(text, {.caseInsensitive = true, .diacriticInsensitive = true});
  std::vector<std::string> words;
  std::string current;
  for (const char32_t scalar : unicode::toScalars(folded)) {
    if (unicode::isAlphanumeric(scalar)) {
      unicode::appendScalar(current, scalar);
    } else if (!current.empty()) {
      words.push_back(std::move(current));
      current.clear();
    }
  }
  if (!current.empty()) words.push_back(std::move(current));
  return words;
}

const std::set<std::string, std::less<>>& artistJoiners() {
  static const std::set<std::string, std::less<>> joiners = {"feat", "ft",   "featuring", "and",      "x",
                                                             "vs",   "with", "the",       "presents", "pres"};
  return joiners;
}

std::set<std::string> artistTokens(std::string_view text) {
  std::set<std::string> out;
  const auto& joiners = artistJoiners();
  for (auto& token : tokens(text)) {
    if (unicode::graphemeCount(token) < 2 || joiners.contains(token)) continue;
    out.insert(std::move(token));
  }
  return out;
}

namespace {

// Levenshtein distance computed only within `limit` of the diagonal: a cell
// farther from it holds at least that distance, so leaving it out (as
// `outside`, any value beyond the limit) changes no answer within the limit,
// and a row whose every cell is beyond the limit ends the search.
template <class Unit>
std::optional<int> boundedDistance(std::basic_string_view<Unit> a, std::basic_string_view<Unit> b,
                                   int limit) {
  const int n = static_cast<int>(a.size());
  const int m = static_cast<int>(b.size());
  if (std::abs(n - m) > limit) return std::nullopt;
  if (n == 0) return m <= limit ? std::optional(m) : std::nullopt;
  if (m == 0) return n <= limit ? std::optional(n) : std::nullopt;

  constexpr int kStackColumns = 64;
  std::array<int, 2 * kStackColumns> stack;
  std::vector<int> heap;
  int* previous = stack.data();
  if (m + 1 > kStackColumns) {
    heap.resize(2 * static_cast<std::size_t>(m + 1));
    previous = heap.data();
  }
  int* current = previous + (m + 1);

  const int outside = limit + 1;
  for (int j = 0; j <= std::min(m, outside); ++j) previous[j] = std::min(j, outside);
  for (int i = 1; i <= n; ++i) {
    const int low = std::max(1, i - limit);
    const int high = std::min(m, i + limit);
    current[low - 1] = low == 1 ? std::min(i, outside) : outside;
    int rowMinimum = current[low - 1];
    const Unit unit = a[static_cast<std::size_t>(i - 1)];
    for (int j = low; j <= high; ++j) {
      const int substitution = previous[j - 1] + (unit == b[static_cast<std::size_t>(j - 1)] ? 0 : 1);
      current[j] = std::min({substitution, current[j - 1] + 1, previous[j] + 1, outside});
      rowMinimum = std::min(rowMinimum, current[j]);
    }
    if (rowMinimum > limit) return std::nullopt;
    if (high < m) current[high + 1] = outside;
    std::swap(previous, current);
  }
  const int distance = previous[m];
  return distance <= limit ? std::optional(distance) : std::nullopt;
}

}  // namespace

std::optional<int> editDistance(std::string_view first, std::string_view second, int limit) {
  if (limit < 0) return std::nullopt;
  if (isAscii(first) && isAscii(second)) return boundedDistance(first, second, limit);
  const std::u32string a = unicode::toScalars(first);
  const std::u32string b = unicode::toScalars(second);
  return boundedDistance(std::u32string_view(a), std::u32string_view(b), limit);
}

std::optional<double> number(std::optional<std::string_view> text) {
  if (!text) return std::nullopt;
  std::string trimmed = unicode::trimmed(*text, unicode::isWhitespace);
  if (trimmed.empty()) return std::nullopt;
  if (trimmed.find(',') != std::string::npos && trimmed.find('.') == std::string::npos)
    std::replace(trimmed.begin(), trimmed.end(), ',', '.');
  const auto value = numbers::parseDouble(trimmed);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

std::optional<int> integer(std::optional<std::string_view> text) {
  const auto value = number(text);
  if (!value || std::abs(*value) >= 1e9) return std::nullopt;
  return static_cast<int>(std::trunc(*value));
}

}  // namespace kesta::TextTools
