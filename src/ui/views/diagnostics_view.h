#pragma once

#include <cstdint>

#include "ui/look/sheet_frame.h"

class QCheckBox;
class QPlainTextEdit;

namespace kesta::ui {

class ChipButton;
class ModelBridge;

// The diagnostics sheet, "DIAGNOSTICS" in a sheet frame: what is kept and
// what is left out, the switch for including the recognised screen text, the
// report in a scrolling monospaced box, and the buttons to refresh it, save
// it, save an image of the deck areas (only while connected) and open the
// diagnostics folder. The report is read when the sheet opens and on
// "Refresh" only: it does not follow later scans. The folder opens through
// the model's store and URL port, like every address the model opens; when
// no file browser takes it, the notice saying where the folder is shows
// below the buttons, as text to select and copy, until the DJ acts on the
// sheet again or closes it. Main thread only.
class DiagnosticsView : public SheetFrame {
  Q_OBJECT

 public:
  explicit DiagnosticsView(ModelBridge& bridge, QWidget* parent = nullptr);

  QString report() const;
  // The parts, for tests and the gallery.
  QCheckBox* rawTextToggle() const { return rawText_; }
  ChipButton* refreshButton() const { return refresh_; }
  ChipButton* saveReportButton() const { return saveReport_; }
  ChipButton* saveDeckViewButton() const { return saveDeckView_; }
  ChipButton* openFolderButton() const { return openFolder_; }
  QPlainTextEdit* folderNoticeBox() const { return folderNotice_; }
  // The notice shown now that the folder could not be opened, or empty.
  QString folderNotice() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* makeButtons();
  void makeFolderNotice();
  void readReport();
  void refresh();
  // The DJ acted on the sheet: an earlier notice goes, and so does the answer
  // of an earlier opening still to come.
  void acted();
  void openFolder();

  ModelBridge& bridge_;
  QCheckBox* rawText_;
  QPlainTextEdit* report_;
  ChipButton* refresh_ = nullptr;
  ChipButton* saveReport_ = nullptr;
  ChipButton* saveDeckView_ = nullptr;
  ChipButton* openFolder_ = nullptr;
  QPlainTextEdit* folderNotice_ = nullptr;
  std::uint64_t actions_ = 0;
};

}  // namespace kesta::ui
