#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/image/geometry.h"
#include "platform/image/image.h"

namespace kesta {

// How hard recognition tries: `fast` for frequent confirmations, `accurate`
// for readings that are matched.
enum class RecognitionLevel { fast, accurate };

// Scripts beyond Latin that are read with models of their own, as flags.
enum class Script : std::uint8_t {
  japanese = 1 << 0,  // kana, with the ideographs written among them
  chinese = 1 << 1,   // ideographs, simplified and traditional
  korean = 1 << 2,    // Hangul
  arabic = 1 << 3,
  hebrew = 1 << 4,
  thai = 1 << 5,
};

// The languages text is read in: English alone or with the other languages
// written in Latin letters (ñ, Å, ø, ł), and the scripts beyond Latin a
// library holds. Latin letters are read in every case. A recogniser without
// the data for a script leaves that script out.
struct RecognitionLanguages {
  bool latinBeyondEnglish = false;
  std::uint8_t scripts = 0;  // Script flags

  static const RecognitionLanguages english;
  static const RecognitionLanguages latin;

  constexpr bool has(Script script) const { return (scripts & std::uint8_t(script)) != 0; }
  constexpr RecognitionLanguages with(Script script) const {
    return {latinBeyondEnglish, std::uint8_t(scripts | std::uint8_t(script))};
  }

  friend bool operator==(const RecognitionLanguages&, const RecognitionLanguages&) = default;
};
inline constexpr RecognitionLanguages RecognitionLanguages::english{false, 0};
inline constexpr RecognitionLanguages RecognitionLanguages::latin{true, 0};

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
  // The line read in the other paragraph direction when it holds words of
  // both (see LineText::inOtherOrder); empty otherwise.
  std::string otherOrder = {};

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
