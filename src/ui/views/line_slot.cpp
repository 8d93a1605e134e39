#include "ui/views/line_slot.h"

#include <QBoxLayout>
#include <QFontMetricsF>
#include <QWidgetItem>
#include <QtMath>

#include "ui/views/text_line.h"

namespace kesta::ui {

namespace {

// The layout item of a line in a slot: it asks for the slot and sets the
// widget to the slot and the reach below it, across the slot's whole width
// (a line in a slot is compressible and unaligned).
class LineSlotItem : public QWidgetItem {
 public:
  explicit LineSlotItem(TextLine* line) : QWidgetItem(line), line_(line) {}

  QSize sizeHint() const override { return shortened(QWidgetItem::sizeHint()); }
  QSize minimumSize() const override { return shortened(QWidgetItem::minimumSize()); }
  QSize maximumSize() const override { return shortened(QWidgetItem::maximumSize()); }
  void setGeometry(const QRect& rect) override {
    slot_ = rect;
    if (!isEmpty()) line_->setGeometry(rect.adjusted(0, 0, 0, reachBelowSlot(*line_)));
  }
  QRect geometry() const override { return slot_; }

 private:
  QSize shortened(QSize size) const { return {size.width(), size.height() - reachBelowSlot(*line_)}; }

  TextLine* line_;
  QRect slot_;
};

}  // namespace

void addLineSlot(QBoxLayout& layout, TextLine* line) {
  if (layout.parentWidget() != nullptr) line->setParent(layout.parentWidget());
  layout.addItem(new LineSlotItem(line));
}

int reachBelowSlot(const TextLine& line) {
  const int descent = qCeil(QFontMetricsF(line.textFont()).descent());
  return qMax(0, line.box().below - descent);
}

}  // namespace kesta::ui
