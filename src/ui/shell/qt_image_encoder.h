#pragma once

#include <optional>
#include <string>

#include "model/ports/image_encoder.h"

namespace kesta::ui {

// PNG through QImage. Any thread (QImage needs no event loop).
class QtImageEncoder : public model::ImageEncoder {
 public:
  std::optional<std::string> png(const Image& image) const override;
};

}  // namespace kesta::ui
