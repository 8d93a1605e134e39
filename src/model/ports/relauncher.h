#pragma once

namespace kesta::model {

// Starting this program anew and ending the running instance. Main thread.
class Relauncher {
 public:
  virtual ~Relauncher() = default;
  // Starts a second instance of this program; false when it could not be started.
  virtual bool startNewInstance() = 0;
  // Asks the application to quit through its normal path, later on the main thread.
  virtual void terminate() = 0;
};

}  // namespace kesta::model
