#pragma once

#include <QDialog>
#include <QString>

class QLabel;

namespace kesta::ui {

class ChipButton;

// A question asked before an action that cannot be taken back ("End this
// set?"), in Kesta's own look: the question in bold, a message below it, and
// two chips, "Cancel" and the action's own (prominent). The box is as wide as
// the message needs to take at most two lines, and no wider than the window;
// the chips are as wide as their labels. The action chip accepts, "Cancel"
// and Escape reject. Main thread only.
class QuestionDialog : public QDialog {
  Q_OBJECT

 public:
  QuestionDialog(const QString& title, const QString& message, const QString& confirm,
                 QWidget* parent = nullptr);

  QString title() const;
  // The parts, for tests and the gallery.
  QLabel* titleLabel() const { return title_; }
  QLabel* messageLabel() const { return message_; }
  ChipButton* confirmButton() const { return confirm_; }
  ChipButton* cancelButton() const { return cancel_; }

 private:
  QLabel* title_;
  QLabel* message_;
  ChipButton* confirm_;
  ChipButton* cancel_;
};

}  // namespace kesta::ui
