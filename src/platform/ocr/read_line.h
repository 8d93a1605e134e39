#pragma once

#include <tesseract/baseapi.h>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/ocr/grey_picture.h"
#include "platform/ocr/line_text.h"

// The lines of words one Tesseract engine reads in a part of a grey picture,
// each word with its box and the engine's confidence. Boxes are in pixels of
// the whole picture. Called on the thread that owns the engine; an engine
// that fails to read gives no lines.
namespace kesta::ocr {

// A line as Tesseract found it, in pixels of the picture it read.
struct PageLine {
  int left = 0, top = 0, right = 0, bottom = 0;
  std::string text;
  std::string otherOrder;  // see TextObservation
};

// A part of the picture, in its pixels: columns [left, right), rows [top, bottom).
struct Area {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// One word as an engine read it, with its right edge and the engine's
// confidence in it (0 to 100).
struct WordAt {
  LineText::Word word;
  int right = 0;
  float confidence = 0;
};

// A line as one engine read it: its box and its words, each with the
// engine's confidence in it.
struct ReadLine {
  PageLine line;
  std::vector<LineText::Word> words;
  std::vector<int> rights;  // each word's right edge
  std::vector<float> confidences;

  void add(const WordAt& at) {
    words.push_back(at.word);
    rights.push_back(at.right);
    confidences.push_back(at.confidence);
  }
};

// The i-th word of `read` with its right edge and confidence.
WordAt wordAt(const ReadLine& read, std::size_t i);

// Every line `engine` finds in an area of the picture, read as a picture of
// its own; boxes in pixels of the whole picture. The engine is left in
// `mode`, its picture cleared.
std::vector<ReadLine> readArea(tesseract::TessBaseAPI& engine, const GreyPicture& picture, Area area,
                               tesseract::PageSegMode mode);

}  // namespace kesta::ocr
