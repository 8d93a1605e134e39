#include "reading/screen_capture_source.h"

#include <algorithm>
#include <cmath>

#include "platform/time/clock.h"
#include "platform/x11/x11_window_system.h"
#include "reading/capture_error.h"
#include "reading/rekordbox.h"
#include "reading/screen_permission.h"

namespace kesta {

namespace {

constexpr double kMinimumWidth = 700;
constexpr double kMinimumHeight = 450;
constexpr int kMaximumCaptureWidth = 3600;
constexpr double kSizeCheckInterval = 1.0;
constexpr double kSizeTolerance = 2.0;
// X11 counts in pixels: one pixel per point.
constexpr double kScale = 1.0;

}  // namespace

ScreenCaptureSource::ScreenCaptureSource()
    : ScreenCaptureSource(std::make_shared<X11WindowSystem>(), Clock::now, ScreenPermission::granted) {}

ScreenCaptureSource::ScreenCaptureSource(std::shared_ptr<WindowSystem> windows, std::function<double()> clock,
                                         std::function<bool()> permission)
    : windows_(std::move(windows)), clock_(std::move(clock)), permission_(std::move(permission)) {}

CaptureError ScreenCaptureSource::failure(const WindowSystemError& error) const {
  if (!permission_()) return CaptureError::permissionNeeded();
  return CaptureError::captureFailed(error.what());
}

std::string ScreenCaptureSource::connect() {
  if (!permission_()) throw CaptureError::permissionNeeded();
  if (!Rekordbox::isRunning(*windows_)) throw CaptureError::rekordboxNotRunning();

  std::vector<WindowInfo> all;
  try {
    all = windows_->windows();
  } catch (const WindowSystemError& error) {
    throw failure(error);
  }

  const WindowInfo* chosen = nullptr;
  for (const WindowInfo& window : all) {
    const bool qualifies = Rekordbox::ownsWindow(window) && window.viewable && !window.minimized &&
                           window.frame.width >= kMinimumWidth && window.frame.height >= kMinimumHeight;
    if (!qualifies) continue;
    // Of equal areas the earlier window stays.
    if (!chosen || window.frame.width * window.frame.height > chosen->frame.width * chosen->frame.height) {
      chosen = &window;
    }
  }
  if (!chosen) throw CaptureError::windowNotVisible();

  configuration_ = configuration(chosen->frame.size(), kScale);
  windowSize_ = chosen->frame.size();
  windowID_ = chosen->id;
  lastSizeCheck_ = clock_();
  return "rekordbox window " + std::to_string(static_cast<long long>(std::trunc(windowSize_.width))) +
         "\u00D7" + std::to_string(static_cast<long long>(std::trunc(windowSize_.height)));
}

Image ScreenCaptureSource::capture() {
  const double now = clock_();
  if (now - lastSizeCheck_ >= kSizeCheckInterval) {
    lastSizeCheck_ = now;
    if (const auto size = currentSize(windowID_); size && sizeChanged(windowSize_, *size)) connect();
  }
  if (!configuration_) throw CaptureError::windowNotVisible();

  std::optional<Image> image;
  try {
    image = windows_->capture(windowID_);
  } catch (const WindowSystemError& error) {
    throw failure(error);
  }
  // A window that was minimised or closed has no pixels; an old picture of
  // it would only mislead.
  if (!image) throw CaptureError::windowNotVisible();
  if (image->width() > kMaximumCaptureWidth) {
    const auto fitted = configuration(image->size(), kScale);
    return image->scaled(fitted.width, std::max(1, fitted.height));
  }
  return std::move(*image);
}

std::optional<Size> ScreenCaptureSource::currentSize(std::uint32_t windowID) {
  if (windowID == 0) return std::nullopt;
  try {
    return windows_->windowSize(windowID);
  } catch (const WindowSystemError&) {
    return std::nullopt;
  }
}

bool ScreenCaptureSource::sizeChanged(Size from, Size to) {
  return std::abs(from.width - to.width) > kSizeTolerance ||
         std::abs(from.height - to.height) > kSizeTolerance;
}

ScreenCaptureSource::Configuration ScreenCaptureSource::configuration(Size frame, double scale) {
  const double pixelsPerPoint = std::max(scale, 1.0);
  const int width = int(std::min(std::trunc(frame.width * pixelsPerPoint), double(kMaximumCaptureWidth)));
  const int height = frame.width > 0 ? int(std::trunc(frame.height * width / frame.width)) : 0;
  return {width, height};
}

}  // namespace kesta
