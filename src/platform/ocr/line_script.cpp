#include "platform/ocr/line_script.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/ocr/line_ellipsis.h"
#include "platform/ocr/line_text.h"
#include "platform/text/unicode_text.h"

namespace kesta::ocr {

namespace {

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

// A word read with less confidence than this is taken for letters of
// another script than the engine's.
constexpr float kSureWord = 85;
// How much of a line's unsure words, in line heights, is read to tell their
// script.
constexpr int kSampleHeights = 6;
// Line heights of unsure words below which a sample holds two or three
// letters, too few to tell their script unless a model reads them surely:
// the Arabic model reads "DJ" fairly.
constexpr double kFewLetterHeights = 1.5;
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

// Whether a word is the dots of an ellipsis alone: they tell no script.
// Other marks may: the Latin model reads "حب" as ">".
bool isEllipsisAlone(const std::string& text) {
  const LineText::Trimmed trimmed = LineText::trimmedToward(text, LineText::End::right);
  return trimmed.word.empty() && LineText::spellsEllipsis(trimmed);
}

// Whether the word carries the dots of an ellipsis on its side that faces
// `end` of the line.
bool carriesDotsToward(const std::string& text, LineText::End end) {
  const LineText::Trimmed trimmed = LineText::trimmedToward(text, end);
  return !trimmed.word.empty() && LineText::spellsEllipsis(trimmed);
}

// The word at an end of the line that the Latin model read with the dots of
// the line's cut: the word the cut falls in, or the Latin version a cut
// right-to-left line ends with ("..Extend)").
std::optional<std::size_t> wordWithTheCut(const ReadLine& read) {
  if (read.words.empty()) return std::nullopt;
  if (carriesDotsToward(read.words.front().text, LineText::End::left)) return 0;
  if (carriesDotsToward(read.words.back().text, LineText::End::right)) return read.words.size() - 1;
  return std::nullopt;
}

// Whether the picture shows an ellipsis left of every word of the line: a
// right-to-left line cut short.
bool cutAtLeft(const GreyPicture& picture, const ReadLine& read) {
  const ReadLine shown = withShownEllipsis(picture, read);
  const auto leftmost = std::min_element(shown.words.begin(), shown.words.end(),
                                         [](const auto& a, const auto& b) { return a.left < b.left; });
  return shown.words.size() > 1 && leftmost->text == "\u2026";
}

// A part of a line read as one line. A model may find no words there, in a
// line it reads well elsewhere: the dots of an Arabic line's cut, or a
// letter cut at the part's edge, throw its line finding off. Read as a raw
// line, with no finding, it reads the words.
std::vector<ReadLine> readAsLine(tesseract::TessBaseAPI& engine, const GreyPicture& picture, Area area) {
  std::vector<ReadLine> lines = readArea(engine, picture, area, tesseract::PSM_SINGLE_LINE);
  const bool none =
      std::all_of(lines.begin(), lines.end(), [](const ReadLine& line) { return line.words.empty(); });
  return none ? readArea(engine, picture, area, tesseract::PSM_RAW_LINE) : lines;
}

bool holdsLetter(const std::string& text) {
  const std::u32string scalars = unicode::toScalars(text);
  return std::any_of(scalars.begin(), scalars.end(), [](char32_t c) { return u_isalpha(UChar32(c)) != 0; });
}

// The first and the last of the widest run of `telling` words with no word
// of letters read surely between them; none without a telling word. A sign
// read surely tells no script: the Latin model reads an Arabic letter as "¢".
std::optional<std::pair<std::size_t, std::size_t>> widestRun(const ReadLine& read,
                                                             const std::vector<bool>& telling) {
  using Run = std::pair<std::size_t, std::size_t>;
  const auto width = [&](const Run& run) { return read.rights[run.second] - read.words[run.first].left; };
  std::optional<Run> widest;
  std::optional<Run> run;
  for (std::size_t i = 0; i < read.words.size(); ++i) {
    if (isSure(read, i) && holdsLetter(read.words[i].text)) run.reset();
    if (!telling[i]) continue;
    run = Run{run ? run->first : i, i};
    if (!widest || width(*run) > width(*widest)) widest = run;
  }
  return widest;
}

// The part of a line read to tell its script, and whether it holds so few
// letters that only a sure reading tells it.
struct Sample {
  Area area;
  bool scant = false;
};

// The sample of the line's unsure letters (see `inItsScript`) within
// `area`; none where the line's unsure words are an ellipsis's dots alone.
std::optional<Sample> sampleOf(const GreyPicture& picture, const ReadLine& read, Area area) {
  std::vector<bool> telling(read.words.size());
  for (std::size_t i = 0; i < read.words.size(); ++i)
    telling[i] = !isSure(read, i) && !isEllipsisAlone(read.words[i].text);
  const std::optional<std::size_t> cut = wordWithTheCut(read);
  const bool cutTells = cut && telling[*cut];
  const bool cutAlone = cutTells && std::count(telling.begin(), telling.end(), true) == 1;
  if (cutTells && !cutAlone) telling[*cut] = false;
  const auto run = widestRun(read, telling);
  if (!run) return std::nullopt;
  const int h = read.line.bottom - read.line.top;
  const int most = kSampleHeights * h - h / 2;  // margins aside
  const int left = read.words[run->first].left;
  const int right = read.rights[run->second];
  const bool fromRight = cutAtLeft(picture, read);
  const int from = (fromRight ? std::max(left, right - most) : left) - h / 4;
  const int to = (fromRight ? right : std::min(right, left + most)) + h / 4;
  return Sample{{std::max(from, area.left), area.top, std::min(to, area.right), area.bottom},
                cutAlone || right - left < kFewLetterHeights * h};
}

// The script reader that reads the line's unsure words best, from a sample
// of them; none when no script reads them even fairly (the waveform, a
// picture), and the Latin reading stays.
const ScriptReader* scriptOf(const Readers& readers, const GreyPicture& picture, const ReadLine& read,
                             Area area, std::size_t& last) {
  const std::optional<Sample> sample = sampleOf(picture, read, area);
  if (!sample) return nullptr;
  std::vector<float> scores(readers.scripts.size(), -1);
  std::size_t best = 0;
  bool kana = false;  // whether the Japanese model read kana in the sample
  // Scores script `i` once; whether the best so far is sure.
  const auto sure = [&](std::size_t i) {
    if (scores[i] < 0) {
      const ScriptReader& reader = readers.scripts[i];
      const auto lines = readAsLine(*reader.engine, picture, sample->area);
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
  if (scores[best] < (sample->scant ? kSureScript : kLeastScript)) return nullptr;
  last = best;
  return &readers.scripts[best];
}

}  // namespace

ReadLine inItsScript(const Readers& readers, const GreyPicture& picture, ReadLine read, std::size_t& last) {
  const PageLine& line = read.line;
  const int h = line.bottom - line.top;
  const Area area{std::max(line.left - h, 0), std::max(line.top - h / 4, 0),
                  std::min(line.right + h, picture.width), std::min(line.bottom + h / 4, picture.height)};
  const ScriptReader* reader = scriptOf(readers, picture, read, area, last);
  if (!reader) return read;
  std::vector<WordAt> script;
  for (const auto& found : readAsLine(*reader->engine, picture, area))
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

}  // namespace kesta::ocr
