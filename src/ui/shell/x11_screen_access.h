#pragma once

#include <string>

#include "model/ports/screen_access.h"

namespace kesta::ui {

// Reading other windows needs no permission on X11: always granted, and
// asking never prompts. Main thread.
class X11ScreenAccess : public model::ScreenAccess {
 public:
  bool granted() override;
  bool request() override;
  std::string settingsURL() override;
};

}  // namespace kesta::ui
