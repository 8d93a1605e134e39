#pragma once

#include "ui/look/sheet_frame.h"

class QLabel;
class QVBoxLayout;

namespace kesta::ui {

class ModelBridge;

// The library details sheet, "YOUR LIBRARY" in a sheet frame: the export's
// file name, a bullet for each note of its import report, a bullet for the
// note about data brought over from the earlier version, and a closing line
// on where sources come from. Scrolls when the notes are long; the bullets
// are rebuilt only when the notes change. Main thread only.
class LibraryReportView : public SheetFrame {
  Q_OBJECT

 public:
  explicit LibraryReportView(ModelBridge& bridge, QWidget* parent = nullptr);

  // The texts shown, top to bottom: the file name, then each bullet.
  QLabel* fileName() const { return fileName_; }
  QStringList bullets() const { return bullets_; }

 private:
  void refresh();

  ModelBridge& bridge_;
  QLabel* fileName_;
  QVBoxLayout* bulletList_;
  QStringList bullets_;
};

}  // namespace kesta::ui
