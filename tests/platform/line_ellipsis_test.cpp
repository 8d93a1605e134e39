// Deck lines drawn as a deck shows them, light on dark in the Noto faces,
// and read back by the real recogniser at its accurate level.

#include "platform/ocr/line_ellipsis.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTextOption>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "platform/ocr/grey_picture.h"
#include "platform/ocr/read_line.h"
#include "platform/ocr/tesseract_recognizer.h"

namespace kesta {
namespace {

using L = RecognitionLanguages;
using Paint = std::function<void(QPainter&, const QFontMetricsF&, QRectF field)>;
const L kArabic = L::english.with(Script::arabic);
const L kHebrew = L::english.with(Script::hebrew);

// Fonts need a GUI application, offscreen here: one for the test program,
// ended with its tests so that the font caches go before the leak check.
class OffscreenGui : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    application_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "platform_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> application_;
};

[[maybe_unused]] const ::testing::Environment* const gui =
    ::testing::AddGlobalTestEnvironment(new OffscreenGui);

// The picture of the line `paint` draws with `text`'s faces at `pixels` into
// a field of `width` of that text.
Image drawn(const QString& text, int pixels, double width, const Paint& paint) {
  QFont font;
  font.setFamilies(text.contains(QRegularExpression("[\\x{0590}-\\x{06FF}]"))
                       ? QStringList{"Noto Sans Arabic", "Noto Sans Hebrew", "Noto Sans"}
                       : QStringList{"Noto Sans"});
  font.setPixelSize(pixels);
  const QFontMetricsF metrics(font);
  width *= metrics.horizontalAdvance(text);
  QImage canvas(int(width) + 2 * pixels, 4 * pixels, QImage::Format_RGBA8888);
  canvas.fill(QColor(0x16, 0x16, 0x18));
  QPainter painter(&canvas);
  painter.setFont(font);
  painter.setPen(QColor(0xf2, 0xf2, 0xf2));
  paint(painter, metrics, QRectF(pixels, 0, width + 1, canvas.height()));
  painter.end();
  return Image(canvas.width(), canvas.height(), std::size_t(canvas.bytesPerLine()),
               {canvas.constBits(), canvas.constBits() + canvas.sizeInBytes()});
}

// The line `paint` draws, as the recogniser reads it: "text|other order".
std::string readDrawn(const QString& text, int pixels, double width, L languages, const Paint& paint) {
  std::string read;
  for (const auto& line : TesseractRecognizer().recognize(drawn(text, pixels, width, paint),
                                                          {RecognitionLevel::accurate, 0.02f, languages}))
    read += line.text + "|" + line.otherOrder;
  return read;
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

bool endsWithEllipsis(const std::string& read) {
  return read.substr(0, read.find('|')).ends_with("\u2026") || read.ends_with("\u2026");
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
      {"حديث الليل عطش", 1, kArabic},
      {"قهوة بنت ١٠٠٠", 1, kArabic},
      {"שָׁלוֹם עֲלֵיכֶם", 1, kHebrew},
  };
  for (const auto& c : cases) {
    const QString text = QString::fromStdString(c.title);
    for (const int pixels : {11, 13, 16}) {
      const std::string read = readDrawn(
          text, pixels, c.fraction, c.languages,
          [&](QPainter& painter, const QFontMetricsF& metrics, QRectF field) {
            QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
            option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
            option.setWrapMode(QTextOption::NoWrap);
            painter.drawText(
                field, c.fraction < 1 ? metrics.elidedText(text, Qt::ElideRight, field.width() - 1) : text,
                option);
          });
      EXPECT_TRUE(c.fraction < 1 ? endsWithEllipsis(read) : read.find("\u2026") == std::string::npos)
          << c.title << " at " << pixels << " px: " << read;
    }
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
    const Image image =
        drawn("Strobe", 20, 1.5, [&](QPainter& painter, const QFontMetricsF& metrics, QRectF field) {
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
