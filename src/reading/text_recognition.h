#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/image/geometry.h"
#include "platform/image/image.h"
#include "platform/ocr/text_recognizer.h"
#include "reading/recognized_line.h"

// The system's one text-recognition operation and its reading of deck time
// readouts. The deck text extractor, the mixer reader and the one-click loader
// all recognise through `recognize`.
namespace kesta::TextRecognition {

// The lines of an image in reading order, possibly none. `minimumTextHeight`
// is a fraction of the image height: 0.02 for deck areas, 0.008 for the mixer
// and the track browser. Never fails: a failed recognition gives no lines.
std::vector<RecognizedLine> recognize(TextRecognizer& recognizer, const Image& image, float minimumTextHeight,
                                      RecognitionLevel level, RecognitionLanguages languages);

// A recogniser's observations as lines: boxes moved to a top-left origin,
// then put in reading order.
std::vector<RecognizedLine> lines(const std::vector<TextObservation>& observations);

// Whether `a` is read before `b`: its row is higher (vertical centres more
// than 0.02 apart), or on the same row it starts further left.
bool readBefore(const RecognizedLine& a, const RecognizedLine& b);

// Sorts stably by readBefore. That order is not transitive (centres that drift
// down in steps of 0.02 chain rows together), so the sort is one that stays
// sound under it: insertion for fewer than 64 lines, merging runs above.
void sortInReadingOrder(std::vector<RecognizedLine>& lines);

// A deck's elapsed time in whole seconds from one line of text: the line is a
// readout such as 3:21, 03:21.4 or 103:21,4 by itself, or holds one with its
// tenths digit (Elapsed 1:02.5). Readouts behind a minus sign (the remaining
// time) never count.
std::optional<int> elapsedSeconds(std::string_view line);

// One deck's elapsed time from a window image: the deck area `area`
// (fractions of the window, widened to whole pixels) recognised accurately,
// and the first line, in reading order, that gives a time.
std::optional<int> readClock(TextRecognizer& recognizer, const Image& window, const Rect& area,
                             RecognitionLanguages languages);

}  // namespace kesta::TextRecognition
