#include "window_text.h"

#include <QImage>
#include <optional>
#include <utility>
#include <vector>

namespace kesta::test {

std::string readWindow(X11WindowSystem& windows, TextRecognizer& recognizer, std::uint32_t window) {
  const std::optional<Image> picture = windows.capture(window);
  if (!picture) return {};
  const QImage scaled = QImage(picture->row(0), picture->width(), picture->height(),
                               qsizetype(picture->stride()), QImage::Format_RGBA8888)
                            .scaled(picture->width() * 2, picture->height() * 2, Qt::IgnoreAspectRatio,
                                    Qt::SmoothTransformation);
  std::vector<std::uint8_t> bytes(scaled.constBits(), scaled.constBits() + scaled.sizeInBytes());
  const Image large(scaled.width(), scaled.height(), std::size_t(scaled.bytesPerLine()), std::move(bytes));
  std::string text;
  for (const TextObservation& line :
       recognizer.recognize(large, RecognitionRequest{.minimumTextHeight = 0.005f}))
    text += line.text + "\n";
  return text;
}

}  // namespace kesta::test
