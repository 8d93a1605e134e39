#include "ui/shell/qt_image_encoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace kesta::ui {

std::optional<std::string> QtImageEncoder::png(const Image& image) const {
  if (image.isEmpty()) return std::nullopt;
  // Borrows the pixels for the length of the call.
  const QImage view(image.row(0), image.width(), image.height(), qsizetype(image.stride()),
                    QImage::Format_RGBA8888);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!view.save(&buffer, "PNG")) return std::nullopt;
  return bytes.toStdString();
}

}  // namespace kesta::ui
