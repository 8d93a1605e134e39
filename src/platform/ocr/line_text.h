#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text of one recognised line put together from its words. Recognisers
// read words left to right as they stand on the screen; a line is written in
// logical order, which differs from that where it holds right-to-left words
// (Arabic, Hebrew). Pure functions, callable from any thread.
namespace kesta::LineText {

// One word as read, its own letters in logical order, and where it starts on
// the line (any unit that grows to the right).
struct Word {
  std::string text;
  int left = 0;
};

// The words of a line in logical order, joined by spaces, without the
// direction marks (U+200E, U+200F) recognisers put around words, with Thai
// mended (see `mendedThai`) and no space between two Thai letters: Thai writes its
// words without spaces, and a recogniser splits a Thai run into many words.
//
// The line reads right to left when its rightmost word with a strong
// direction is a right-to-left one: a title in Arabic or Hebrew followed by
// a version in Latin letters, "طريق الحب (Club Edit)", stands on the screen
// with the version at the left. Runs of words in the other direction keep
// their own order; a word without a strong direction (numbers, signs) goes
// with its neighbours when both have the same direction, else with the line.
//
// A line cut short shows an ellipsis at its end, at the right of a
// left-to-right line and at the left of a right-to-left one, however the
// recogniser spells it: "…", or a dot beside other dots or dashes ("..",
// "-.", ".--"), alone or glued to the word at that end; a line of one word
// too. Its text ends with "…". A line of both directions cut at one end is
// read in the direction that end tells. A line of readouts ("8A --.-",
// "03:12.5 --:--.-") is never cut: its placeholder only looks like dots.
std::string inLogicalOrder(std::vector<Word> words);

// The same words read as a line of the other paragraph direction, for a line
// that holds words of both directions and shows no cut at one end; empty for
// any other line. A screen line alone cannot tell its direction: rekordbox
// draws "Cairo Nights ليالي القاهرة" left to right, a title that begins with
// its Latin words, and `inLogicalOrder` takes it for a right-to-left line.
std::string inOtherOrder(std::vector<Word> words);

// The ends of a line on the screen; a line cut short shows its ellipsis at
// one of them.
enum class End { left, right };

// A word without the run of dots, dashes, brackets and like marks on its side
// that faces `end` of its line, where a recogniser leaves the dots of an
// ellipsis it read with the word ("בעיר.."): for a right-to-left word at the
// left, the end of its text. `marks` is that run.
struct Trimmed {
  std::string word;
  std::u32string marks;
};
Trimmed trimmedToward(std::string_view word, End end);

// Whether a word's marks toward an end of its line spell an ellipsis, as
// recognisers read one: "…", or a dot beside other dots or dashes ("..",
// "-.", ".--"), never a full stop alone. Beside letters the brackets and
// quotes do not count: "Song.)" ends with a full stop.
bool spellsEllipsis(const Trimmed& trimmed);

// Whether a text in logical order ends as a cut line does, with an ellipsis
// however spelled ("Wait for it...", "Hold On…", "Gloria (...)"): a title
// that does shows the same line whole as a longer title cut there.
bool endsWithEllipsis(std::string_view text);

// Thai as it is written: SARA AM (ำ), which recognisers return as NIKHAHIT
// and SARA AA (with a tone mark read in between or before), made one letter
// again. Unicode normalisation does not do this.
std::string mendedThai(std::string_view text);

}  // namespace kesta::LineText
