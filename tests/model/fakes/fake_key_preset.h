#pragma once

#include "model/ports/key_preset_check.h"

namespace kesta::test {
using namespace kesta::model;

class FakeKeyPreset : public KeyPresetCheck {
 public:
  KeyPreset::Result check() override {
    ++checks;
    return result;
  }
  KeyPreset::Result result = KeyPreset::Matches{"Default"};
  int checks = 0;
};

}  // namespace kesta::test
