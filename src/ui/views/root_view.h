#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

#include "ui/shell/window_mode.h"

namespace kesta::ui {

class FullView;
class ModelBridge;

// The content of the full window: the dark background, the full window's view
// inset from the window's edges, and the one place where the library,
// set-history and diagnostics sheets are shown over the window. A sheet is a
// window-modal dialog holding the sheet's frame, made anew each time it is
// opened; one at a time; "Done" or Escape closes it. Switching to the corner
// card goes to `setMode`. Main thread only.
class RootView : public QWidget {
  Q_OBJECT

 public:
  enum class Sheet { library, sets, diagnostics };

  RootView(ModelBridge& bridge, std::function<void(WindowMode)> setMode, QWidget* parent = nullptr);

  FullView* fullView() const { return full_; }
  // Shows the sheet `sheet`; does nothing while another sheet is open.
  void open(Sheet sheet);
  // The sheet shown now, or none.
  std::optional<Sheet> sheet() const;
  QDialog* sheetDialog() const { return dialog_; }

 private:
  ModelBridge& bridge_;
  std::function<void(WindowMode)> setMode_;
  FullView* full_;
  QPointer<QDialog> dialog_;
  Sheet shown_ = Sheet::library;
};

}  // namespace kesta::ui
