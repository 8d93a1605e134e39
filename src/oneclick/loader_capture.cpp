#include "oneclick/loader_capture.h"

#include <optional>
#include <utility>

#include "oneclick/load_error.h"
#include "reading/text_recognition.h"

namespace kesta::LoaderCapture {

namespace {

bool onScreen(const WindowInfo& window) { return window.viewable && !window.minimized; }

std::optional<WindowInfo> largestWindow(const std::vector<WindowInfo>& windows, std::int32_t pid) {
  std::optional<WindowInfo> best;
  for (const auto& window : windows) {
    if (window.pid != pid || !onScreen(window) || window.frame.width < minimumWindowWidth) continue;
    const double area = window.frame.width * window.frame.height;
    if (!best || area > best->frame.width * best->frame.height) best = window;
  }
  return best;
}

std::optional<Rect> currentFrame(WindowSystem& windows, std::uint32_t id) {
  for (const auto& window : windows.windows()) {
    if (window.id == id && onScreen(window)) return window.frame;
  }
  return std::nullopt;
}

}  // namespace

Shot captureWindow(WindowSystem& windows, std::int32_t pid) {
  const auto window = largestWindow(windows.windows(), pid);
  if (!window) throw LoadError::windowNotVisible();
  auto image = windows.capture(window->id);
  if (!image || image->isEmpty()) throw LoadError::windowNotVisible();
  if (image->width() > maximumImageWidth) {
    const int height = static_cast<int>(double(image->height()) * maximumImageWidth / image->width());
    image = image->scaled(maximumImageWidth, height);
  }
  const auto frame = currentFrame(windows, window->id);
  if (!frame) throw LoadError::windowNotVisible();
  return {std::move(*image), *frame};
}

std::vector<TextBox> recognize(TextRecognizer& recognizer, const Image& image, const Rect& region,
                               RecognitionLanguages languages) {
  const auto crop = image.cropped(region.scaledTo(image.size()));
  if (!crop || crop->isEmpty()) return {};
  std::vector<TextBox> boxes;
  for (const auto level : {RecognitionLevel::fast, RecognitionLevel::accurate}) {
    for (const auto& line :
         TextRecognition::recognize(recognizer, *crop, minimumTextHeight, level, languages)) {
      boxes.push_back(
          {line.text,
           {region.minX() + line.box.minX() * region.width, region.minY() + line.box.minY() * region.height,
            line.box.width * region.width, line.box.height * region.height},
           line.otherOrder});
    }
  }
  return boxes;
}

}  // namespace kesta::LoaderCapture
