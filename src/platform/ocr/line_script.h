#pragma once

#include <cstddef>
#include <vector>

#include "platform/ocr/read_line.h"
#include "platform/ocr/text_recognizer.h"

// The script of one read line, for a library of several scripts: the lines
// are found and read with the Latin letters' model, and the words of a line
// it is not sure of are read again with the model of the script that reads a
// sample of its unsure letters best. Called on the thread that owns the
// engines; a line whose sample no script reads fairly (surely, where the
// sample holds little), or whose unsure words are the dots of an ellipsis
// alone, keeps its Latin reading. Widths and boxes in pixels of the picture
// read, confidences 0 to 100.
namespace kesta::ocr {

// One script's model alone, reading the lines of that script.
struct ScriptReader {
  tesseract::TessBaseAPI* engine = nullptr;
  Script script{};
};

// The engines of one reading: `lines` finds the lines and reads them; where
// `scripts` are given, the words of a line it is not sure of are read again
// with the one of them that reads that line best.
struct Readers {
  tesseract::TessBaseAPI* lines = nullptr;
  std::vector<ScriptReader> scripts;
};

// Whether the Latin model read every word of the line surely.
bool isSure(const ReadLine& read);

// Whether the Latin reading of a line is too sparse for text of any
// script: fewer characters than a quarter of its width in line heights.
// The waveform reads so ("AAA" across the deck), and is not read again.
bool isSparse(const ReadLine& read);

// The line read again with the model of its script, which gives its words
// but where the Latin reading was surer (a version such as "(Club Edit)", a
// number). A line height is added on either side: the Latin model's box may
// leave out a first or last character it did not take for text. `last` is
// the script that read the line before, tried first, and becomes this
// line's; `readers.scripts` is not empty.
//
// The script is told by a sample of the widest run of words the Latin model
// read unsurely with no word of letters it read surely between them (a sign
// read surely, "¢" for an Arabic letter, tells no script). The dots of an
// ellipsis tell no script, nor, while other words do, the word the Latin
// model read with the dots of the line's cut: the word the cut falls in, or
// the Latin version at the left of a cut right-to-left line ("..Extend)").
// The sample is at most six line heights of the run from its end away from
// the cut: its right end on a line the picture shows cut at its left, a
// right-to-left one whose own words stand at the right. A sample of two or
// three letters, or of the word with the cut's dots alone, tells a script
// only where its model reads it surely: the Arabic model reads "DJ" fairly,
// and "Tape..." too. A sample or line a model finds no words on as one line
// is read again as a raw line, with no line finding: the dots of a cut
// Arabic line throw that finding off.
ReadLine inItsScript(const Readers& readers, const GreyPicture& picture, ReadLine read, std::size_t& last);

}  // namespace kesta::ocr
