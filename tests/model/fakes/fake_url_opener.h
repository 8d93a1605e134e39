#pragma once

#include <string>
#include <vector>

#include "model/ports/url_opener.h"

namespace kesta::test {
using namespace kesta::model;

class FakeUrlOpener : public UrlOpener {
 public:
  bool open(const std::string& url) override {
    opened.push_back(url);
    return handled;
  }
  std::vector<std::string> opened;
  bool handled = true;  // whether the desktop had a handler for the address
};

}  // namespace kesta::test
