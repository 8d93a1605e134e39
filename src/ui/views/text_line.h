#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

#include "ui/look/line_box.h"

namespace kesta::ui {

// A text of at most `lines` lines in one font and colour, the last line cut at
// the end with an ellipsis. Its height is always `lines` lines of its font,
// the first with room above and the last with room below for the highest and
// deepest marks of every script (`LineBox`), so rows keep their height
// whatever the text and no mark is cut. A compressible line takes the
// width its row leaves (and no more than its text needs); an incompressible
// one always has its text's full width. Mouse events go to the parent, so a
// line inside a button is part of the button. Updated in place; main thread only.
class TextLine : public QWidget {
 public:
  explicit TextLine(const QFont& font, const QColor& color, QWidget* parent = nullptr);

  QString text() const { return text_; }
  // Each setter repaints (or re-lays out) only when the value changed.
  void setText(const QString& text);
  // A line whose `tail` is never cut: given too little room, `lead` is cut at
  // its end first ("Kasim… · 124 BPM · 8A"). text() is lead + tail.
  void setText(const QString& lead, const QString& tail);
  // Given too little room, the lead keeps its first word or a third of the
  // line and the tail is cut at its end instead ("Kasimir… · 8A→11A, do…").
  void setKeepsLead(bool keeps);
  void setColor(const QColor& color);
  void setTextFont(const QFont& font);
  void setLines(int lines);
  void setCompressible(bool compressible);
  void setAlignment(Qt::Alignment alignment);

  QColor color() const { return color_; }
  QFont textFont() const { return font_; }
  int lines() const { return lines_; }
  // The room its font's lines take above and below the baseline.
  LineBox box() const { return box_; }
  // The first line as drawn at the current width: the whole text, or its cut form.
  QString shownText() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QFont font_;
  LineBox box_;
  QColor color_;
  QString text_;
  QString tail_;
  int lines_ = 1;
  bool compressible_ = true;
  bool keepsLead_ = false;
  Qt::Alignment alignment_ = Qt::AlignLeft;
};

}  // namespace kesta::ui
