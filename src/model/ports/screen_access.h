#pragma once

#include <string>

namespace kesta::model {

// The permission to read other applications' windows. Main thread.
class ScreenAccess {
 public:
  virtual ~ScreenAccess() = default;
  // Asked without prompting.
  virtual bool granted() = 0;
  // Asks the user when the platform still may; answers whether it is granted now.
  virtual bool request() = 0;
  // The address of the settings page where the user turns it on.
  virtual std::string settingsURL() = 0;
};

}  // namespace kesta::model
