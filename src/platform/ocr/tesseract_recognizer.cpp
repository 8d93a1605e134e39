#include "platform/ocr/tesseract_recognizer.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>

namespace kesta {

namespace {

// Screen text carries no resolution; this one keeps Tesseract from guessing
// (and from saying so on the console) and suits text 10 to 30 pixels high.
constexpr int kResolution = 96;

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

std::uint8_t lightness(const std::uint8_t* p) { return std::max({p[0], p[1], p[2]}); }

// Spreads the levels so that the commonest one (the background) becomes
// white and the darkest black: the recogniser reads dark gray on light gray
// markedly worse than black on white.
void stretchLevels(std::vector<std::uint8_t>& grey, const std::array<int, 256>& histogram) {
  const int background = int(std::max_element(histogram.begin(), histogram.end()) - histogram.begin());
  int darkest = 0;
  while (darkest < background && histogram[std::size_t(darkest)] == 0) ++darkest;
  if (darkest >= background) return;
  std::array<std::uint8_t, 256> level{};
  for (int v = 0; v < 256; ++v)
    level[std::size_t(v)] = std::uint8_t(std::clamp((v - darkest) * 255 / (background - darkest), 0, 255));
  for (std::uint8_t& v : grey) v = level[v];
}

// Doubles a line of `n` samples spaced `step` apart with bilinear weights
// (each sample sits between its neighbours at 1/4 and 3/4).
template <class In, class Out>
void doubleLine(const In* in, std::size_t inStep, int n, Out* out, std::size_t outStep) {
  for (int i = 0; i < n; ++i) {
    const unsigned here = in[std::size_t(i) * inStep];
    const unsigned before = in[std::size_t(std::max(i - 1, 0)) * inStep];
    const unsigned after = in[std::size_t(std::min(i + 1, n - 1)) * inStep];
    out[std::size_t(2 * i) * outStep] = Out((3 * here + before + 2) / 4);
    out[std::size_t(2 * i + 1) * outStep] = Out((3 * here + after + 2) / 4);
  }
}

}  // namespace

GreyPicture invertedGrey(const Image& image, int scale) {
  const int w = image.width();
  const int h = image.height();
  GreyPicture out;
  std::vector<std::uint8_t> grey(std::size_t(w) * std::size_t(h));
  std::array<int, 256> histogram{};
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = image.row(y);
    std::uint8_t* g = grey.data() + std::size_t(y) * std::size_t(w);
    for (int x = 0; x < w; ++x, p += 4) {
      g[x] = std::uint8_t(255 - lightness(p));
      ++histogram[g[x]];
    }
  }
  stretchLevels(grey, histogram);
  if (scale != 2) {
    out.width = w;
    out.height = h;
    out.pixels = std::move(grey);
    return out;
  }
  out.width = 2 * w;
  out.height = 2 * h;
  std::vector<std::uint8_t> wide(std::size_t(out.width) * std::size_t(h));
  for (int y = 0; y < h; ++y) {
    doubleLine(grey.data() + std::size_t(y) * std::size_t(w), 1, w,
               wide.data() + std::size_t(y) * std::size_t(out.width), 1);
  }
  out.pixels.resize(std::size_t(out.width) * std::size_t(out.height));
  for (int x = 0; x < out.width; ++x) {
    doubleLine(wide.data() + x, std::size_t(out.width), h, out.pixels.data() + x, std::size_t(out.width));
  }
  return out;
}

TesseractRecognizer::TesseractRecognizer(std::string dataPath) : dataPath_(std::move(dataPath)) {}

std::string TesseractRecognizer::detectionLanguages() {
  tesseract::TessBaseAPI* english = engineFor(dataPath_, "eng");
  if (!english) return "eng";
  std::vector<std::string> installed;
  english->GetAvailableLanguagesAsVector(&installed);
  std::string out = "eng";
  for (const std::string& language : installed) {
    // Orientation and equation models are not languages.
    if (language != "eng" && language != "osd" && language != "equ") out += "+" + language;
  }
  return out;
}

std::string TesseractRecognizer::languagesOf(RecognitionLanguages languages) {
  switch (languages) {
    case RecognitionLanguages::english:
      return "eng";
    case RecognitionLanguages::latin:
      // The script model reads every Latin-alphabet language, English too.
      return "Latin";
    case RecognitionLanguages::detect:
      return detectionLanguages();
  }
  return "eng";
}

std::vector<TextObservation> TesseractRecognizer::recognize(const Image& image,
                                                            const RecognitionRequest& request) {
  if (image.isEmpty()) return {};
  tesseract::TessBaseAPI* engine = engineFor(dataPath_, languagesOf(request.languages));
  if (!engine) engine = engineFor(dataPath_, "eng");
  if (!engine) return {};

  // The Latin-script model reads screen text at its own scale better than the
  // English one does at twice it, and doubled it would take half as long again.
  const bool doubled =
      request.level == RecognitionLevel::accurate && request.languages != RecognitionLanguages::latin;
  const GreyPicture picture = invertedGrey(image, doubled ? 2 : 1);
  engine->SetImage(picture.pixels.data(), picture.width, picture.height, 1, picture.width);
  engine->SetSourceResolution(kResolution);
  std::vector<TextObservation> out;
  if (engine->Recognize(nullptr) == 0) {
    const std::unique_ptr<tesseract::ResultIterator> line(engine->GetIterator());
    const double w = picture.width;
    const double h = picture.height;
    if (line && !line->Empty(tesseract::RIL_TEXTLINE)) {
      do {
        int left, top, right, bottom;
        if (!line->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom)) continue;
        if ((bottom - top) / h < request.minimumTextHeight) continue;
        const std::unique_ptr<char[]> utf8(line->GetUTF8Text(tesseract::RIL_TEXTLINE));
        std::string text = utf8 ? utf8.get() : "";
        while (!text.empty() && text.back() == '\n') text.pop_back();
        if (text.find_first_not_of(" \t") == std::string::npos) continue;
        out.push_back(
            {std::move(text), Rect{left / w, 1 - bottom / h, (right - left) / w, (bottom - top) / h}});
      } while (line->Next(tesseract::RIL_TEXTLINE));
    }
  }
  engine->Clear();
  return out;
}

}  // namespace kesta
