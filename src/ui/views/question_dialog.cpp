#include "ui/views/question_dialog.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QLabel>
#include <QtMath>

#include "ui/look/chip_button.h"
#include "ui/look/theme.h"
#include "ui/look/wrapping_label.h"

namespace kesta::ui {

namespace {

// Lines `text` takes when wrapped at words in `width`.
int linesAt(const QFontMetrics& metrics, const QString& text, int width) {
  const QRect box = metrics.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, text);
  return qCeil(qreal(box.height()) / metrics.lineSpacing());
}

// The narrowest width, from `least` up to the widest allowed, in which the
// message takes no more lines than a question may have.
int messageWidth(const QFontMetrics& metrics, const QString& message, int least) {
  const int widest = Theme::kQuestionMaxWidth - 2 * Theme::kQuestionPadding;
  int width = qMin(widest, qMax(least, metrics.horizontalAdvance(message) / Theme::kQuestionMessageLines));
  while (width < widest && linesAt(metrics, message, width) > Theme::kQuestionMessageLines) width += 2;
  return width;
}

}  // namespace

QuestionDialog::QuestionDialog(const QString& title, const QString& message, const QString& confirm,
                               QWidget* parent)
    : QDialog(parent),
      title_(wrappingLabel(title, Theme::font(Theme::kQuestionTitleFontSize, Theme::Weight::bold),
                           Theme::text())),
      message_(wrappingLabel(message, Theme::font(Theme::kQuestionMessageFontSize), Theme::muted())),
      confirm_(new ChipButton(confirm, true)),
      cancel_(new ChipButton(tr("Cancel"))) {
  setWindowTitle(QStringLiteral("Kesta"));
  for (ChipButton* chip : {cancel_, confirm_}) chip->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  connect(confirm_, &ChipButton::clicked, this, &QDialog::accept);
  connect(cancel_, &ChipButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(0, Theme::kQuestionButtonsTop, 0, 0);
  buttons->setSpacing(Theme::kQuestionSpacing);
  buttons->addStretch(1);
  buttons->addWidget(cancel_);
  buttons->addWidget(confirm_);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(Theme::kQuestionPadding, Theme::kQuestionPadding, Theme::kQuestionPadding,
                             Theme::kQuestionPadding);
  column->setSpacing(Theme::kQuestionSpacing);
  column->addWidget(title_);
  column->addWidget(message_);
  column->addLayout(buttons);

  // As wide as the question on one line, the chips and a message of at most
  // two lines need, measured in the fonts the labels draw with.
  ensurePolished();
  title_->ensurePolished();
  message_->ensurePolished();
  const int chips = cancel_->sizeHint().width() + Theme::kQuestionSpacing + confirm_->sizeHint().width();
  const int heading = title_->fontMetrics().horizontalAdvance(title) + 1;
  const int width = messageWidth(message_->fontMetrics(), message, qMax(chips, heading));
  setFixedWidth(width + 2 * Theme::kQuestionPadding);
  setFixedHeight(heightForWidth(width + 2 * Theme::kQuestionPadding));
}

QString QuestionDialog::title() const { return title_->text(); }

}  // namespace kesta::ui
