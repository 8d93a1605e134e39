// The row matcher over browser listings drawn in rekordbox's dark look and read
// back by the real text recogniser, as the loader reads rekordbox's window.

#include <gtest/gtest.h>

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <cstdlib>
#include <string>
#include <vector>

#include "oneclick/browser_row_matcher.h"
#include "oneclick/browser_rows.h"
#include "platform/image/image.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "reading/library_index.h"

namespace kesta {
namespace {

using test::BrowserRow;
using test::ExpectedPick;
using test::kBrowserRegion;

constexpr int kWindowWidth = 1400;
constexpr int kWindowHeight = 900;

// Drawing text needs a GUI application; the offscreen platform needs no display.
void ensureGuiApplication() {
  static int argc = 1;
  static char name[] = "oneclick_tests";
  static char* argv[] = {name, nullptr};
  static const bool made = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return true;
  }();
  static QGuiApplication application(argc, argv);
  (void)made;
}

QRectF pixels(const Rect& box) {
  return {box.x * kWindowWidth, box.y * kWindowHeight, box.width * kWindowWidth, box.height * kWindowHeight};
}

// A window with a deck area above the browser (showing the rows' first title,
// which the matcher must not take for a row) and the rows below, light grey on
// dark, alternate rows shaded.
Image drawWindow(const std::vector<BrowserRow>& rows) {
  ensureGuiApplication();
  QImage canvas(kWindowWidth, kWindowHeight, QImage::Format_RGBA8888);
  canvas.fill(QColor(24, 24, 26));
  {
    QPainter painter(&canvas);
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    painter.setFont(font);
    const auto text = [&](const std::string& cell, const Rect& box) {
      if (cell.empty()) return;
      painter.drawText(pixels(box), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                       QString::fromStdString(cell));
    };

    painter.fillRect(pixels({0, 0.05, 1, 0.2}), QColor(36, 36, 40));
    painter.setPen(QColor(235, 235, 235));
    if (!rows.empty()) {
      text(rows.front().title, {0.05, 0.1, 0.4, 0.03});
      text(rows.front().artist, {0.05, 0.14, 0.4, 0.03});
    }

    for (std::size_t i = 0; i < rows.size(); ++i) {
      const Rect title = test::titleBox(static_cast<int>(i));
      if (i % 2 == 1) painter.fillRect(pixels({0, title.y, 1, title.height}), QColor(32, 32, 35));
      painter.setPen(QColor(210, 210, 210));
      text(rows[i].title, title);
      text(rows[i].artist, {0.40, title.y, 0.20, title.height});
      text(rows[i].bpm, {0.65, title.y, 0.06, title.height});
      text(rows[i].key, {0.75, title.y, 0.04, title.height});
      text(rows[i].time, {0.85, title.y, 0.06, title.height});
    }
  }
  std::vector<std::uint8_t> bytes(canvas.constBits(), canvas.constBits() + canvas.sizeInBytes());
  return Image(kWindowWidth, kWindowHeight, static_cast<std::size_t>(canvas.bytesPerLine()),
               std::move(bytes));
}

// The browser region read as the loader reads it: cropped, recognised fast and
// then accurately (both results kept), boxes mapped to the whole window.
std::vector<TextBox> readBrowser(TextRecognizer& recognizer, const Image& window) {
  std::vector<TextBox> lines;
  const auto crop = window.cropped(kBrowserRegion.scaledTo(window.size()));
  if (!crop) return lines;
  for (const auto level : {RecognitionLevel::fast, RecognitionLevel::accurate}) {
    for (const TextObservation& line :
         recognizer.recognize(*crop, {level, 0.008f, RecognitionLanguages::english})) {
      const Rect& b = line.boundingBox;
      const double top = 1 - (b.y + b.height);
      lines.push_back(
          {line.text,
           {kBrowserRegion.x + b.x * kBrowserRegion.width, kBrowserRegion.y + top * kBrowserRegion.height,
            b.width * kBrowserRegion.width, b.height * kBrowserRegion.height}});
    }
  }
  return lines;
}

std::string describe(const RowPick& pick) {
  if (const auto* row = pick.as<RowPick::Row>()) return "row at y " + std::to_string(row->box.midY());
  if (const auto* ambiguous = pick.as<RowPick::Ambiguous>())
    return "ambiguous(" + std::to_string(ambiguous->count) + ")";
  return "not found";
}

bool agrees(const RowPick& pick, const ExpectedPick& expected) {
  switch (expected.kind) {
    case ExpectedPick::Kind::row: {
      const auto* row = pick.as<RowPick::Row>();
      const Rect band = test::titleBox(expected.value);
      return row != nullptr && row->box.midY() >= band.minY() && row->box.midY() < band.maxY();
    }
    case ExpectedPick::Kind::ambiguous:
      return pick == RowPick::ambiguous(expected.value);
    case ExpectedPick::Kind::notFound:
      break;
  }
  return pick == RowPick::notFound();
}

TEST(DrawnBrowser, RecognisedRowsGiveTheSameAnswers) {
  TesseractRecognizer recognizer;
  for (const auto& scene : test::browserScenes()) {
    const std::vector<TextBox> lines = readBrowser(recognizer, drawWindow(scene.rows));
    const LibraryIndex index(test::libraryOf(scene.library));
    const RowPick pick = BrowserRowMatcher::pick(lines, scene.requested, index, kBrowserRegion);
    std::string read;
    for (const auto& line : lines) read += " [" + line.text + "]";
    EXPECT_TRUE(agrees(pick, scene.expected)) << scene.name << ": " << describe(pick) << "; read" << read;
  }
}

}  // namespace
}  // namespace kesta
