#pragma once

#include <QString>
#include <QWidget>

class QPainter;

namespace kesta::ui {

// A status text of at most `lines` lines, the last cut at the end with an
// ellipsis; always `lines` × 15 points tall whatever the text, as wide as the
// room offered, the text at the top left, muted, in the caption style. A text
// may come with a shorter form, shown while the whole text does not fit. The
// whole text is the tooltip, so a cut or shortened text can still be read.
// Updated in place; main thread only.
class StatusText : public QWidget {
 public:
  explicit StatusText(const QString& text = {}, int lines = 2, QWidget* parent = nullptr);

  QString text() const { return text_; }
  // Redraws only when a text changed. An empty `shorter` is no short form.
  void setText(const QString& text, const QString& shorter = {});
  int lines() const { return lines_; }
  // The text drawn at the present width: the whole one when it fits, else its short form.
  QString shownText() const;

  // Draws `text` in at most `lines` lines in `box`, the last one cut at the end.
  static void paintText(QPainter& painter, const QRectF& box, const QString& text, int lines);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  QString shorter_;
  int lines_;
};

}  // namespace kesta::ui
