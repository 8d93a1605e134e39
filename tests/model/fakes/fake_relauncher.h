#pragma once

#include "model/ports/relauncher.h"

namespace kesta::test {
using namespace kesta::model;

class FakeRelauncher : public Relauncher {
 public:
  bool startNewInstance() override {
    ++starts;
    return startSucceeds;
  }
  void terminate() override { ++terminations; }

  bool startSucceeds = true;
  int starts = 0;
  int terminations = 0;
};

}  // namespace kesta::test
