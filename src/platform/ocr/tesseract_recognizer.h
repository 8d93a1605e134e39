#pragma once

#include <string>

#include "platform/ocr/text_recognizer.h"

namespace kesta {

// Text recognition with Tesseract, tuned for light text on a dark background
// (rekordbox's look): the picture is turned grey and inverted first, read at
// its own scale for `fast` and at twice its size for `accurate` (at its own
// scale for the Latin-script model, see below). Word
// dictionaries stay off so that titles are read as shown, not as English.
// Latin letters beyond English are read with the Latin-script model
// ("Latin", Debian's tesseract-ocr-script-latn) when it is installed.
//
// Each thread gets its own engines, made on its first call (about 0.1 s and
// 14 MB each) and kept until the thread ends. The process must start with
// OMP_THREAD_LIMIT=1 in its environment (see requireSingleThreadedRecognition):
// otherwise every call spreads over all cores and parallel callers slow each
// other down many times over.
class TesseractRecognizer : public TextRecognizer {
 public:
  // `dataPath` holds the trained data; empty for Tesseract's own default.
  explicit TesseractRecognizer(std::string dataPath = {});

  std::vector<TextObservation> recognize(const Image& image, const RecognitionRequest& request) override;

  // The languages used when the caller asks for language detection: English
  // and every other installed language, as Tesseract names them ("eng+deu").
  std::string detectionLanguages();

 private:
  // Tesseract's name for the languages of a request ("eng", "Latin", "eng+deu").
  std::string languagesOf(RecognitionLanguages languages);

  std::string dataPath_;
};

// The grey, inverted picture that recognition reads: lightness (the brightest
// channel, so that coloured text stays bright) turned dark-on-light, its
// levels spread from black to a white background, scaled by `scale` (1 or 2)
// with bilinear filtering. One byte per pixel, rows packed.
struct GreyPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};
GreyPicture invertedGrey(const Image& image, int scale);

}  // namespace kesta
