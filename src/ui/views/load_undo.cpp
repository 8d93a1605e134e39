#include "ui/views/load_undo.h"

#include <QEvent>

#include "oneclick/stroke_text.h"
#include "ui/shell/view_refresh.h"

namespace kesta::ui {

namespace {

using model::Field;

constexpr model::ChangedFields kShownFields = model::ChangedFields(Field::lastDismissed) | Field::loadStatus;

}  // namespace

LoadUndo::LoadUndo(ModelBridge& bridge, QWidget* parent)
    : ChipButton(tr("Undo"), false, parent), bridge_(bridge) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  connect(this, &ChipButton::clicked, this, &LoadUndo::undo);
  new ViewRefresh(bridge_, *this, kShownFields, [this](model::ChangedFields) { refresh(); });
}

void LoadUndo::refresh() {
  target_ = model::undoTarget(bridge_.snapshot());
  switch (target_) {
    case Target::dismissal:
      setToolTip(tr("Show that track again"));
      break;
    case Target::load:
      setToolTip(tr("Sends %1 to rekordbox, which undoes its last action. Use it right after the load.")
                     .arg(QString::fromStdString(strokeText(RekordboxKeys::undoLoad))));
      break;
    case Target::nothing:
      setToolTip({});
      break;
  }
  applyVisibility();
}

void LoadUndo::applyVisibility() {
  if (target_ == Target::nothing) {
    hide();
  } else if (parentWidget()) {
    show();  // a chip without a parent would open as a window of its own
  }
}

bool LoadUndo::event(QEvent* event) {
  // A new parent hides a widget: once the move is over, the chip shows again
  // when there is something to undo.
  if (event->type() == QEvent::ParentChange) {
    QMetaObject::invokeMethod(this, &LoadUndo::applyVisibility, Qt::QueuedConnection);
  }
  return ChipButton::event(event);
}

void LoadUndo::undo() {
  // Decided again at the click: the model may have moved on since the last redraw.
  if (bridge_.snapshot().dismissalUndoable) {
    bridge_.actions().undoDismiss();
  } else {
    bridge_.actions().undoLoad();
  }
}

}  // namespace kesta::ui
