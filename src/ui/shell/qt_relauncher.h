#pragma once

#include <QString>
#include <QStringList>

#include "model/ports/relauncher.h"

namespace kesta::ui {

// Starts this program anew as a detached process and asks the running one to
// quit through the application's normal path (so its quit handlers run).
// Main thread only.
class QtRelauncher : public model::Relauncher {
 public:
  // This program with the arguments it was started with.
  QtRelauncher();
  // Another program, for tests.
  QtRelauncher(QString program, QStringList arguments);

  bool startNewInstance() override;
  void terminate() override;

 private:
  QString program_;
  QStringList arguments_;
};

}  // namespace kesta::ui
