#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "library/text_tools.h"
#include "oneclick/browser_row_matcher.h"
#include "platform/text/numbers.h"

namespace kesta::BrowserRowMatcher {

namespace {

// Every other line of a row, whole and split at spaces, in matching form: a
// line read as "128.00 8A" offers the BPM and the key on their own.
std::set<std::string> cellsOf(const MatchedRow& row) {
  std::set<std::string> cells;
  for (const std::string& text : row.others) {
    cells.insert(TextTools::normalized(text));
    std::size_t start = 0;
    while (start <= text.size()) {
      const std::size_t end = std::min(text.find(' ', start), text.size());
      if (end > start) cells.insert(TextTools::normalized(std::string_view(text).substr(start, end - start)));
      start = end + 1;
    }
  }
  return cells;
}

std::string twoDigits(int value) {
  std::string digits = std::to_string(value);
  if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
  return digits;
}

}  // namespace

std::optional<Rect> duplicateTieBreak(std::span<const MatchedRow> rows, const Track& track) {
  std::vector<std::set<std::string>> cells;
  for (const MatchedRow& row : rows) cells.push_back(cellsOf(row));
  std::vector<std::size_t> left(rows.size());
  for (std::size_t i = 0; i < left.size(); ++i) left[i] = i;

  std::optional<std::string> duration;
  if (track.durationSeconds > 0) {
    duration = TextTools::normalized(twoDigits(track.durationSeconds / 60) + ":" +
                                     twoDigits(track.durationSeconds % 60));
  }
  std::vector<std::optional<std::string>> values;
  values.push_back(track.keyText ? std::optional(TextTools::normalized(*track.keyText)) : std::nullopt);
  values.push_back(track.bpm ? std::optional(TextTools::normalized(numbers::formatFixed(*track.bpm, 2)))
                             : std::nullopt);
  values.push_back(duration);

  for (const auto& value : values) {
    if (!value || value->empty()) continue;
    std::vector<std::size_t> showing;
    for (const std::size_t i : left) {
      if (cells[i].contains(*value)) showing.push_back(i);
    }
    if (showing.size() == 1) return rows[showing.front()].box;
    if (!showing.empty()) left = std::move(showing);
  }

  if (!duration) return std::nullopt;
  const MatchedRow* topmost = nullptr;
  for (const std::size_t i : left) {
    if (!cells[i].contains(*duration)) return std::nullopt;
    if (topmost == nullptr || rows[i].box.midY() < topmost->box.midY()) topmost = &rows[i];
  }
  if (topmost == nullptr) return std::nullopt;
  return topmost->box;
}

}  // namespace kesta::BrowserRowMatcher
