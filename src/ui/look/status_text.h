#pragma once

#include <QString>
#include <QWidget>

class QPainter;

namespace kesta::ui {

// A status text of at most `lines` lines, the last cut at the end with an
// ellipsis; always `lines` × 15 points tall whatever the text, as wide as the
// room offered, the text at the top left, muted, in the caption style. The
// whole text is the tooltip, so a cut text can still be read. Updated in
// place; main thread only.
class StatusText : public QWidget {
 public:
  explicit StatusText(const QString& text = {}, int lines = 2, QWidget* parent = nullptr);

  QString text() const { return text_; }
  // Redraws only when the text changed.
  void setText(const QString& text);
  int lines() const { return lines_; }

  // Draws `text` in at most `lines` lines in `box`, the last one cut at the end.
  static void paintText(QPainter& painter, const QRectF& box, const QString& text, int lines);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  int lines_;
};

}  // namespace kesta::ui
