#pragma once

#include "model/ports/rekordbox_app.h"

namespace kesta::test {
using namespace kesta::model;

class FakeRekordboxApp : public RekordboxApp {
 public:
  bool isRunning() override { return running; }
  void activate() override { ++activations; }
  bool running = true;
  int activations = 0;
};

}  // namespace kesta::test
