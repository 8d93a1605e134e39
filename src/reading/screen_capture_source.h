#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/desktop/window_system.h"
#include "platform/image/geometry.h"
#include "reading/capture_error.h"
#include "reading/frame_source.h"

namespace kesta {

// The frame source over the desktop's window system: finds rekordbox's main
// window, keeps it, and hands back one picture of it per capture. Connecting
// throws CaptureError; so does capturing. Not safe for concurrent calls: its
// one holder calls it from one thread at a time.
class ScreenCaptureSource : public FrameSource {
 public:
  // The picture size of the chosen window: its pixel size, at most 3600 wide,
  // its height following the window's aspect ratio.
  struct Configuration {
    int width = 0;
    int height = 0;
    friend bool operator==(const Configuration&, const Configuration&) = default;
  };

  // Windows of the default X display, the system clock, and the platform's
  // permission check.
  ScreenCaptureSource();
  ScreenCaptureSource(std::shared_ptr<WindowSystem> windows, std::function<double()> clock,
                      std::function<bool()> permission);

  // Chooses the largest on-screen rekordbox window of at least 700 × 450 and
  // returns "rekordbox window W×H". A failed connect keeps the earlier window.
  std::string connect() override;

  // One picture of the connected window; reconnects first when a size check
  // (at most one a second) finds the window resized by more than 2 pixels.
  Image capture() override;

  // The window's current size; absent for window 0 or when the window system
  // reports nothing.
  std::optional<Size> currentSize(std::uint32_t windowID);

  // Whether the width or the height differs by more than 2.
  static bool sizeChanged(Size from, Size to);

  // The picture size for a window frame at a scale of pixels per point.
  static Configuration configuration(Size frame, double scale);

  std::optional<Configuration> configuration() const { return configuration_; }
  Size windowSize() const { return windowSize_; }
  std::uint32_t windowID() const { return windowID_; }
  double lastSizeCheck() const { return lastSizeCheck_; }

 private:
  // A window-system failure as the error the caller sees.
  CaptureError failure(const WindowSystemError& error) const;

  std::shared_ptr<WindowSystem> windows_;
  std::function<double()> clock_;
  std::function<bool()> permission_;
  // Present once a window is connected: what is captured and at what size.
  std::optional<Configuration> configuration_;
  Size windowSize_;
  std::uint32_t windowID_ = 0;
  double lastSizeCheck_ = 0;
};

}  // namespace kesta
