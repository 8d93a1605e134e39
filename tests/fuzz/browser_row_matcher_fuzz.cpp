// The browser row of a requested track from any recognised window lines. The
// first byte picks the requested track; every following line starts with a
// byte that places it in a row and a column of the browser (some rows fall
// outside it), the rest of the line is its text, and after a tab its other reading. A picked row must be the
// box of one of the lines.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "fuzz_library.h"
#include "oneclick/browser_row_matcher.h"

namespace {

constexpr kesta::Rect kRegion{0, 0.4, 1, 0.6};

// Cells from the left: title, artist, BPM, key, time, and one beyond the last column.
constexpr double kColumnX[] = {0.05, 0.40, 0.65, 0.75, 0.85, 0.95};
constexpr double kColumnWidth[] = {0.30, 0.20, 0.06, 0.04, 0.06, 0.05};

kesta::Rect cell(unsigned char place) {
  const int row = place % 24 - 4;  // rows above and below the browser too
  const int column = (place / 24) % 6;
  // Odd places drift half a row height so that lines straddle rows.
  const double drift = (place & 0x80) ? 0.01 : 0.0;
  return {kColumnX[column], 0.45 + row * 0.03 + drift, kColumnWidth[column], 0.02};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesta;
  const LibraryIndex& index = fuzz::confusableIndex();
  const auto input = fuzz::select(fuzz::text(data, size), index.tracks().size());
  const Track& requested = index.tracks()[input.which];
  std::vector<TextBox> boxes;
  for (const auto& line : fuzz::lines(input.rest)) {
    if (line.empty()) continue;
    // A tab splits a line's first reading from its reading in the other order.
    const std::string text = line.substr(1);
    const auto tab = text.find('\t');
    boxes.push_back({text.substr(0, tab), cell(static_cast<unsigned char>(line.front())),
                     tab == std::string::npos ? std::string() : text.substr(tab + 1)});
  }
  const RowPick pick = BrowserRowMatcher::pick(boxes, requested, index, kRegion);
  if (const auto* row = pick.as<RowPick::Row>()) {
    fuzz::check(
        std::any_of(boxes.begin(), boxes.end(), [&](const TextBox& box) { return box.box == row->box; }),
        "picked row is no line's box");
  }
  if (const auto* ambiguous = pick.as<RowPick::Ambiguous>()) {
    fuzz::check(ambiguous->count >= 2, "ambiguous pick of fewer than two rows");
  }
  return 0;
}
