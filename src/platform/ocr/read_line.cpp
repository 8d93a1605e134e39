#include "platform/ocr/read_line.h"

#include <tesseract/resultiterator.h>

#include <memory>

namespace kesta::ocr {

namespace {

// Screen text carries no resolution; this one keeps Tesseract from guessing
// (and from saying so on the console) and suits text 10 to 30 pixels high.
constexpr int kResolution = 96;

// The line the iterator stands at, from its words; false when it has no box.
bool lineAt(tesseract::ResultIterator& words, ReadLine& read) {
  PageLine& line = read.line;
  if (!words.BoundingBox(tesseract::RIL_TEXTLINE, &line.left, &line.top, &line.right, &line.bottom))
    return false;
  do {
    int left = 0, top = 0, right = 0, bottom = 0;
    const std::unique_ptr<char[]> utf8(words.GetUTF8Text(tesseract::RIL_WORD));
    if (utf8 && words.BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom)) {
      read.words.push_back({utf8.get(), left});
      read.rights.push_back(right);
      read.confidences.push_back(words.Confidence(tesseract::RIL_WORD));
    }
  } while (words.Next(tesseract::RIL_WORD) && !words.IsAtBeginningOf(tesseract::RIL_TEXTLINE));
  return true;
}

}  // namespace

WordAt wordAt(const ReadLine& read, std::size_t i) {
  return {read.words[i], read.rights[i], read.confidences[i]};
}

std::vector<ReadLine> readArea(tesseract::TessBaseAPI& engine, const GreyPicture& picture, Area area,
                               tesseract::PageSegMode mode) {
  if (area.right <= area.left || area.bottom <= area.top) return {};
  engine.SetPageSegMode(mode);
  engine.SetImage(
      picture.pixels.data() + std::size_t(area.top) * std::size_t(picture.width) + std::size_t(area.left),
      area.right - area.left, area.bottom - area.top, 1, picture.width);
  engine.SetSourceResolution(kResolution);
  std::vector<ReadLine> out;
  if (engine.Recognize(nullptr) == 0) {
    const std::unique_ptr<tesseract::ResultIterator> words(engine.GetIterator());
    // A block without words (a picture region) is stepped over, not taken
    // for the end of the page.
    while (words && !words->Empty(tesseract::RIL_BLOCK)) {
      ReadLine found;
      const bool boxed = !words->Empty(tesseract::RIL_WORD) && lineAt(*words, found);
      if (boxed) {
        found.line.left += area.left;
        found.line.right += area.left;
        found.line.top += area.top;
        found.line.bottom += area.top;
        for (auto& word : found.words) word.left += area.left;
        for (int& right : found.rights) right += area.left;
        out.push_back(std::move(found));
      }
      if (!boxed && !words->Next(tesseract::RIL_TEXTLINE)) break;
    }
  }
  engine.Clear();
  return out;
}

}  // namespace kesta::ocr
