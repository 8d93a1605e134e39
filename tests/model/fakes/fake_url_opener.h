#pragma once

#include <string>
#include <vector>

#include "model/ports/url_opener.h"

namespace kesta::test {
using namespace kesta::model;

class FakeUrlOpener : public UrlOpener {
 public:
  void open(const std::string& url) override { opened.push_back(url); }
  std::vector<std::string> opened;
};

}  // namespace kesta::test
