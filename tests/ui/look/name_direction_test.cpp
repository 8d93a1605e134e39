#include <gtest/gtest.h>

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include "model/lane_row_text.h"
#include "ui/look/fitted_text.h"
#include "ui/look/line_box.h"
#include "ui/look/theme.h"
#include "ui/views/text_line.h"
#include "view_snapshots.h"

namespace kesta::ui {
namespace {

const QString kArtist = QStringLiteral("فيروز الصغيرة");

// Where the glyph of the character at `index` of the laid-out line starts.
qreal glyphX(const QTextLayout& layout, int index) {
  const QList<QGlyphRun> runs = layout.glyphRuns(index, 1);
  if (runs.isEmpty() || runs.first().positions().isEmpty()) return -1;
  return runs.first().positions().first().x();
}

// A lane row's detail line for a right-to-left artist, as the row fits it
// to `width`, laid out as a line of text is drawn: in its own direction.
QString detailLine(const QFontMetricsF& metrics, qreal width) {
  model::ViewSnapshot s = test::followingStrobe();
  s.lanes[0].shown = test::suggestionOf(Lane::groove, test::libraryTrack("9", "Tarik", kArtist.toStdString()),
                                        "-0.8% tempo · same key");
  const model::LaneRowText row = model::laneRowText(s, Lane::groove, model::RowForm::full);
  const QString detail = QString::fromStdString(row.detail);
  const QString kept = QString::fromStdString(row.detailKept);
  return fittedText(metrics, detail.left(detail.size() - kept.size()), kept, width);
}

// "<artist> · -0.8% tempo · same key": the artist first, reading right to
// left, then the tempo's sign, number and percent in the order written,
// whole or with the artist cut.
TEST(NameDirection, RightToLeftNameKeepsTheTemposSignInPlace) {
  const QFont font = Theme::font(Theme::kLaneDetailFontSize);
  const QFontMetricsF metrics(font);
  const qreal whole = metrics.horizontalAdvance(detailLine(metrics, 1000));
  for (const qreal width : {whole, whole * 0.8}) {
    const QString shown = detailLine(metrics, width);
    EXPECT_EQ(shown.count(QChar(0x2068)), shown.count(QChar(0x2069))) << qPrintable(shown);
    QTextLayout layout(shown, font);
    QTextOption option;
    option.setTextDirection(Qt::LayoutDirectionAuto);
    layout.setTextOption(option);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();

    const int sign = int(shown.indexOf(QStringLiteral("-0.8%")));
    ASSERT_GE(sign, 0) << qPrintable(shown);
    const qreal signX = glyphX(layout, sign);
    for (int i = sign; i < sign + 4; ++i) {
      EXPECT_LT(glyphX(layout, i), glyphX(layout, i + 1)) << "in \"-0.8%\" at " << i - sign;
    }
    // A cut name keeps at least its first two letters.
    const int nameStart = int(shown.indexOf(kArtist.left(2)));
    ASSERT_GE(nameStart, 0) << qPrintable(shown);
    EXPECT_GT(glyphX(layout, nameStart), glyphX(layout, nameStart + 1)) << "the name reads right to left";
    for (int i = 0; i < sign; ++i) {
      if (shown.at(i).isLetter()) {
        EXPECT_LT(glyphX(layout, i), signX) << "the name lies before the sign";
      }
    }
    EXPECT_LT(glyphX(layout, sign + 4), glyphX(layout, int(shown.indexOf(QStringLiteral("tempo")))));
  }
}

// `text` drawn as one line in `font`, white on black, in `direction`, on an
// image of `size`, on the baseline a line of that font has.
QImage drawn(const QFont& font, const QString& text, Qt::LayoutDirection direction, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.setLayoutDirection(direction);
  painter.drawText(QPointF(0, lineBox(font).above), text);
  return image;
}

// A line runs in the direction its first letter outside isolated names
// gives: a right-to-left title alone reads right to left, "(Club Edit)" at
// its left end; Kesta's own line with such a name stays left to right.
TEST(NameDirection, ALineRunsInTheDirectionOfItsOwnText) {
  const QFont font = Theme::font(Theme::kLaneTitleFontSize);
  const struct {
    QString text;
    Qt::LayoutDirection direction;
  } cases[] = {
      {QStringLiteral("طريق الحب (Club Edit)"), Qt::RightToLeft},
      {QStringLiteral("\u2068فيروز الصغيرة\u2069 · -0.8% tempo · same key"), Qt::LeftToRight},
  };
  for (const auto& c : cases) {
    TextLine line(font, Qt::white);
    line.setText(c.text);
    line.resize(line.sizeHint());
    QImage shown(line.size(), QImage::Format_RGB32);
    shown.fill(Qt::black);
    line.render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
    const Qt::LayoutDirection other = c.direction == Qt::RightToLeft ? Qt::LeftToRight : Qt::RightToLeft;
    EXPECT_EQ(shown, drawn(font, c.text, c.direction, line.size())) << qPrintable(c.text);
    EXPECT_NE(shown, drawn(font, c.text, other, line.size())) << qPrintable(c.text);
  }
}

}  // namespace
}  // namespace kesta::ui
