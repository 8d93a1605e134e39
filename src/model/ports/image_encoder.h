#pragma once

#include <optional>
#include <string>

#include "platform/image/image.h"

namespace kesta::model {

// Encodes a picture for saving, so that no image format is written by hand in
// the model. Main thread.
class ImageEncoder {
 public:
  virtual ~ImageEncoder() = default;
  // The PNG file's bytes, or nothing when the image cannot be encoded.
  virtual std::optional<std::string> png(const Image& image) const = 0;
};

}  // namespace kesta::model
