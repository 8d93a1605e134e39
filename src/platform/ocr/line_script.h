#pragma once

#include <cstddef>
#include <vector>

#include "platform/ocr/read_line.h"
#include "platform/ocr/text_recognizer.h"

// The script of one read line, for a library of several scripts: the lines
// are found and read with the Latin letters' model, and the words of a line
// it is not sure of are read again with the model of the script that reads a
// sample of them best. Called on the thread that owns the engines; a line no
// script reads fairly keeps its Latin reading. Widths and boxes in pixels of
// the picture read, confidences 0 to 100.
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
ReadLine inItsScript(const Readers& readers, const GreyPicture& picture, ReadLine read, std::size_t& last);

}  // namespace kesta::ocr
