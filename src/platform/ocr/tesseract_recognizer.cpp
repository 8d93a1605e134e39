#include "platform/ocr/tesseract_recognizer.h"

#include <tesseract/baseapi.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>

#include "platform/ocr/line_ellipsis.h"
#include "platform/ocr/line_script.h"
#include "platform/ocr/line_text.h"
#include "platform/ocr/read_line.h"

namespace kesta {

namespace {

using ocr::inItsScript;
using ocr::isSparse;
using ocr::isSure;
using ocr::PageLine;
using ocr::readArea;
using ocr::Readers;
using ocr::ReadLine;
using ocr::withShownEllipsis;

// The models of the scripts beyond Latin. Chinese is read with the model of
// traditional Han, which reads simplified titles as well as the models of the
// Chinese language read either form, and better (five of six titles of each
// form against four), in half the time of two models.
constexpr std::pair<Script, const char*> kModels[] = {
    {Script::japanese, "jpn"}, {Script::chinese, "HanT"}, {Script::korean, "kor"},
    {Script::arabic, "ara"},   {Script::hebrew, "heb"},   {Script::thai, "tha"},
};
// A line of a library in several scripts is read with a second model of its
// script as well where one reads some of its titles better: simplified Han,
// whose forms (灯, 风, 车) the traditional model gives back traditional.
// Last, so that a line of another script is not read with it on the way.
constexpr std::pair<Script, const char*> kSecondModels[] = {{Script::chinese, "HanS"}};

// The script a model of `kModels` or `kSecondModels` reads.
std::optional<Script> scriptOfModel(const std::string& name) {
  for (const auto& [script, model] : kModels)
    if (name == model) return script;
  for (const auto& [script, model] : kSecondModels)
    if (name == model) return script;
  return std::nullopt;
}

// Pages remembered per recogniser: both decks at both levels, their parts and
// the mixer, within a bound on their pixels.
constexpr std::size_t kPages = 12;
constexpr std::size_t kPageBytes = std::size_t(12) << 20;
// Partial readings of a part of the window before it is read whole again.
constexpr int kPartialReadings = 3;

using Engine = std::unique_ptr<tesseract::TessBaseAPI>;

// This thread's engines by data path and languages; an engine that could not
// start is kept as null so that it is not tried again on every call.
tesseract::TessBaseAPI* engineFor(const std::string& dataPath, const std::string& languages) {
  thread_local std::map<std::string, Engine> engines;
  const std::string key = dataPath + '\n' + languages;
  if (const auto found = engines.find(key); found != engines.end()) return found->second.get();

  auto engine = std::make_unique<tesseract::TessBaseAPI>();
  // Dictionaries are read only at start-up: switched off later they would
  // still be loaded and consulted.
  const std::vector<std::string> names{"load_system_dawg", "load_freq_dawg"};
  const std::vector<std::string> values{"0", "0"};
  if (engine->Init(dataPath.empty() ? nullptr : dataPath.c_str(), languages.c_str(), tesseract::OEM_LSTM_ONLY,
                   nullptr, 0, &names, &values, false) != 0) {
    engine.reset();
  } else {
    engine->SetPageSegMode(tesseract::PSM_SPARSE_TEXT);
    // The picture arrives dark on light already; a second look at inverted
    // lines would double the time.
    engine->SetVariable("tessedit_do_invert", "0");
  }
  return engines.emplace(key, std::move(engine)).first->second.get();
}

// Rows [top, bottom) of a picture.
struct Rows {
  int top = 0;
  int bottom = 0;
  int count() const { return std::max(bottom - top, 0); }
};

// The rows between the first and the last that differ; none when the
// images are alike. Images of one size.
Rows changedRows(const Image& before, const Image& now) {
  const auto rowBytes = std::size_t(now.width()) * 4;
  const auto differs = [&](int y) { return std::memcmp(before.row(y), now.row(y), rowBytes) != 0; };
  int top = 0;
  while (top < now.height() && !differs(top)) ++top;
  if (top == now.height()) return {};
  int bottom = now.height();
  while (!differs(bottom - 1)) --bottom;
  return {top, bottom};
}

// Whether a row of the picture holds anything darker than mid grey: the
// recogniser's picture is dark on light, so a row without is background.
bool inked(const GreyPicture& picture, int y) {
  const auto* row = picture.pixels.data() + std::size_t(y) * std::size_t(picture.width);
  return *std::min_element(row, row + picture.width) < 128;
}

// The rows of the picture to read again: those the changed rows of the image
// (`changed`, the picture being the image at `scale`) reach, bilinear
// filtering included, widened until they hold whole every remembered line
// they come near and every run of inked rows they touch, so that no line is
// cut, with up to a margin of blank rows around. A quarter of its height
// around a line counts as its own: accents and the edges of letters may lie
// past the box the recogniser gives. The whole picture once that is most of
// it: a part reads no faster then, and the whole gives layout analysis its
// full context.
Rows rowsToRead(Rows changed, const GreyPicture& picture, const std::vector<PageLine>& lines, int scale) {
  if (changed.count() == 0) return changed;
  const int height = picture.height;
  Rows rows{std::max(changed.top * scale - 1, 0), std::min(changed.bottom * scale + 1, height)};
  for (bool grew = true; grew;) {
    const Rows was = rows;
    for (const auto& line : lines) {
      const int reach = (line.bottom - line.top) / 4;
      if (line.bottom + reach <= rows.top || line.top - reach >= rows.bottom) continue;
      rows = {std::min(rows.top, line.top), std::max(rows.bottom, line.bottom)};
    }
    while (rows.top > 0 && inked(picture, rows.top - 1)) --rows.top;
    while (rows.bottom < height && inked(picture, rows.bottom)) ++rows.bottom;
    grew = rows.top != was.top || rows.bottom != was.bottom;
  }
  // The margin stops at the lines kept beside.
  int above = 0;
  int below = height;
  for (const auto& line : lines) {
    if (line.bottom <= rows.top) above = std::max(above, line.bottom);
    if (line.top >= rows.bottom) below = std::min(below, line.top);
  }
  for (int margin = 0; margin < 6 * scale && rows.top > above && !inked(picture, rows.top - 1); ++margin)
    --rows.top;
  for (int margin = 0; margin < 6 * scale && rows.bottom < below && !inked(picture, rows.bottom); ++margin)
    ++rows.bottom;
  if (rows.count() * 3 > height * 2) return {0, height};
  return rows;
}

// Every line found in the given rows of the picture; boxes in pixels of the
// whole picture. A line lower than `minimumHeight` of the picture is never
// returned, so it is not read again in its script.
std::vector<PageLine> readLines(const Readers& readers, const GreyPicture& picture, Rows rows,
                                float minimumHeight) {
  std::vector<PageLine> out;
  std::size_t last = readers.scripts.size();  // none yet
  for (ReadLine& read : readArea(*readers.lines, picture, {0, rows.top, picture.width, rows.bottom},
                                 tesseract::PSM_SPARSE_TEXT)) {
    const bool shown = double(read.line.bottom - read.line.top) / picture.height >= minimumHeight;
    if (shown && !readers.scripts.empty() && !isSure(read) && !isSparse(read))
      read = inItsScript(readers, picture, std::move(read), last);
    // The ellipsis of a cut line as the picture shows it, before the words
    // are put in order: the models misread its dots.
    read = withShownEllipsis(picture, std::move(read));
    PageLine line = read.line;
    line.text = LineText::inLogicalOrder(read.words);
    line.otherOrder = LineText::inOtherOrder(std::move(read.words));
    if (line.text.find_first_not_of(" \t") != std::string::npos) out.push_back(std::move(line));
  }
  return out;
}

// The remembered lines outside the rows read again, with the lines read there
// in their place.
std::vector<PageLine> merged(const std::vector<PageLine>& before, std::vector<PageLine> read, Rows rows) {
  std::vector<PageLine> out;
  for (const auto& line : before)
    if (line.bottom <= rows.top) out.push_back(line);
  out.insert(out.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
  for (const auto& line : before)
    if (line.top >= rows.bottom) out.push_back(line);
  return out;
}

// The lines at least `minimumHeight` of the picture (w × h) high, boxes as fractions
// with the origin at the bottom left.
std::vector<TextObservation> observations(const std::vector<PageLine>& lines, double w, double h,
                                          float minimumHeight) {
  std::vector<TextObservation> out;
  for (const auto& line : lines) {
    if ((line.bottom - line.top) / h < minimumHeight) continue;
    out.push_back(
        {line.text,
         Rect{line.left / w, 1 - line.bottom / h, (line.right - line.left) / w, (line.bottom - line.top) / h},
         line.otherOrder});
  }
  return out;
}

}  // namespace

TesseractRecognizer::TesseractRecognizer(Memory memory, std::string dataPath)
    : memory_(memory), dataPath_(std::move(dataPath)) {}

TesseractRecognizer::Models TesseractRecognizer::modelsOf(RecognitionLanguages languages) {
  // The Latin-script model reads every Latin-alphabet language, English too.
  const std::string latin = languages.latinBeyondEnglish ? "Latin" : "eng";
  if (languages.scripts == 0) return {latin, {}};
  // The installed languages are looked up once per thread and data path, not
  // on every reading.
  thread_local std::map<std::string, std::vector<std::string>> installedIn;
  auto found = installedIn.find(dataPath_);
  if (found == installedIn.end()) {
    tesseract::TessBaseAPI* english = engineFor(dataPath_, "eng");
    std::vector<std::string> names;
    if (english) english->GetAvailableLanguagesAsVector(&names);
    found = installedIn.emplace(dataPath_, std::move(names)).first;
  }
  const std::vector<std::string>& installed = found->second;
  const auto isInstalled = [&](const std::string& name) {
    return std::find(installed.begin(), installed.end(), name) != installed.end();
  };
  // One missing model would keep a whole combination from starting.
  const std::string last = isInstalled(latin) ? latin : "eng";
  // A script's model comes first: the first language reads every word and
  // the others only those it reads poorly, so English first would take words
  // of other scripts for Latin letters.
  std::vector<std::string> scripts;
  for (const auto& [script, name] : kModels)
    if (languages.has(script) && isInstalled(name)) scripts.push_back(name);
  if (scripts.size() == 1) return {scripts.front() + "+" + last, {}};
  // Several scripts first in one combination read each other's words as
  // their own: the Latin model finds the lines and reads those it is sure
  // of, and each other line is read with the script that reads it best.
  for (const auto& [script, name] : kSecondModels)
    if (languages.has(script) && isInstalled(name)) scripts.push_back(name);
  return {last, std::move(scripts)};
}

struct TesseractRecognizer::Page {
  RecognitionRequest request;
  // The image as asked: the picture read from it has its levels spread over
  // the whole image, so one changed pixel may change every level of it.
  Image image;
  std::vector<PageLine> lines;  // every line found, however low, in pixels of the picture read
  int partialReadings = 0;      // since the last whole one
};

std::shared_ptr<const TesseractRecognizer::Page> TesseractRecognizer::closestPage(
    const RecognitionRequest& request, const Image& image) {
  std::vector<std::shared_ptr<const Page>> candidates;
  {
    const std::lock_guard lock(mutex_);
    for (const auto& page : pages_) {
      if (page->request == request && page->image.width() == image.width() &&
          page->image.height() == image.height())
        candidates.push_back(page);
    }
  }
  std::shared_ptr<const Page> closest;
  int fewest = image.height() + 1;
  for (const auto& page : candidates) {
    const int rows = changedRows(page->image, image).count();
    if (rows < fewest) {
      fewest = rows;
      closest = page;
    }
  }
  return closest;
}

void TesseractRecognizer::remember(std::shared_ptr<const Page> page,
                                   const std::shared_ptr<const Page>& before) {
  const std::lock_guard lock(mutex_);
  // The page replaces the one it was read against, so that each part of the
  // window read (a deck's area, its title, its clock) keeps one page however
  // often the others are read.
  std::erase(pages_, before);
  pages_.push_back(std::move(page));
  std::size_t bytes = 0;
  const auto size = [](const Page& kept) {
    return std::size_t(kept.image.width()) * std::size_t(kept.image.height()) * 4;
  };
  for (const auto& kept : pages_) bytes += size(*kept);
  std::size_t dropped = 0;
  while (pages_.size() - dropped > kPages || bytes > kPageBytes) bytes -= size(*pages_[dropped++]);
  pages_.erase(pages_.begin(), pages_.begin() + std::ptrdiff_t(dropped));
}

std::vector<TextObservation> TesseractRecognizer::recognize(const Image& image,
                                                            const RecognitionRequest& request) {
  if (image.isEmpty()) return {};
  const Models models = modelsOf(request.languages);
  Readers readers{engineFor(dataPath_, models.lines), {}};
  if (!readers.lines) readers.lines = engineFor(dataPath_, "eng");
  if (!readers.lines) return {};
  for (const auto& name : models.lineScripts) {
    const auto script = scriptOfModel(name);
    auto* engine = engineFor(dataPath_, name);
    if (engine && script) readers.scripts.push_back({engine, *script});
  }

  // The Latin-script model reads screen text at its own scale better than the
  // English one does at twice it, and doubled it would take half as long again.
  const bool doubled =
      request.level == RecognitionLevel::accurate && request.languages != RecognitionLanguages::latin;
  const int scale = doubled ? 2 : 1;
  if (memory_ == Memory::none) {
    const GreyPicture picture = invertedGrey(image, scale);
    return observations(readLines(readers, picture, {0, picture.height}, request.minimumTextHeight),
                        picture.width, picture.height, request.minimumTextHeight);
  }
  auto page = std::make_shared<Page>(Page{request, image, {}});
  const std::shared_ptr<const Page> before = closestPage(request, image);
  const Rows changed = before ? changedRows(before->image, image) : Rows{0, image.height()};
  if (before && changed.count() == 0) {
    page->lines = before->lines;
    page->partialReadings = before->partialReadings;
  } else {
    const GreyPicture picture = invertedGrey(image, scale);
    const bool partial =
        before && before->partialReadings < kPartialReadings && changed.count() * 3 <= image.height() * 2;
    const Rows rows = partial ? rowsToRead(changed, picture, before->lines, scale) : Rows{0, picture.height};
    auto read = readLines(readers, picture, rows, request.minimumTextHeight);
    const bool whole = rows.count() == picture.height;
    page->lines = whole ? std::move(read) : merged(before->lines, std::move(read), rows);
    page->partialReadings = whole ? 0 : before->partialReadings + 1;
  }
  auto out =
      observations(page->lines, image.width() * scale, image.height() * scale, request.minimumTextHeight);
  // A page that shares no row with the closest one is of another part of the
  // window (the other deck's area), whose page stays.
  remember(std::move(page), changed.count() < image.height() ? before : nullptr);
  return out;
}

}  // namespace kesta
