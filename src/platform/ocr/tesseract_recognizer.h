#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ocr/grey_picture.h"
#include "platform/ocr/text_recognizer.h"

namespace kesta {

// Text recognition with Tesseract, tuned for light text on a dark background
// (rekordbox's look): the picture is turned grey and inverted first, read at
// its own scale for `fast` and at twice its size for `accurate` (at its own
// scale for the Latin-script model alone, see below). Word
// dictionaries stay off so that titles are read as shown, not as English.
// Latin letters beyond English are read with the Latin-script model
// ("Latin", Debian's tesseract-ocr-script-latn) when it is installed; the
// scripts of a request with the models of Debian's tesseract-ocr-jpn, -kor,
// -ara, -heb, -tha and -script-hant (and -script-hans beside it for a line
// of a library in several scripts), those that are installed (see
// `modelsOf`). Lines come back in logical order (see LineText), a line that
// holds words of both directions in the other order as well. A line whose
// picture shows an ellipsis at an end has a word "…" there, however the
// model read the dots (see withShownEllipsis).
//
// A recogniser made with `Memory::pages` remembers the last pictures it read
// with their lines. The same picture again is not read; a picture of the same
// size and request that differs in at most two thirds of its rows is read only
// there (the rows that changed, widened to whole remembered lines and runs of
// inked rows, with a margin), and the lines outside them are taken over. A
// playing deck changes only in its time readouts and waveform, so its title
// lines are not read again every few seconds. Layout analysis sees the whole
// picture only in a whole reading, so every fourth reading of a part of the
// window is whole again. Made for the live loop's fixed deck and mixer areas;
// pictures of whole windows are better read whole every time (`Memory::none`).
//
// Each thread gets its own engines, made on its first call (about 0.1 s and
// 14 MB each) and kept until the thread ends. The process must start with
// OMP_THREAD_LIMIT=1 in its environment (see requireSingleThreadedRecognition):
// otherwise every call spreads over all cores and parallel callers slow each
// other down many times over.
class TesseractRecognizer : public TextRecognizer {
 public:
  enum class Memory { none, pages };

  // `dataPath` holds the trained data; empty for Tesseract's own default.
  explicit TesseractRecognizer(Memory memory = Memory::none, std::string dataPath = {});

  std::vector<TextObservation> recognize(const Image& image, const RecognitionRequest& request) override;

  // Tesseract's names for the models of a request. `lines` finds the lines
  // and reads them: the Latin letters' model, or for a request in one script
  // that script's model before it ("ara+eng", "jpn+Latin"). For a request in
  // several scripts, `lineScripts` names each script's model alone, and
  // last the simplified Han model for Chinese beside the traditional one; the
  // words of a line that the Latin model is not sure of are read again with
  // the one of them that reads a sample of them best, and the sure words
  // stay. Models that are not installed are left out.
  struct Models {
    std::string lines;
    std::vector<std::string> lineScripts;

    friend bool operator==(const Models&, const Models&) = default;
  };
  Models modelsOf(RecognitionLanguages languages);

 private:
  struct Page;

  // The remembered page of the picture's size and request whose changed rows
  // are fewest; null when there is none.
  std::shared_ptr<const Page> closestPage(const RecognitionRequest& request, const Image& image);
  // Keeps `page` as the newest, in place of `before` when that is still kept.
  void remember(std::shared_ptr<const Page> page, const std::shared_ptr<const Page>& before);

  const Memory memory_;
  const std::string dataPath_;
  std::mutex mutex_;
  std::vector<std::shared_ptr<const Page>> pages_;  // newest last
};

}  // namespace kesta
