#pragma once

namespace kesta::model {

// rekordbox as a running application. Main thread.
class RekordboxApp {
 public:
  virtual ~RekordboxApp() = default;
  virtual bool isRunning() = 0;
  // Brings rekordbox to the front, when it runs.
  virtual void activate() = 0;
};

}  // namespace kesta::model
