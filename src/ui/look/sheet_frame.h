#pragma once

#include <QWidget>
#include <memory>

namespace kesta::ui {

class ChipButton;

// The frame of every sheet: the title as a section caption and a prominent
// "Done" chip on one row, the content below taking the rest, 18 points of
// padding, on the dark background, always 520 × 460 points. "Done" emits
// `done` and, when the frame is the content of a dialog, closes the dialog.
// Main thread only.
class SheetFrame : public QWidget {
  Q_OBJECT

 public:
  SheetFrame(const QString& title, std::unique_ptr<QWidget> content, QWidget* parent = nullptr);

  QWidget* content() const { return content_; }
  ChipButton* doneButton() const { return done_; }

 signals:
  void done();

 private:
  void dismiss();

  QWidget* content_;
  ChipButton* done_;
};

}  // namespace kesta::ui
