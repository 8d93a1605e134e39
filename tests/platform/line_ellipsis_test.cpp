// Deck lines drawn as a deck shows them, light on dark in the Noto faces,
// and read back by the real recogniser at its accurate level.

#include "platform/ocr/line_ellipsis.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPainter>
#include <QTextOption>
#include <algorithm>
#include <functional>
#include <string>

#include "drawn_line.h"
#include "platform/ocr/grey_picture.h"
#include "platform/ocr/line_text.h"
#include "platform/ocr/read_line.h"
#include "platform/ocr/tesseract_recognizer.h"

namespace kesta {
namespace {

using L = RecognitionLanguages;
using test::deckFont;
using test::Paint;
const L kArabic = L::english.with(Script::arabic);
const L kHebrew = L::english.with(Script::hebrew);
const L kBoth = kArabic.with(Script::hebrew);  // lines found in Latin, read again per script

// The line `paint` draws with `text`'s faces at `pixels` into a field of
// `width` of that text, as the recogniser reads it: "text|other order".
std::string readDrawn(const QString& text, int pixels, double width, L languages, const Paint& paint) {
  std::string read;
  for (const auto& line : TesseractRecognizer().recognize(test::drawnLine(text, pixels, width, paint),
                                                          {RecognitionLevel::accurate, 0.02f, languages}))
    read += line.text + "|" + line.otherOrder;
  return read;
}

bool endsWithEllipsis(const std::string& read) {
  return read.substr(0, read.find('|')).ends_with("\u2026") || read.ends_with("\u2026");
}

// Whether the picture alone shows an ellipsis on a line of the image, read
// as the recogniser reads it at the accurate level: the letters may spell
// one where there is none ("Strobe..." for three dashes), which reads as a cut.
bool pictureShowsEllipsis(const Image& image) {
  tesseract::TessBaseAPI engine;
  if (engine.Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY) != 0) {
    ADD_FAILURE() << "no English model";
    return false;
  }
  const GreyPicture picture = invertedGrey(image, 2);
  const auto lines =
      ocr::readArea(engine, picture, {0, 0, picture.width, picture.height}, tesseract::PSM_SPARSE_TEXT);
  return std::any_of(lines.begin(), lines.end(), [&](const ocr::ReadLine& line) {
    const ocr::ReadLine shown = ocr::withShownEllipsis(picture, line);
    return shown.words.size() != line.words.size() || shown.rights != line.rights ||
           shown.confidences != line.confidences;
  });
}

// Paints `title` where a line of its direction starts and the "…" `gap` em
// beyond its end, as a deck may set a cut title: after a wide gap, at the
// left of a right-to-left title.
Paint cutAfterGap(const QString& title, bool bold, double gap) {
  return [=](QPainter& painter, const QFontMetricsF&, QRectF field) {
    QFont font = painter.font();
    font.setBold(bold);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const bool rightToLeft = title.isRightToLeft();
    QTextOption option((rightToLeft ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute | Qt::AlignVCenter);
    option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    painter.drawText(field, title, option);
    const QString dots = QString::fromUtf8("\u2026");
    const double reach = metrics.horizontalAdvance(title) + gap * font.pixelSize();
    const double x =
        rightToLeft ? field.right() - reach - metrics.horizontalAdvance(dots) : field.left() + reach;
    painter.drawText(QRectF(x, field.top(), metrics.horizontalAdvance(dots) + 2, field.height()), dots,
                     QTextOption(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter));
  };
}

// A title cut by Qt to `fraction` of its width ends with "…" in the order it
// was drawn in, whatever the recogniser made of the dots (a line of both
// directions is read in both orders, one ending with it). A whole line
// (fraction 1) comes back without one, whatever dots it holds. (Dots a title
// ends with are read as its cut, as the matcher reads "...".)
TEST(LineEllipsis, ACutTitleEndsWithAnEllipsisAndAWholeLineHasNone) {
  const struct {
    const char* title;
    double fraction;
    L languages;
  } cases[] = {
      {"Midnight City (Eric Prydz Private Remix)", 0.6, L::english},
      {"Everybody's Free (To Feel Good)", 0.45, L::english},  // the dots touch the r's arm
      {"Sing It Back (Boris Dlugosch Mix)", 0.7, L::latin},   // read at the screen's own scale
      {"رقصة الصحراء (Extended Mix)", 0.7, kArabic},
      {"سهر الليالي في بيروت", 0.6, kArabic},
      {"ים של אהבה (Original Mix)", 0.8, kHebrew},
      {"ירח מעל הים (Extended Mix)", 0.5, kHebrew},
      {"Tel Aviv Nights לילות תל אביב", 0.8, kHebrew},
      {"Radio Edit Vol. 2.", 1, L::english},
      {"03:21.4   -04:38.6   128.00", 1, L::english},
      {"Fiji Hajj", 1, L::english},
      {"Intro \u00b7\u00b7\u00b7", 1, L::english},
      {"ירח... מעל הים", 1, kBoth},
      {"حديث الليل عطش", 1, kArabic},
      {"قهوة بنت ١٠٠٠", 1, kArabic},
      {"שָׁלוֹם עֲלֵיכֶם", 1, kHebrew},
  };
  for (const auto& c : cases) {
    const QString text = QString::fromStdString(c.title);
    for (const int pixels : {11, 13, 16}) {
      const std::string read =
          readDrawn(text, pixels, c.fraction, c.languages, test::elided(text, c.fraction < 1));
      EXPECT_TRUE(c.fraction < 1 ? endsWithEllipsis(read) : read.find("\u2026") == std::string::npos)
          << c.title << " at " << pixels << " px: " << read;
    }
  }
}

// A title as a deck cuts it, its "…" found in the picture at the sizes and
// gaps the deck draws, the recogniser's reading of the dots (and of a
// bracket cut with them) gone.
TEST(LineEllipsis, TheEllipsisADeckDrawsIsFoundAfterTheWordsItCuts) {
  const struct {
    const char* title;  // as shown before the "…"
    int pixels;
    bool bold;
    double gap;  // in em
    L languages;
    const char* read;
  } cases[] = {
      {"ليالي الشرق والق", 17, false, 1, kArabic, "ليالي الشرق والق…"},        // descenders ق و ر
      {"سهر الليالي في ال", 17, false, 0.4, kBoth, "سهر الليالي في ال…"},      // ي ل outnumber feet
      {"ليالي الشرق والق", 16, true, 0.25, kBoth, "ليالي الشرق والق…"},        // bold dots set close
      {"קן של ציפורים בעיר", 18, false, 1.2, kHebrew, "קן של ציפורים בעיר…"},  // a gap over a line height
      {"رقصة القمر والنور", 17, false, 1.2, kArabic, "رقصة القمر والنور…"},
      {"Everybody's Free (To", 17, false, 1.2, L::english, "Everybody's Free (To…"},
      {"אור שמש בים", 18, true, 0.25, kHebrew, "אור שמש בים…"},  // bold dots beside short letters
      {"קפה שחור (", 15, true, 0.2, kBoth, "קפה שחור…"},         // a bracket cut with the dots
      {"قمر الوادي (", 16, true, 0.2, kBoth, "قمر الوادي…"},
  };
  for (const auto& c : cases) {
    const QString title = QString::fromUtf8(c.title);
    const std::string read = readDrawn(title, c.pixels, 2, c.languages, cutAfterGap(title, c.bold, c.gap));
    EXPECT_EQ(read.substr(0, read.find('|')), c.read) << c.title << " at " << c.pixels << " px: " << read;
  }
}

// The words two models read on a cut right-to-left line, laid by hand over
// its picture: the Latin model's word over the dots and the first letters
// inward of them, which the script's model read as a word of their own,
// goes with the dots; the last word read with the dots stays, though its
// box spans the line, as Tesseract gives a right-to-left line's last word.
TEST(LineEllipsis, AWordOverTheDotsGoesWhereAnotherWordReadsItsLetters) {
  const QString title = QString::fromUtf8("قلبي يرقص على المو");
  constexpr int kPixels = 19;
  const GreyPicture picture =
      invertedGrey(test::drawnLine(title, kPixels, 2, cutAfterGap(title, false, 0.35)), 2);
  // Where the words stand in the picture, as the field of `drawn` places them.
  const QFontMetricsF metrics(deckFont(title, kPixels));
  const double right = kPixels + 2 * metrics.horizontalAdvance(title) + 1;
  const QStringList words = title.split(' ');
  const auto box = [&](int i) {
    const double end = right - metrics.horizontalAdvance(words.mid(0, i).join(' ') + (i > 0 ? " " : ""));
    return std::pair{int(2 * (end - metrics.horizontalAdvance(words[i]))), int(2 * end)};
  };
  const double baseline = (4 * kPixels - metrics.height()) / 2 + metrics.ascent();
  const QRectF ink = metrics.tightBoundingRect(title);
  const int top = int(2 * (baseline + ink.top()));
  const int bottom = int(2 * (baseline + ink.bottom()));
  const ocr::PageLine line{box(3).first, top, int(2 * right), bottom, {}, {}};
  const struct {
    const char* what;
    const char* word;  // read from the picture's left edge over the dots
    int right;
    int words;  // those read inward of it
  } cases[] = {
      {"a second reading", "eI", box(3).first + (box(3).second - box(3).first) * 2 / 5, 4},
      {"the last word", "المو...", line.right, 3},
  };
  for (const auto& c : cases) {
    ocr::ReadLine read{line, {}, {}, {}};
    read.add({{c.word, 0}, c.right, 60});
    for (int i = c.words - 1; i >= 0; --i)
      read.add({{words[i].toStdString(), box(i).first}, box(i).second, 90});
    EXPECT_EQ(LineText::inLogicalOrder(ocr::withShownEllipsis(picture, read).words), "قلبي يرقص على المو…")
        << c.what;
  }
}

// Marks after a word at 20 px, in whole pixels: the picture shows three dots
// as an ellipsis; marks that differ from them in one way only as none.
TEST(LineEllipsis, OnlyThreeSmallDotsAlikeEvenlySpacedOnTheBaselineAreAnEllipsis) {
  const struct {
    const char* what;
    int sizes[4];  // each mark's height, 0 for none
    int stretch;   // each mark's width in heights
    int lift;
    int steps[3];  // from each mark's centre to the next one's
    bool ellipsis;
  } cases[] = {
      {"dots", {2, 2, 2}, 1, 0, {6, 6}, true},
      {"dashes", {1, 1, 1}, 4, 0, {6, 6}, false},
      {"squares", {5, 5, 5}, 1, 0, {9, 9}, false},
      {"a larger dot", {2, 4, 2}, 1, 0, {6, 6}, false},
      {"uneven dots", {2, 2, 2}, 1, 0, {6, 9}, false},
      {"raised dots", {2, 2, 2}, 1, 4, {6, 6}, false},
      {"four dots", {2, 2, 2, 2}, 1, 0, {6, 6, 6}, false},
  };
  for (const auto& c : cases) {
    const Image image = test::drawnLine(
        "Strobe", 20, 1.5, [&](QPainter& painter, const QFontMetricsF& metrics, QRectF field) {
          const int baseline = int(field.center().y() + metrics.ascent() / 2);
          painter.drawText(QPointF(field.left(), baseline), "Strobe");
          int centre = int(field.left() + metrics.horizontalAdvance("Strobe")) + 4;
          for (int i = 0; i < 4 && c.sizes[i] > 0; centre += c.steps[std::min(i, 2)], ++i) {
            const int width = c.sizes[i] * c.stretch;
            painter.fillRect(QRect(centre - width / 2, baseline - c.lift - c.sizes[i], width, c.sizes[i]),
                             painter.pen().color());
          }
        });
    EXPECT_EQ(pictureShowsEllipsis(image), c.ellipsis) << c.what;
  }
}

}  // namespace
}  // namespace kesta
