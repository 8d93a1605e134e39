#include "ui/shell/view_refresh.h"

#include <QEvent>
#include <QWidget>
#include <utility>

#include "model/view_snapshot.h"
#include "ui/shell/model_bridge.h"

namespace kesta::ui {

ViewRefresh::ViewRefresh(ModelBridge& bridge, QWidget& view, model::ChangedFields shown, Refresh refresh)
    : QObject(&view), view_(view), shown_(shown), refresh_(std::move(refresh)) {
  connect(&bridge, &ModelBridge::changed, this, &ViewRefresh::fieldsChanged);
  pending_ = shown_;
  run();
}

void ViewRefresh::fieldsChanged(model::ChangedFields fields) {
  if (!model::touches(fields, shown_)) return;
  pending_ |= fields;
  QWidget* hidden = hiddenWindow();
  if (!hidden) {
    run();
    return;
  }
  if (watched_ == hidden) return;
  if (watched_) watched_->removeEventFilter(this);
  watched_ = hidden;
  hidden->installEventFilter(this);
}

void ViewRefresh::run() {
  const model::ChangedFields fields = pending_;
  pending_ = {};
  refresh_(fields);
  emit refreshed();
}

QWidget* ViewRefresh::hiddenWindow() const {
  const QWidget* parent = view_.parentWidget();
  if (!parent) return nullptr;
  QWidget* window = parent->window();
  // A window never shown nor hidden (a view under test) counts as on screen.
  const bool hidden = window->isHidden() && window->testAttribute(Qt::WA_WState_ExplicitShowHide);
  return hidden ? window : nullptr;
}

bool ViewRefresh::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watched_ && event->type() == QEvent::Show) {
    watched_->removeEventFilter(this);
    watched_ = nullptr;
    if (!pending_.empty()) run();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kesta::ui
