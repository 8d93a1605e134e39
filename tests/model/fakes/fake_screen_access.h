#pragma once

#include <string>

#include "model/ports/screen_access.h"

namespace kesta::test {
using namespace kesta::model;

// The permission as the test sets it; a request grants it when
// `requestGrants` is set.
class FakeScreenAccess : public ScreenAccess {
 public:
  bool granted() override {
    ++checks;
    return isGranted;
  }
  bool request() override {
    ++requests;
    if (requestGrants) isGranted = true;
    return isGranted;
  }
  std::string settingsURL() override { return "settings://screen-recording"; }

  bool isGranted = true;
  bool requestGrants = false;
  int checks = 0;
  int requests = 0;
};

}  // namespace kesta::test
