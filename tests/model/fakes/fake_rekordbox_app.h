#pragma once

#include "model/ports/rekordbox_app.h"

namespace kesta::model::testing {

class FakeRekordboxApp : public RekordboxApp {
 public:
  bool isRunning() override { return running; }
  void activate() override { ++activations; }
  bool running = true;
  int activations = 0;
};

}  // namespace kesta::model::testing
