#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <functional>
#include <iterator>
#include <memory>

#include "ui/views/corner_card.h"
#include "ui/views/root_view.h"
#include "ui/views/sets_view.h"
#include "ui/views/text_line.h"
#include "ui/views/view_scenes.h"

namespace kesta::ui {
namespace {

using test::ViewStage;

// The rows of ink on `image` (white on black): the first and one past the
// last, or an empty span for none.
struct InkRows {
  int top = 0;
  int bottom = 0;
};

InkRows inkRows(const QImage& image) {
  InkRows rows{image.height(), 0};
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) == 0) continue;
      rows.top = qMin(rows.top, y);
      rows.bottom = y + 1;
    }
  }
  return rows;
}

// `line` as the window draws it, in white on black.
QImage drawnByTheLine(TextLine& line) {
  line.setColor(Qt::white);
  QImage image(line.size(), QImage::Format_RGB32);
  image.fill(Qt::black);
  line.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

// What `line` shows, drawn in its font on a page far larger than the line,
// where nothing can cut it.
QImage drawnUncut(const TextLine& line) {
  const QFont font = line.textFont();
  QImage image(line.width() + 200, 200, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.setLayoutDirection(Qt::LayoutDirectionAuto);
  painter.drawText(QPointF(100, 100), line.shownText());
  return image;
}

// The lines whose every mark must show: the two dots under Arabic's final
// yeh, the tone mark stacked over Thai's SARA AM, each alone and in a title.
const QString kMarkedLines[] = {
    QStringLiteral("في"),
    QStringLiteral("น้ำ"),
    QStringLiteral("ليالي الفضي (Club Edit)"),
    QStringLiteral("ค่ำคืนที่กรุงเทพ น้ำตา"),
};

// Every one-line text of `window` that may show a name, whatever its font,
// shows all the ink of each marked line: as many rows of ink as the same
// text drawn uncut. A name may be long, so every line that shows one gives
// way to its row; the lines that do not (the product's name, deck labels,
// tempo and key) hold Kesta's own words and figures.
void expectEveryMarkShown(QWidget& window, const char* name) {
  window.show();
  QApplication::processEvents();
  int checked = 0;
  // A text line is not a Qt class of its own: findChildren would take any widget.
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    auto* line = dynamic_cast<TextLine*>(widget);
    if (line == nullptr || !line->isVisible() || line->lines() != 1 || line->minimumSizeHint().width() > 0)
      continue;
    for (const QString& marked : kMarkedLines) {
      line->setText(marked);
      const InkRows shown = inkRows(drawnByTheLine(*line));
      const InkRows uncut = inkRows(drawnUncut(*line));
      ASSERT_GT(uncut.bottom, uncut.top) << name << ": " << qPrintable(marked);
      EXPECT_EQ(shown.bottom - shown.top, uncut.bottom - uncut.top)
          << name << ", a line in " << qPrintable(line->textFont().toString()) << " " << line->width() << "×"
          << line->height() << ": " << qPrintable(line->shownText());
      ++checked;
    }
  }
  EXPECT_GE(checked, 3 * int(std::size(kMarkedLines))) << name << " shows fewer lines than it has names";
}

TEST(MarkRoom, EveryViewThatDrawsNamesShowsTheirMarksWhole) {
  const std::pair<const char*, std::function<std::unique_ptr<QWidget>(ViewStage&)>> windows[] = {
      {"full window",
       [](ViewStage& stage) { return std::make_unique<RootView>(stage.bridge(), [](WindowMode) {}); }},
      {"corner card", [](ViewStage& stage) { return std::make_unique<CornerCard>(stage.bridge(), [] {}); }},
      {"set history", [](ViewStage& stage) { return std::make_unique<SetsView>(stage.bridge()); }},
  };
  for (const auto& [name, make] : windows) {
    ViewStage stage;
    test::liveInManyScripts(stage);
    const std::unique_ptr<QWidget> window = make(stage);
    expectEveryMarkShown(*window, name);
  }
}

}  // namespace
}  // namespace kesta::ui
