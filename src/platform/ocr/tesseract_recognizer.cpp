#include "platform/ocr/tesseract_recognizer.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <optional>

#include "platform/ocr/line_text.h"
#include "platform/text/unicode_text.h"

namespace kesta {

namespace {

// Screen text carries no resolution; this one keeps Tesseract from guessing
// (and from saying so on the console) and suits text 10 to 30 pixels high.
constexpr int kResolution = 96;

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

// A line as Tesseract found it, in pixels of the picture it read.
struct PageLine {
  int left = 0, top = 0, right = 0, bottom = 0;
  std::string text;
  std::string otherOrder;  // see TextObservation
};

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

WordAt wordAt(const ReadLine& read, std::size_t i) {
  return {read.words[i], read.rights[i], read.confidences[i]};
}

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

// Every line `engine` finds in an area of the picture, read as a picture of
// its own; boxes in pixels of the whole picture.
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

// Whether a letter belongs to the script a model reads beyond Latin.
bool isLetterOf(Script script, char32_t c) {
  const auto in = [c](char32_t first, char32_t last) { return c >= first && c <= last; };
  const bool han = in(0x3400, 0x4DBF) || in(0x4E00, 0x9FFF) || in(0xF900, 0xFAFF);
  switch (script) {
    case Script::japanese:
      return han || in(0x3040, 0x30FF);
    case Script::chinese:
      return han;
    case Script::korean:
      return in(0xAC00, 0xD7AF) || in(0x1100, 0x11FF) || in(0x3130, 0x318F);
    case Script::arabic:
      return in(0x0600, 0x06FF) || in(0x0750, 0x077F) || in(0xFB50, 0xFDFF) || in(0xFE70, 0xFEFF);
    case Script::hebrew:
      return in(0x0591, 0x05FF) || in(0xFB1D, 0xFB4F);
    case Script::thai:
      return in(0x0E01, 0x0E7F);
  }
  return false;
}

bool holdsLetterOf(Script script, const std::string& text) {
  const std::u32string letters = unicode::toScalars(text);
  return std::any_of(letters.begin(), letters.end(), [&](char32_t c) { return isLetterOf(script, c); });
}

bool holdsKana(const std::string& text) {
  const std::u32string letters = unicode::toScalars(text);
  return std::any_of(letters.begin(), letters.end(), [](char32_t c) { return c >= 0x3040 && c <= 0x30FF; });
}

bool isLatin(char32_t c) { return u_getIntPropertyValue(UChar32(c), UCHAR_SCRIPT) == USCRIPT_LATIN; }

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

// A word read with less confidence than this is taken for letters of
// another script than the engine's.
constexpr float kSureWord = 85;
// How much of a line's unsure words, in line heights, is read to tell their
// script.
constexpr int kSampleHeights = 6;
// Line heights of width per character below which a line is no text.
constexpr std::size_t kSparseHeights = 4;
// A sample read this surely in one script needs no other script tried; one
// that no script reads as surely as this is none of them.
constexpr float kSureScript = 88;
constexpr float kLeastScript = 50;

bool isSure(const ReadLine& read, std::size_t word) { return read.confidences[word] >= kSureWord; }

// How well a script's model read a part of a line: its confidence in the
// words that came back in its own letters, weighed by their widths against
// every word but those in Latin letters alone, so that a model that read
// the part as another script's letters or as digits scores low, and Latin
// words the sample takes in ("DJ Tal שמש") count for none.
float scoreOf(Script script, const std::vector<ReadLine>& lines) {
  float sum = 0;
  float width = 0;
  for (const auto& line : lines) {
    for (std::size_t i = 0; i < line.words.size(); ++i) {
      const std::u32string text = unicode::toScalars(line.words[i].text);
      const auto letter = [](char32_t c) { return u_isalpha(UChar32(c)) != 0; };
      const bool latinOnly =
          std::any_of(text.begin(), text.end(), letter) &&
          std::all_of(text.begin(), text.end(), [&](char32_t c) { return !letter(c) || isLatin(c); });
      if (latinOnly) continue;
      const auto w = float(std::max(line.rights[i] - line.words[i].left, 1));
      width += w;
      if (std::any_of(text.begin(), text.end(), [&](char32_t c) { return isLetterOf(script, c); }))
        sum += line.confidences[i] * w;
    }
  }
  return width > 0 ? sum / width : 0;
}

// The script reader that reads the line's unsure words best, from a sample
// of them; none when no script reads them even fairly (the waveform, a
// picture), and the Latin reading stays.
const ScriptReader* scriptOf(const Readers& readers, const GreyPicture& picture, const ReadLine& read,
                             Area area, std::size_t& last) {
  const int h = read.line.bottom - read.line.top;
  int start = area.right;
  int end = area.left;
  for (std::size_t i = 0; i < read.words.size(); ++i) {
    if (isSure(read, i)) continue;
    start = std::min(start, read.words[i].left);
    end = std::max(end, read.rights[i]);
  }
  const Area sample{std::max(start - h / 4, area.left), area.top,
                    std::min({end + h / 4, start + kSampleHeights * h, area.right}), area.bottom};
  if (sample.right - sample.left < h / 2) return &readers.scripts[last < readers.scripts.size() ? last : 0];
  std::vector<float> scores(readers.scripts.size(), -1);
  std::size_t best = 0;
  bool kana = false;  // whether the Japanese model read kana in the sample
  // Scores script `i` once; whether the best so far is sure.
  const auto sure = [&](std::size_t i) {
    if (scores[i] < 0) {
      const ScriptReader& reader = readers.scripts[i];
      const auto lines = readArea(*reader.engine, picture, sample, tesseract::PSM_SINGLE_LINE);
      scores[i] = std::max(scoreOf(reader.script, lines), 0.f);
      if (reader.script == Script::japanese)
        for (const auto& line : lines)
          for (const auto& word : line.words) kana = kana || holdsKana(word.text);
    }
    if (scores[i] > scores[best]) best = i;
    return scores[best] >= kSureScript;
  };
  // The scripts are tried until one reads the sample surely, the one that
  // read the last line first. Japanese and Chinese share the ideographs,
  // so a line that one of them reads surely is read by every Han model (both
  // forms of Chinese), unless it is Japanese with kana in it.
  const auto han = [&](std::size_t i) {
    return readers.scripts[i].script == Script::japanese || readers.scripts[i].script == Script::chinese;
  };
  bool found = last < readers.scripts.size() && sure(last);
  for (std::size_t i = 0; !found && i < readers.scripts.size(); ++i) found = sure(i);
  if (found && han(best) && !(readers.scripts[best].script == Script::japanese && kana)) {
    for (std::size_t i = 0; i < readers.scripts.size(); ++i)
      if (han(i)) sure(i);
  }
  if (scores[best] < kLeastScript) return nullptr;
  last = best;
  return &readers.scripts[best];
}

// The line read again with the model of its script, which gives its words
// but where the Latin reading was surer (a version such as "(Club Edit)", a
// number). A line height is added on either side: the Latin model's box may
// leave out a first or last character it did not take for text.
ReadLine inItsScript(const Readers& readers, const GreyPicture& picture, ReadLine read, std::size_t& last) {
  const PageLine& line = read.line;
  const int h = line.bottom - line.top;
  const Area area{std::max(line.left - h, 0), std::max(line.top - h / 4, 0),
                  std::min(line.right + h, picture.width), std::min(line.bottom + h / 4, picture.height)};
  const ScriptReader* reader = scriptOf(readers, picture, read, area, last);
  if (!reader) return read;
  std::vector<WordAt> script;
  for (const auto& found : readArea(*reader->engine, picture, area, tesseract::PSM_SINGLE_LINE))
    for (std::size_t i = 0; i < found.words.size(); ++i) script.push_back(wordAt(found, i));
  // Each Latin word against the script's words that lie in it: the
  // script's stand when half of them or more are in its letters and they
  // were read more surely on average (a kana read as "¢", Hebrew as "nn",
  // but "DJ" read as Hebrew less surely than as Latin); the Latin word
  // stands otherwise, but an unsure one that the script's model found
  // nothing in.
  std::vector<bool> latinStands(read.words.size(), false);
  std::vector<bool> scriptStands(script.size(), true);
  for (std::size_t i = 0; i < read.words.size(); ++i) {
    std::vector<std::size_t> inside;
    for (std::size_t j = 0; j < script.size(); ++j) {
      const int middle = (script[j].word.left + script[j].right) / 2;
      if (middle >= read.words[i].left && middle < read.rights[i]) inside.push_back(j);
    }
    float confidence = 0;
    std::size_t inLetters = 0;
    for (const std::size_t j : inside) {
      confidence += script[j].confidence / float(inside.size());
      inLetters += holdsLetterOf(reader->script, script[j].word.text);
    }
    const bool scriptWins =
        !inside.empty() && confidence > read.confidences[i] && 2 * inLetters >= inside.size();
    latinStands[i] = !scriptWins && (isSure(read, i) || !inside.empty());
    for (const std::size_t j : inside) scriptStands[j] = scriptWins;
  }
  ReadLine out;
  out.line = read.line;
  for (std::size_t i = 0; i < read.words.size(); ++i)
    if (latinStands[i]) out.add(wordAt(read, i));
  for (std::size_t j = 0; j < script.size(); ++j)
    if (scriptStands[j]) out.add(script[j]);
  return out;
}

bool isSure(const ReadLine& read) {
  for (std::size_t i = 0; i < read.words.size(); ++i)
    if (!isSure(read, i)) return false;
  return true;
}

// Whether the Latin reading of a line is too sparse for text of any
// script: fewer characters than a quarter of its width in line heights.
// The waveform reads so ("AAA" across the deck), and is not read again.
bool isSparse(const ReadLine& read) {
  std::size_t characters = 0;
  for (const auto& word : read.words) characters += unicode::toScalars(word.text).size();
  const int h = std::max(read.line.bottom - read.line.top, 1);
  return characters * kSparseHeights < std::size_t((read.line.right - read.line.left) / h);
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
