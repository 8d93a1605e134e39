#pragma once

#include <string>
#include <vector>

#include "platform/image/geometry.h"
#include "platform/image/image.h"

namespace kesta {

// How hard recognition tries: `fast` for frequent confirmations, `accurate`
// for readings that are matched.
enum class RecognitionLevel { fast, accurate };

// The languages text is read in: English alone; English and the other
// languages written in Latin letters (ñ, Å, ø, ł); or every installed
// language, for scripts beyond Latin. A recogniser without the data for a
// choice reads in English.
enum class RecognitionLanguages { english, latin, detect };

struct RecognitionRequest {
  RecognitionLevel level = RecognitionLevel::accurate;
  // Lines lower than this fraction of the image height are left out.
  float minimumTextHeight = 0.02f;
  RecognitionLanguages languages = RecognitionLanguages::english;

  friend bool operator==(const RecognitionRequest&, const RecognitionRequest&) = default;
};

// One recognised line: its best reading and its box as fractions of the image
// (0 to 1), origin at the bottom left and y growing upward, as text
// recognisers commonly report it.
struct TextObservation {
  std::string text;
  Rect boundingBox;

  friend bool operator==(const TextObservation&, const TextObservation&) = default;
};

// Turns a picture of text into lines. Never fails: a recognition that cannot
// run gives no lines. Safe to call from several threads at once.
class TextRecognizer {
 public:
  virtual ~TextRecognizer() = default;
  virtual std::vector<TextObservation> recognize(const Image& image, const RecognitionRequest& request) = 0;
};

}  // namespace kesta
