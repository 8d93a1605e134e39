#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "model/changed_fields.h"

class QWidget;

namespace kesta::ui {

class ModelBridge;

// Keeps one view up to date with the fields it shows: the view's refresh
// runs at once, then after each change that touches those fields, given the
// fields that changed since its last refresh. While the window holding the
// view is hidden nothing runs; the view refreshes once when that window shows
// again. A view without a parent is its own window and always refreshes, as
// its own visibility may be what it shows. Main thread only.
class ViewRefresh : public QObject {
  Q_OBJECT

 public:
  using Refresh = std::function<void(model::ChangedFields)>;

  // Owned by `view`.
  ViewRefresh(ModelBridge& bridge, QWidget& view, model::ChangedFields shown, Refresh refresh);

 signals:
  // After every run of the view's refresh.
  void refreshed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fieldsChanged(model::ChangedFields fields);
  void run();
  // The hidden window holding the view, or null when it is on screen.
  QWidget* hiddenWindow() const;

  QWidget& view_;
  model::ChangedFields shown_;
  Refresh refresh_;
  model::ChangedFields pending_;
  QPointer<QWidget> watched_;
};

}  // namespace kesta::ui
