#pragma once

#include <string>

#include "platform/image/image.h"

namespace kesta {

// Where the live engine gets its pictures of the rekordbox window. Calls block
// until the window system has answered; failures are thrown, usually as
// CaptureError.
class FrameSource {
 public:
  virtual ~FrameSource() = default;

  // Finds the window to watch; returns what was found, in words.
  virtual std::string connect() = 0;

  // One still picture of the watched window.
  virtual Image capture() = 0;
};

}  // namespace kesta
