#include "platform/ocr/line_ellipsis.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/ocr/line_text.h"

namespace kesta::ocr {

namespace {

// Darker than this is ink: the anti-aliased core of a dot one pixel across,
// at the screen's own scale, stays below it.
constexpr std::uint8_t kInk = 160;

using End = LineText::End;

// A piece of ink: pixels darker than `kInk` that touch, sides or corners, in
// the box of columns [left, right) and rows [top, bottom].
struct Blob {
  int left = 0, right = 0, top = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top + 1; }
  int twiceCentre() const { return left + right; }
};

int lineHeight(const PageLine& line) { return line.bottom - line.top; }

// What the picture shows at one end of a line.
struct LineEnd {
  std::vector<Blob> pieces;  // outermost (by their centres) first
  Area window;               // the part of the picture looked at
  std::vector<int> labels;   // each pixel's piece of `heights` (in the order found), -1 for none
  std::vector<int> heights;  // each piece's height
};

// The pieces of ink in the window, in the order found, each pixel labelled.
void findPieces(const GreyPicture& picture, LineEnd& at) {
  const Area& a = at.window;
  const int w = a.right - a.left;
  at.labels.assign(std::size_t(std::max(w, 0)) * std::size_t(std::max(a.bottom - a.top, 0)), -1);
  const auto label = [&](int x, int y) -> int& {
    return at.labels[std::size_t(y - a.top) * std::size_t(w) + std::size_t(x - a.left)];
  };
  const auto ink = [&](int x, int y) {
    return picture.pixels[std::size_t(y) * std::size_t(picture.width) + std::size_t(x)] < kInk;
  };
  std::vector<std::pair<int, int>> stack;
  for (int y = a.top; y < a.bottom; ++y) {
    for (int x = a.left; x < a.right; ++x) {
      if (label(x, y) >= 0 || !ink(x, y)) continue;
      const int id = int(at.pieces.size());
      Blob blob{x, x + 1, y, y};
      label(x, y) = id;
      stack.push_back({x, y});
      while (!stack.empty()) {
        const auto [px, py] = stack.back();
        stack.pop_back();
        blob = {std::min(blob.left, px), std::max(blob.right, px + 1), std::min(blob.top, py),
                std::max(blob.bottom, py)};
        for (int ny = std::max(py - 1, a.top); ny <= std::min(py + 1, a.bottom - 1); ++ny)
          for (int nx = std::max(px - 1, a.left); nx <= std::min(px + 1, a.right - 1); ++nx)
            if (label(nx, ny) < 0 && ink(nx, ny)) {
              label(nx, ny) = id;
              stack.push_back({nx, ny});
            }
      }
      at.pieces.push_back(blob);
      at.heights.push_back(blob.height());
    }
  }
}

// The pieces of ink at one end of the line: from three line heights inside
// its box to three beyond it, where the recogniser may have left the dots out,
// and a little above and below it. A gap of more than one and a half line
// heights beyond the box ends the line: the ellipsis of a cut title may
// stand a line height or more beyond its last letter.
LineEnd lineEnd(const GreyPicture& picture, const PageLine& line, End end) {
  const int h = lineHeight(line);
  const bool right = end == End::right;
  LineEnd out;
  Area& a = out.window;
  a.top = std::max(line.top - h / 8, 0);
  a.bottom = std::min(line.bottom + h / 8, picture.height);
  a.left = right ? std::max({line.left, line.right - 3 * h, 0}) : std::max(line.left - 3 * h, 0);
  a.right = right ? std::min(line.right + 3 * h, picture.width)
                  : std::min({line.right, line.left + 3 * h, picture.width});
  findPieces(picture, out);
  auto& pieces = out.pieces;
  std::sort(pieces.begin(), pieces.end(), [&](const Blob& x, const Blob& y) {
    return right ? x.twiceCentre() > y.twiceCentre() : x.twiceCentre() < y.twiceCentre();
  });
  // Outward from the innermost piece, the reach of the ink so far.
  int reach = right ? a.left : a.right;
  for (std::size_t i = pieces.size(); i-- > 0;) {
    const Blob& b = pieces[i];
    const bool beyond = right ? b.left > std::max(reach, line.right) + 3 * h / 2
                              : b.right < std::min(reach, line.left) - 3 * h / 2;
    if (beyond && i + 1 < pieces.size()) {
      pieces.erase(pieces.begin(), pieces.begin() + std::ptrdiff_t(i) + 1);
      break;
    }
    reach = right ? std::max(reach, b.right) : std::min(reach, b.left);
  }
  return out;
}

bool near(int a, int b, int slack) { return std::abs(a - b) <= slack; }

// How far, in rows, the foot of a letter standing on a row may end from it.
int baselineSlack(int h) { return std::max(1, h / 10); }

// How many columns of letter ink between `from` and `to` end on each row
// from `middle` down: letter ink is of pieces at least `tall` high, not the
// dots above or below letters. Columns whose letter ink ends above `middle`
// do not count: a roof or an arm, as of Hebrew ה or Latin r.
std::vector<int> columnEnds(const LineEnd& at, int from, int to, int middle, int tall) {
  const Area& a = at.window;
  const auto width = std::size_t(a.right - a.left);
  std::vector<int> ends(std::size_t(std::max(a.bottom - middle, 0)), 0);
  for (int x = std::max(from, a.left); x < std::min(to, a.right); ++x) {
    for (int y = a.bottom - 1; y >= middle; --y) {
      const int piece = at.labels[std::size_t(y - a.top) * width + std::size_t(x - a.left)];
      if (piece >= 0 && at.heights[std::size_t(piece)] >= tall) {
        ++ends[std::size_t(y - middle)];
        break;
      }
    }
  }
  return ends;
}

// Whether letters stand on row `row` of `ends`: at least half as many columns
// end within `slack` of it as on the commonest row. The baseline need not be
// that row: descenders (Arabic ي ر و ق, Hebrew ק ן) may end more columns on
// one row below it than the letters' connecting strokes and feet on it.
bool lettersStandOn(const std::vector<int>& ends, int row, int slack) {
  const auto commonest = std::max_element(ends.begin(), ends.end());
  int standing = 0;
  for (int y = std::max(row - slack, 0); y <= row + slack && y < int(ends.size()); ++y)
    standing += ends[std::size_t(y)];
  return commonest != ends.end() && *commonest > 0 && 2 * standing >= *commonest;
}

// Small and roughly round: a period's size beside letters of height `h`,
// bold ones beside letters without ascenders or descenders (Hebrew שמש) too.
bool isDot(const Blob& b, int h) {
  const int most = h / 4 + 2;
  return b.width() <= most && b.height() <= most && b.width() <= 2 * b.height() + 1 &&
         b.height() <= 2 * b.width() + 1;
}

// Of one size, within two pixels or a third, and ending on one row.
bool alike(const Blob& a, const Blob& b, int h) {
  const auto slack = [](int x, int y) { return std::max(2, std::max(x, y) / 3); };
  return near(a.width(), b.width(), slack(a.width(), b.width())) &&
         near(a.height(), b.height(), slack(a.height(), b.height())) && near(a.bottom, b.bottom, h / 16 + 1);
}

// Whether `b` follows the dot `last` as `last` followed `before`: alike, at
// the same spacing (within a pixel or a fifth).
bool nextDot(const Blob& before, const Blob& last, const Blob& b, int h) {
  const int spacing = std::abs(last.twiceCentre() - before.twiceCentre());
  const int next = std::abs(b.twiceCentre() - last.twiceCentre());
  return isDot(b, h) && alike(b, last, h) && near(next, spacing, std::max(2, spacing / 5));
}

// An ellipsis seen at a line's end: the dots' box, the space between two of
// them and the row they stand on with the letters.
struct Ellipsis {
  Blob dots;
  int gap = 0;
  int baseline = 0;
};

// The ellipsis the end's three outermost pieces make: three dots alike,
// apart by one and a quarter (bold dots set close) to six times their width
// but no more than 0.6 line heights, evenly spaced on the row the letters
// inward of them stand on, and no fourth such dot (a dotted placeholder).
std::optional<Ellipsis> ellipsisAt(const LineEnd& at, const PageLine& line, End end) {
  const int h = lineHeight(line);
  const auto& b = at.pieces;
  if (b.size() < 4 || !isDot(b[0], h) || !isDot(b[1], h) || !alike(b[0], b[1], h)) return std::nullopt;
  const int spacing = std::abs(b[1].twiceCentre() - b[0].twiceCentre());  // twice the pixels
  if (2 * spacing < 5 * b[0].width() || spacing > 12 * b[0].width() || spacing > 6 * h / 5 + 2 ||
      !nextDot(b[0], b[1], b[2], h) || nextDot(b[1], b[2], b[3], h))
    return std::nullopt;
  const int tall = 2 * std::max({b[0].height(), b[1].height(), b[2].height()});
  if (std::none_of(b.begin() + 3, b.end(), [&](const Blob& piece) { return piece.height() >= tall; }))
    return std::nullopt;
  const Blob dots{std::min(b[0].left, b[2].left), std::max(b[0].right, b[2].right),
                  std::min({b[0].top, b[1].top, b[2].top}),
                  std::max({b[0].bottom, b[1].bottom, b[2].bottom})};
  const auto inner = std::minmax_element(b.begin() + 3, b.end(), [&](const Blob& x, const Blob& y) {
    return end == End::right ? x.left < y.left : x.right < y.right;
  });
  const int middle = (line.top + line.bottom) / 2;
  const auto ends = end == End::right ? columnEnds(at, inner.first->left, dots.left, middle, tall)
                                      : columnEnds(at, dots.right, inner.second->right, middle, tall);
  if (!lettersStandOn(ends, dots.bottom - middle, baselineSlack(h))) return std::nullopt;
  return Ellipsis{dots, std::max(spacing / 2 - b[0].width(), 1), dots.bottom};
}

// Whether the word's part inward of the dots, [from, to), is one narrow
// glyph reaching below the baseline: a bracket read together with the dots.
// A bold one is up to a third of a line height wide.
bool bracketOnly(const std::vector<Blob>& pieces, int from, int to, int baseline, int h) {
  const auto inside = [&](const Blob& b) { return b.right > from && b.left < to; };
  const auto bracket = std::find_if(pieces.begin() + 3, pieces.end(), inside);
  return bracket != pieces.end() && std::count_if(pieces.begin() + 3, pieces.end(), inside) == 1 &&
         bracket->width() <= h / 3 + 1 && bracket->bottom >= baseline + baselineSlack(h);
}

// Whether another word than the i-th reads more than `slack` of [from, to),
// the i-th word's part inward of the dots, but lies mostly beyond it: a
// second model's reading of letters the i-th word took together with the
// dots. A word that lies mostly inside the part is no such reading: the box
// of a right-to-left line's last word may span the line.
bool readElsewhere(const ReadLine& read, std::size_t i, int from, int to, int slack) {
  for (std::size_t j = 0; j < read.words.size(); ++j) {
    const int overlap = std::min(to, read.rights[j]) - std::max(from, read.words[j].left);
    if (j != i && overlap > slack && 2 * overlap < read.rights[j] - read.words[j].left) return true;
  }
  return false;
}

// The line with the words over the ellipsis's dots made one word "…".
ReadLine withEllipsisWord(const ReadLine& read, const std::vector<Blob>& pieces, const Ellipsis& ellipsis,
                          End end) {
  const int h = lineHeight(read.line);
  const Blob& dots = ellipsis.dots;
  const int slack = pieces[0].width();
  const bool right = end == End::right;
  ReadLine out{read.line, {}, {}, {}};
  for (std::size_t i = 0; i < read.words.size(); ++i) {
    WordAt word = wordAt(read, i);
    // A word's box may stop short of the dots it read.
    const bool reaches = word.right > dots.left - ellipsis.gap && word.word.left < dots.right + ellipsis.gap;
    const int from = right ? word.word.left : dots.right;
    const int to = right ? dots.left : word.right;
    if (reaches && (to - from <= slack || bracketOnly(pieces, from, to, ellipsis.baseline, h) ||
                    readElsewhere(read, i, from, to, slack)))
      continue;
    if (reaches) {
      word.word.text = LineText::trimmedToward(word.word.text, end).word;
      if (word.word.text.empty()) continue;
      if (right) word.right = std::min(word.right, dots.left);
      if (!right) word.word.left = std::max(word.word.left, dots.right);
    }
    out.add(word);
  }
  // The picture shows the dots whatever the recogniser made of them.
  out.add({{"\u2026", dots.left}, dots.right, 100});
  PageLine& line = out.line;
  line.left = std::min(line.left, dots.left);
  line.right = std::max(line.right, dots.right);
  line.top = std::min(line.top, dots.top);
  line.bottom = std::max(line.bottom, dots.bottom + 1);
  return out;
}

}  // namespace

ReadLine withShownEllipsis(const GreyPicture& picture, ReadLine read) {
  for (const End end : {End::right, End::left}) {
    const int h = lineHeight(read.line);
    if (read.words.empty() || h < 4) return read;
    const LineEnd at = lineEnd(picture, read.line, end);
    if (const auto ellipsis = ellipsisAt(at, read.line, end))
      read = withEllipsisWord(read, at.pieces, *ellipsis, end);
  }
  return read;
}

}  // namespace kesta::ocr
