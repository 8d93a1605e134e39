#include "ui/views/root_view.h"

#include <QBoxLayout>
#include <QDialog>
#include <memory>
#include <utility>

#include "ui/look/theme.h"
#include "ui/views/diagnostics_view.h"
#include "ui/views/full_view.h"
#include "ui/views/library_report_view.h"
#include "ui/views/sets_view.h"

namespace kesta::ui {

RootView::RootView(ModelBridge& bridge, std::function<void(WindowMode)> setMode, QWidget* parent)
    : QWidget(parent), bridge_(bridge), setMode_(std::move(setMode)) {
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Theme::background());
  colours.setColor(QPalette::WindowText, Theme::text());
  setPalette(colours);
  setAutoFillBackground(true);
  setFixedSize(contentSize(WindowMode::full));

  full_ = new FullView(
      bridge_, [this] { setMode_(WindowMode::mini); }, [this](Sheet sheet) { open(sheet); });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(Theme::kFullInsetX, Theme::kFullInsetTop, Theme::kFullInsetX,
                             Theme::kFullInsetBottom);
  layout->addWidget(full_);
}

void RootView::open(Sheet sheet) {
  if (dialog_) return;
  std::unique_ptr<QWidget> frame;
  switch (sheet) {
    case Sheet::library:
      frame = std::make_unique<LibraryReportView>(bridge_);
      break;
    case Sheet::sets:
      frame = std::make_unique<SetsView>(bridge_);
      break;
    case Sheet::diagnostics:
      frame = std::make_unique<DiagnosticsView>(bridge_);
      break;
  }
  auto* dialog = new QDialog(this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowModality(Qt::WindowModal);
  dialog->setWindowTitle(frame->windowTitle());
  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(frame.release());
  dialog->setFixedSize(Theme::kSheetWidth, Theme::kSheetHeight);
  shown_ = sheet;
  dialog_ = dialog;
  // The dialog is deleted later; it stops counting as open as soon as it closes.
  connect(dialog, &QDialog::finished, this, [this] { dialog_ = nullptr; });
  dialog->open();
}

std::optional<RootView::Sheet> RootView::sheet() const {
  if (!dialog_) return std::nullopt;
  return shown_;
}

}  // namespace kesta::ui
