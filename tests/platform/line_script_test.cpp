// Deck lines of a library of Latin, Arabic and Hebrew titles, drawn as a deck
// draws them (cut by Qt where they do not fit) or as the stand-in window drew
// them, read back by the real recogniser at its accurate level.

#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>

#include "drawn_line.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "support/test_paths.h"

namespace kesta {
namespace {

// The words of a text in lower case: letters, digits and their marks.
QStringList wordsOf(const QString& text) {
  return text.normalized(QString::NormalizationForm_KC)
      .toLower()
      .split(QRegularExpression("[^\\p{L}\\p{M}\\p{N}]+"), Qt::SkipEmptyParts);
}

const RecognitionLanguages kLanguages =
    RecognitionLanguages::english.with(Script::arabic).with(Script::hebrew);

// The words of every line recognised in `image`, at the accurate level.
QStringList wordsRead(const Image& image) {
  QStringList read;
  for (const auto& line :
       TesseractRecognizer().recognize(image, {RecognitionLevel::accurate, 0.02f, kLanguages}))
    read += wordsOf(QString::fromStdString(line.text));
  return read;
}

// The words read of `title` shown at `pixels` in `fraction` of its width.
QStringList readShown(const QString& title, double fraction, int pixels) {
  return wordsRead(test::drawnLine(title, pixels, fraction, test::elided(title, fraction < 1)));
}

// A right-to-left title cut in its Latin version shows the cut and what is
// left of the version at its left: its own words come back in their script.
// A Latin line cut short keeps its Latin words, also those read unsurely for
// the dots or the few letters they hold. Whole titles read whole. The word a
// cut falls in is not compared.
TEST(LineScript, ACutLineReadsInTheScriptOfItsWordsAndALatinOneStaysLatin) {
  const struct {
    const char* title;
    double fraction;  // of its width that the deck shows
    const char* words;
  } cases[] = {
      {"גלים על הים (Extended Mix)", 0.85, "גלים על הים"},
      {"رقصة الصحراء (Extended Mix)", 0.85, "رقصة الصحراء"},
      {"אור (Extended Mix)", 0.7, "אור"},
      {"Summer Tape Deck", 0.85, "Summer Tape"},
      {"Deep Tape Sessions", 0.7, "Deep Tape"},
      {"DJ Tal שמש", 0.75, "DJ Tal"},
      {"גלים על הים (Extended Mix)", 1, "גלים על הים Extended Mix"},
      {"رقصة الصحراء (Extended Mix)", 1, "رقصة الصحراء Extended Mix"},
      {"DJ Tal שמש", 1, "DJ Tal שמש"},
  };
  for (const auto& c : cases) {
    for (int pixels = 15; pixels <= 19; ++pixels) {
      const QStringList read = readShown(QString::fromUtf8(c.title), c.fraction, pixels);
      QStringList missing;
      for (const QString& word : wordsOf(QString::fromUtf8(c.words)))
        if (!read.contains(word)) missing += word;
      EXPECT_TRUE(missing.isEmpty()) << c.title << " at " << pixels << " px, " << c.fraction
                                     << " shown: read " << read.join(' ').toStdString() << ", without "
                                     << missing.join(' ').toStdString();
    }
  }
}

// Deck areas as the stand-in window draws them, each read whole: a title
// cut where the Arabic face draws its dots, on which the Arabic model finds
// no line, and one whose sample it finds no line in (both read again as raw
// lines); a whole title with a letter the Latin model reads surely as "¢",
// a sign that tells no script and splits no sample.
TEST(LineScript, DecksAsTheStandInDrawsThemReadInTheScriptOfTheirTitles) {
  const struct {
    const char* fixture;
    const char* words;
  } cases[] = {
      {"cut_arabic_dots_deck.png", "بلادي نور ذكريات ضحكة في ورق البحر"},
      {"cut_arabic_version_deck.png", "نسيم شارع شارع نجوم المدينة أمل"},
      {"whole_arabic_deck.png", "شوارع سفر Original Mix"},
  };
  for (const auto& c : cases) {
    const auto path = test::sourceDir() / "tests" / "platform" / "fixtures" / c.fixture;
    const QImage deck(QString::fromStdString(path.string()));
    ASSERT_FALSE(deck.isNull()) << path;
    const QStringList read = wordsRead(test::imageOf(deck));
    for (const QString& word : wordsOf(QString::fromUtf8(c.words)))
      EXPECT_TRUE(read.contains(word))
          << c.fixture << ": " << word.toStdString() << " not in " << read.join(' ').toStdString();
  }
}

}  // namespace
}  // namespace kesta
