#include "platform/ocr/line_text.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <optional>

#include "platform/text/readout_text.h"
#include "platform/text/unicode_text.h"

namespace kesta::LineText {

namespace {

enum class Direction { neutral, leftToRight, rightToLeft };

constexpr char32_t kNikhahit = 0x0E4D;
constexpr char32_t kSaraAa = 0x0E32;
constexpr char32_t kSaraAm = 0x0E33;

bool isThai(char32_t c) { return c >= 0x0E01 && c <= 0x0E7F; }
bool isThaiToneMark(char32_t c) { return c >= 0x0E48 && c <= 0x0E4B; }
// The left-to-right and right-to-left marks a recogniser may put around words.
bool isDirectionMark(char32_t c) { return c == 0x200E || c == 0x200F; }

// The direction of a word's first letter that has one.
Direction directionOf(std::string_view word) {
  for (const char32_t c : unicode::toScalars(word)) {
    switch (u_charDirection(UChar32(c))) {
      case U_LEFT_TO_RIGHT:
        return Direction::leftToRight;
      case U_RIGHT_TO_LEFT:
      case U_RIGHT_TO_LEFT_ARABIC:
        return Direction::rightToLeft;
      default:
        break;
    }
  }
  return Direction::neutral;
}

// Each word's direction, a neutral one taking its strong neighbours' when
// they agree and the line's otherwise.
std::vector<Direction> resolved(const std::vector<Word>& words, Direction line) {
  std::vector<Direction> own;
  for (const Word& word : words) own.push_back(directionOf(word.text));
  std::vector<Direction> out = own;
  for (std::size_t i = 0; i < own.size(); ++i) {
    if (own[i] != Direction::neutral) continue;
    auto before = Direction::neutral;
    for (std::size_t j = i; j-- > 0 && before == Direction::neutral;) before = own[j];
    auto after = Direction::neutral;
    for (std::size_t j = i + 1; j < own.size() && after == Direction::neutral; ++j) after = own[j];
    out[i] = before == after && before != Direction::neutral ? before : line;
  }
  return out;
}

// Whether two words meet between Thai letters, where no space belongs.
bool joinedThai(const std::u32string& before, const std::u32string& word) {
  return !before.empty() && !word.empty() && isThai(before.back()) && isThai(word.front());
}

}  // namespace

namespace {

// The words without direction marks, empty ones left out, in screen order.
std::vector<Word> cleaned(std::vector<Word> words) {
  for (Word& word : words) {
    std::u32string text = unicode::toScalars(word.text);
    std::erase_if(text, isDirectionMark);
    word.text = unicode::fromScalars(text);
  }
  std::erase_if(words, [](const Word& word) { return word.text.empty(); });
  std::stable_sort(words.begin(), words.end(), [](const Word& a, const Word& b) { return a.left < b.left; });
  return words;
}

// The direction of the rightmost word that has one; left to right without.
Direction rightmostDirection(const std::vector<Word>& words) {
  for (auto word = words.rbegin(); word != words.rend(); ++word) {
    if (const Direction d = directionOf(word->text); d != Direction::neutral) return d;
  }
  return Direction::leftToRight;
}

bool holdsBothDirections(const std::vector<Word>& words) {
  bool leftToRight = false;
  bool rightToLeft = false;
  for (const Word& word : words) {
    const Direction d = directionOf(word.text);
    leftToRight = leftToRight || d == Direction::leftToRight;
    rightToLeft = rightToLeft || d == Direction::rightToLeft;
  }
  return leftToRight && rightToLeft;
}

// The cleaned words of a line drawn with the paragraph direction `line`.
std::string inOrder(const std::vector<Word>& words, Direction line) {
  const std::vector<Direction> directions = resolved(words, line);
  // Runs of one direction in screen order; a run against the line's
  // direction keeps its own order, the runs follow the line's.
  std::vector<std::vector<std::size_t>> runs;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i == 0 || directions[i] != directions[i - 1]) runs.emplace_back();
    runs.back().push_back(i);
  }
  if (line == Direction::rightToLeft) std::reverse(runs.begin(), runs.end());
  std::u32string out;
  std::u32string before;
  for (auto& run : runs) {
    if (directions[run.front()] == Direction::rightToLeft) std::reverse(run.begin(), run.end());
    for (const std::size_t i : run) {
      std::u32string word = unicode::toScalars(words[i].text);
      if (!out.empty() && !joinedThai(before, word)) out += U' ';
      out += word;
      before = std::move(word);
    }
  }
  return mendedThai(unicode::fromScalars(out));
}

// Punctuation a recogniser may read the dots of an ellipsis as (in Latin
// and Arabic letters), the brackets and signs it may read with them, and
// the direction marks it puts around them.
bool isEllipsisMark(char32_t c) {
  static constexpr std::u32string_view kMarks =
      U".,:;-=_~'`\"()[]\u00B7\u2022\u2024\u2025\u2026\u2010\u2011\u2012\u2013\u2014\u060C\u0640\u066B\u06D4"
      U"\u200E\u200F\u061C";
  return kMarks.find(c) != std::u32string_view::npos;
}

bool holdsEllipsisGlyph(std::u32string_view marks) {
  return marks.find(U'\u2026') != std::u32string_view::npos ||
         marks.find(U'\u2025') != std::u32string_view::npos;
}

bool isBracketOrQuote(char32_t c) {
  return std::u32string_view(U"()[]'`\"").find(c) != std::u32string_view::npos;
}

// The word at one end of the line without the ellipsis it shows toward that
// end, empty when it is the ellipsis alone; nothing when it shows none.
std::optional<std::string> withoutEllipsis(const Word& word, End end) {
  Trimmed trimmed = trimmedToward(word.text, end);
  if (!spellsEllipsis(trimmed)) return std::nullopt;
  return std::move(trimmed.word);
}

// The cleaned words of a line without the ellipsis that shows at one of its
// ends, and that end; no end where the line shows one at neither or both, or
// holds readouts only.
struct Cut {
  std::vector<Word> words;
  std::optional<End> end;
};

Cut cutOf(std::vector<Word> words) {
  if (words.empty()) return {std::move(words), std::nullopt};
  const std::optional<std::string> left = withoutEllipsis(words.front(), End::left);
  const std::optional<std::string> right = withoutEllipsis(words.back(), End::right);
  if (left.has_value() == right.has_value()) return {std::move(words), std::nullopt};
  std::vector<Word> kept = words;
  const auto word = left ? kept.begin() : kept.end() - 1;
  word->text = left ? *left : *right;
  if (word->text.empty()) kept.erase(word);
  if (std::ranges::all_of(
          kept, [](const Word& w) { return readout::isMetadata(w.text) || readout::isClock(w.text); }))
    return {std::move(words), std::nullopt};
  return {std::move(kept), left ? End::left : End::right};
}

// The direction of a line cut at `end`: an ellipsis stands at the end of a
// paragraph, at the left of a right-to-left one.
Direction cutDirection(End end) { return end == End::left ? Direction::rightToLeft : Direction::leftToRight; }

}  // namespace

std::string inLogicalOrder(std::vector<Word> words) {
  const std::vector<Word> line = cleaned(std::move(words));
  if (const Cut cut = cutOf(line); cut.end) {
    // A line of both directions takes the direction its cut tells; a line of
    // one is cut at its end only where that end is on the side of the cut.
    const Direction told = cutDirection(*cut.end);
    const Direction direction = holdsBothDirections(cut.words) ? told : rightmostDirection(cut.words);
    if (direction == told) return inOrder(cut.words, direction) + "\u2026";
  }
  return inOrder(line, rightmostDirection(line));
}

std::string inOtherOrder(std::vector<Word> words) {
  const std::vector<Word> line = cleaned(std::move(words));
  // A cut at one end tells the order.
  if (!holdsBothDirections(line) || cutOf(line).end) return {};
  const Direction other =
      rightmostDirection(line) == Direction::rightToLeft ? Direction::leftToRight : Direction::rightToLeft;
  return inOrder(line, other);
}

bool endsWithEllipsis(std::string_view text) {
  const std::size_t end = text.find_last_not_of(" \t");
  if (end == std::string_view::npos) return false;
  const std::size_t space = text.find_last_of(" \t", end);
  const std::size_t start = space == std::string_view::npos ? 0 : space + 1;
  const std::string_view last = text.substr(start, end + 1 - start);
  // The side of the last word that faces the text's end.
  const End textEnd = directionOf(last) == Direction::rightToLeft ? End::left : End::right;
  return withoutEllipsis({std::string(last), 0}, textEnd).has_value();
}

bool spellsEllipsis(const Trimmed& trimmed) {
  std::u32string marks = trimmed.marks;
  if (!trimmed.word.empty()) std::erase_if(marks, isBracketOrQuote);
  return holdsEllipsisGlyph(marks) || (marks.size() >= 2 && marks.find(U'.') != marks.npos);
}

Trimmed trimmedToward(std::string_view word, End end) {
  const std::u32string text = unicode::toScalars(word);
  const auto letter = std::ranges::find_if_not(text, isEllipsisMark);
  if (letter == text.end()) return {{}, text};
  // The side facing the end: the text's end, unless the word runs the other way.
  const bool atTextEnd = (end == End::right) != (directionOf(word) == Direction::rightToLeft);
  const std::u32string_view all(text);
  std::size_t from = 0;
  std::size_t to = text.size();
  if (atTextEnd) {
    while (isEllipsisMark(text[to - 1])) --to;
  } else {
    from = std::size_t(letter - text.begin());
  }
  return {unicode::fromScalars(all.substr(from, to - from)),
          std::u32string(atTextEnd ? all.substr(to) : all.substr(0, from))};
}

std::string mendedThai(std::string_view text) {
  const std::u32string in = unicode::toScalars(text);
  std::u32string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == kNikhahit) {
      std::size_t next = i + 1;
      const bool tone = next < in.size() && isThaiToneMark(in[next]);
      if (tone) ++next;
      if (next < in.size() && in[next] == kSaraAa) {
        if (tone) out += in[i + 1];
        out += kSaraAm;
        i = next;
        continue;
      }
    }
    out += in[i];
  }
  return unicode::fromScalars(out);
}

}  // namespace kesta::LineText
