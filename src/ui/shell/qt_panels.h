#pragma once

#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/ports/panels.h"

class QDialog;
class QFileDialog;
class QWidget;

namespace kesta::ui {

// The open and save panels as Qt's own (not the desktop's) file dialog, dark
// like the rest of the application, with the request's message as a line of
// text above the files. Modal: each call returns once the user has chosen or
// cancelled. Main thread only.
class QtPanels : public model::Panels {
 public:
  std::optional<std::filesystem::path> chooseFile(const model::OpenPanelRequest& request) override;
  std::optional<std::filesystem::path> chooseSaveLocation(const model::SavePanelRequest& request) override;

  // The name filter for a list of extensions: "rekordbox XML (*.xml)".
  static QString filterFor(const std::vector<std::string>& extensions);
  // The panel, ready to run: a dialog holding the message and a file dialog
  // set up for one existing file, or for a file to save under a name.
  static std::unique_ptr<QDialog> makeOpenPanel(const model::OpenPanelRequest& request, QWidget* parent);
  static std::unique_ptr<QDialog> makeSavePanel(const model::SavePanelRequest& request, QWidget* parent);
  // Runs a panel made above; the chosen file, none when cancelled.
  static std::optional<std::filesystem::path> run(QDialog& panel);
};

}  // namespace kesta::ui
