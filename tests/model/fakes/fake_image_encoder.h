#pragma once

#include <optional>
#include <string>

#include "model/ports/image_encoder.h"

namespace kesta::test {
using namespace kesta::model;

// "PNG <width>x<height>" for every image, or nothing once `fails` is set.
class FakeImageEncoder : public ImageEncoder {
 public:
  std::optional<std::string> png(const Image& image) const override {
    if (fails) return std::nullopt;
    return "PNG " + std::to_string(image.width()) + "x" + std::to_string(image.height());
  }

  bool fails = false;
};

}  // namespace kesta::test
